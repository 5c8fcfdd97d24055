#include "datafiles/ASCIIFile.h"

#include "core/LException.h"
#include "core/NumberText.h"
#include "setup/CharClasses.h"

#include <cstring>

namespace {

// Roles of a byte. A byte may play several; the scanner tests them in the
// order record delimiter, field delimiter, white space, number.
constexpr std::uint8_t kRecord = 1;
constexpr std::uint8_t kField = 2;
constexpr std::uint8_t kSpace = 4;
constexpr std::uint8_t kNumberStart = 8;
constexpr std::uint8_t kNumberPart = 16;

} // namespace

ASCIIFile::ASCIIFile(std::string_view bytes, unsigned char fieldDelimiter,
                     unsigned char recordDelimiter)
    : begin_(bytes.data()), end_(bytes.data() + bytes.size()), pos_(begin_),
      recordDelimiter_(recordDelimiter), fieldIsSpace_(IsSetupSpace(fieldDelimiter)) {
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        std::uint8_t roles = 0;
        if (IsSetupSpace(byte)) {
            roles |= kSpace;
        }
        if (IsSetupDigit(byte) || byte == '.' || byte == '+' || byte == '-') {
            roles |= kNumberStart | kNumberPart;
        }
        if (byte == 'E' || byte == 'e') {
            roles |= kNumberPart;
        }
        classes_[byte] = roles;
    }
    classes_[fieldDelimiter] |= kField;
    classes_[recordDelimiter] |= kRecord;
}

ASCIIFile::Result ASCIIFile::NextField() {
    return Scan<true>();
}

ASCIIFile::Result ASCIIFile::NextFieldUnconverted() {
    return Scan<false>();
}

// Passes over white space up to, not including, the record delimiter.
void ASCIIFile::SkipSpaces() {
    while (pos_ != end_) {
        const std::uint8_t roles = classes_[static_cast<unsigned char>(*pos_)];
        if ((roles & (kSpace | kRecord)) != kSpace) {
            return;
        }
        ++pos_;
    }
}

template <bool Convert>
ASCIIFile::Result ASCIIFile::Scan() {
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
                throw LException("ASCIIFile::NextField",
                                 "A number in the ASCII file is longer than 65534 characters\r\n"
                                 "Check ASCII file");
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
