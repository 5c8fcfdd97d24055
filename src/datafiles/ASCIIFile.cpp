#include "datafiles/ASCIIFile.h"

#include "core/LException.h"
#include "setup/CharClasses.h"

ASCIIFile::ASCIIFile(std::string_view bytes, unsigned char fieldDelimiter,
                     unsigned char recordDelimiter, bool wholeRecords)
    : begin_(bytes.data()), end_(bytes.data() + bytes.size()), pos_(begin_),
      fieldDelimiter_(fieldDelimiter), recordDelimiter_(recordDelimiter),
      fieldIsSpace_(IsSetupSpace(fieldDelimiter)) {
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
    const auto quiet = [this](unsigned char c) {
        return c != '@' && !(classes_[c] & (kSpace | kNumberPart));
    };
    // A record delimiter that is also white space other than the line feed
    // would hide in a plain record's test for white space.
    plain_ = wholeRecords && quiet(fieldDelimiter) && fieldDelimiter != recordDelimiter &&
             (recordDelimiter == '\n' || quiet(recordDelimiter));
}

void ASCIIFile::ThrowNumberTooLong() {
    throw LException("ASCIIFile::NextField",
                     "A number in the ASCII file is longer than 65534 characters\r\n"
                     "Check ASCII file");
}
