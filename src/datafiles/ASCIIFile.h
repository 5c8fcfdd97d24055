#pragma once

#include "core/NumberText.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The scanner of delimited data matrix files. It works on the whole file
// held in memory (the loader reads it twice), and splits it into the
// results below one at a time. The bytes are borrowed and must outlive the
// scanner.
class ASCIIFile {
public:
    enum Result : int {
        afNothing = 0,   // white space passed over (the field delimiter is not white space)
        afField = 1,     // a field delimiter
        afRecord = 2,    // a record delimiter
        afNumber = 3,    // a well-formed number; Value() holds it
        afInvalid = 4,   // one byte that starts no number and is no delimiter
        afEnd = 5,       // end of file
        afBadNumber = 6, // number characters that do not form one number
    };

    // The longest number text accepted; a longer one makes NextField throw
    // an LException, which ends the load.
    static constexpr std::size_t kMaxNumberText = 65534;

    // wholeRecords off keeps the scanner off the fast path below.
    ASCIIFile(std::string_view bytes, unsigned char fieldDelimiter, unsigned char recordDelimiter,
              bool wholeRecords = true);
    ASCIIFile(const ASCIIFile&) = delete;
    ASCIIFile& operator=(const ASCIIFile&) = delete;

    // The next result. Number texts are converted; afBadNumber leaves the
    // converted prefix (0 when there is none) in Value().
    Result NextField();

    // The same sequence of results without converting number texts: every
    // number text is reported as afNumber and Value() is not changed. For
    // the counting pass, which does not look at the numbers.
    Result NextFieldUnconverted();

    double Value() const { return value_; }
    bool FieldDelimiterIsSpace() const { return fieldIsSpace_; }
    // Back to the first byte.
    void Rewind() { pos_ = begin_; }
    const char* Position() const { return pos_; }
    const char* End() const { return end_; }

    // The fast path for records that hold nothing but field delimiters,
    // number texts and other bytes that are neither white space nor a
    // comment mark (a plain record). Such a record splits into results
    // without looking back or ahead, so a whole one can be taken at once;
    // everything else goes through NextField. Possible only where neither
    // delimiter is white space, a number character or the comment mark.
    bool PlainRecordsPossible() const { return plain_; }

    // At the start of a record: when the bytes up to the next record
    // delimiter form a plain record that the delimiter closes, moves past it
    // (and the carriage returns in front of a line feed), gives its bytes
    // without them and the number of field delimiters among them. Otherwise
    // gives nothing and stays.
    bool NextPlainRecord(std::string_view& record, std::size_t& fields);

    // One field of a plain record from p on: moves p to the next field
    // delimiter or to end, and tells whether the field ends with a
    // well-formed number (its value in value), and whether that is a plain
    // decimal, which is always finite. Whether the field holds anything goes
    // to values.
    enum class FieldEnd { NoNumber, PlainDecimal, Number };
    FieldEnd PlainField(const char*& p, const char* end, double& value, bool& values) const;
    bool PlainDecimal(const char*& p, const char* end, double& value) const;
    unsigned char FieldDelimiter() const { return fieldDelimiter_; }

private:
    // Roles of a byte. A byte may play several; the scanner tests them in
    // the order record delimiter, field delimiter, white space, number.
    static constexpr std::uint8_t kRecord = 1;
    static constexpr std::uint8_t kField = 2;
    static constexpr std::uint8_t kSpace = 4;
    static constexpr std::uint8_t kNumberStart = 8;
    static constexpr std::uint8_t kNumberPart = 16;

    template <bool Convert>
    Result Scan();
    void SkipSpaces();
    [[noreturn]] static void ThrowNumberTooLong();

    const char* begin_;
    const char* end_;
    const char* pos_;
    double value_ = 0;
    unsigned char fieldDelimiter_;
    unsigned char recordDelimiter_;
    bool fieldIsSpace_;
    bool plain_ = false;
    // Per byte: which roles it plays (the k... bits above).
    std::array<std::uint8_t, 256> classes_{};
};

// The scanner runs once per byte of files of megabytes: its loop is inlined
// into the loader's passes.

inline ASCIIFile::Result ASCIIFile::NextField() {
    return Scan<true>();
}

inline ASCIIFile::Result ASCIIFile::NextFieldUnconverted() {
    return Scan<false>();
}

// Passes over white space up to, not including, the record delimiter.
inline void ASCIIFile::SkipSpaces() {
    while (pos_ != end_) {
        const std::uint8_t roles = classes_[static_cast<unsigned char>(*pos_)];
        if ((roles & (kSpace | kRecord)) != kSpace) {
            return;
        }
        ++pos_;
    }
}

template <bool Convert>
inline ASCIIFile::Result ASCIIFile::Scan() {
    for (;;) {
        if (pos_ == end_) {
            return afEnd;
        }
        const auto c = static_cast<unsigned char>(*pos_++);
        const std::uint8_t roles = classes_[c];
        if (roles & kRecord) {
            return afRecord;
        }
        if (roles & kField) {
            if (fieldIsSpace_) {
                SkipSpaces();
            }
            return afField;
        }
        if (roles & kSpace) {
            // Carriage returns in front of a line feed belong to the line end.
            if (c == '\r' && recordDelimiter_ == '\n') {
                while (pos_ != end_ && *pos_ == '\r') {
                    ++pos_;
                }
                if (pos_ != end_ && *pos_ == '\n') {
                    ++pos_;
                    return afRecord;
                }
            }
            SkipSpaces();
            // With blanks as field delimiter, tabs and runs of white space
            // separate fields as well.
            return fieldIsSpace_ ? afField : afNothing;
        }
        if (roles & kNumberStart) {
            const char* start = pos_ - 1;
            while (pos_ != end_ && (classes_[static_cast<unsigned char>(*pos_)] & kNumberPart)) {
                ++pos_;
            }
            const auto length = static_cast<std::size_t>(pos_ - start);
            if (length > kMaxNumberText) {
                ThrowNumberTooLong();
            }
            if constexpr (!Convert) {
                return afNumber;
            } else {
                std::size_t used = 0;
                value_ = ParseDouble(start, pos_, &used);
                return used == length ? afNumber : afBadNumber;
            }
        }
        if (c == '@') {
            // A comment runs to the next "@"; an unclosed one to the end.
            const void* close = std::memchr(pos_, '@', static_cast<std::size_t>(end_ - pos_));
            if (!close) {
                pos_ = end_;
                return afEnd;
            }
            pos_ = static_cast<const char*>(close) + 1;
            continue;
        }
        return afInvalid;
    }
}

