#pragma once

#include "core/NumberText.h"

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

    ASCIIFile(std::string_view bytes, unsigned char fieldDelimiter, unsigned char recordDelimiter);
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
    unsigned char recordDelimiter_;
    bool fieldIsSpace_;
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