inline bool ASCIIFile::NextPlainRecord(std::string_view& record, std::size_t& fields) {
    if (pos_ == end_) {
        return false; // and no memchr on what may be no buffer at all
    }
    const auto left = static_cast<std::size_t>(end_ - pos_);
    const char* const close = static_cast<const char*>(std::memchr(pos_, recordDelimiter_, left));
    if (!close) {
        return false;
    }
    const char* last = close;
    if (recordDelimiter_ == '\n') {
        while (last != pos_ && last[-1] == '\r') {
            --last;
        }
    }
    const auto length = static_cast<std::size_t>(last - pos_);
    // Blocks of bytes, tested and counted without branches so that the
    // compiler can take many at a time: white space and the comment mark
    // leave the fast path.
    constexpr std::size_t kBlock = 64;
    const auto* const bytes = reinterpret_cast<const unsigned char*>(pos_);
    const unsigned char delimiter = fieldDelimiter_;
    std::size_t delimiters = 0;
    for (std::size_t at = 0; at < length; at += kBlock) {
        const std::size_t stop = std::min(length, at + kBlock);
        unsigned char other = 0;
        unsigned char found = 0;
        for (std::size_t k = at; k < stop; ++k) {
            const unsigned char c = bytes[k];
            other |= static_cast<unsigned char>(static_cast<unsigned char>(c - 0x09) < 5) |
                     static_cast<unsigned char>(c == ' ') | static_cast<unsigned char>(c == '@');
            found += static_cast<unsigned char>(c == delimiter);
        }
        if (other) {
            return false;
        }
        delimiters += found;
    }
    // A number text too long to be held is for NextField to refuse.
    if (length > kMaxNumberText) {
        std::size_t run = 0;
        for (std::size_t k = 0; k < length; ++k) {
            run = (classes_[static_cast<unsigned char>(pos_[k])] & kNumberPart) ? run + 1 : 0;
            if (run > kMaxNumberText) {
                return false;
            }
        }
    }
    record = std::string_view(pos_, length);
    fields = delimiters;
    pos_ = close + 1;
    return true;
}

// The common number text, a plain decimal such as "-12.3456" that a field
// delimiter or the end of the record follows, converted on the way: the
// same double that ParseDouble finds for it (an integer that a double holds
// exactly, divided by an exact power of ten, is one correctly rounded
// operation). Gives false, with p left as it was, for every other text.
inline bool ASCIIFile::PlainDecimal(const char*& p, const char* end, double& value) const {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* q = p;
    const bool negative = *q == '-';
    if (*q == '-' || *q == '+') {
        ++q;
    }
    std::uint64_t mantissa = 0;
    const char* const digits = q;
    while (q != end && static_cast<unsigned char>(*q - '0') < 10) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
        ++q;
    }
    std::ptrdiff_t count = q - digits;
    std::ptrdiff_t fraction = 0;
    if (q != end && *q == '.') {
        const char* const point = ++q;
        while (q != end && static_cast<unsigned char>(*q - '0') < 10) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
            ++q;
        }
        fraction = q - point;
        count += fraction;
    }
    // Twenty digits or more may have wrapped the integer around.
    if (count == 0 || count > 19 || mantissa > (std::uint64_t{1} << 53) || fraction > 22 ||
        (q != end && static_cast<unsigned char>(*q) != fieldDelimiter_)) {
        return false;
    }
    const double magnitude = static_cast<double>(mantissa) / kPowers[fraction];
    value = negative ? -magnitude : magnitude;
    p = q;
    return true;
}

inline ASCIIFile::FieldEnd ASCIIFile::PlainField(const char*& p, const char* end, double& value,
                                                 bool& values) const {
    const char delimiter = static_cast<char>(fieldDelimiter_);
    if (p != end && *p != delimiter) {
        values = true;
        if (PlainDecimal(p, end, value)) {
            return FieldEnd::PlainDecimal;
        }
    }
    const char* number = nullptr;
    const char* numberEnd = nullptr;
    while (p != end && *p != delimiter) {
        if (classes_[static_cast<unsigned char>(*p)] & kNumberStart) {
            number = p++;
            while (p != end && (classes_[static_cast<unsigned char>(*p)] & kNumberPart)) {
                ++p;
            }
            numberEnd = p;
        } else {
            // A byte that starts no number: the field's last result is not one.
            ++p;
            number = nullptr;
        }
    }
    if (!number) {
        return FieldEnd::NoNumber;
    }
    const auto length = static_cast<std::size_t>(numberEnd - number);
    if (length > kMaxNumberText) {
        ThrowNumberTooLong();
    }
    std::size_t used = 0;
    value = ParseDouble(number, numberEnd, &used);
    return used == length ? FieldEnd::Number : FieldEnd::NoNumber;
}
