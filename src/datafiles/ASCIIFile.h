#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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
    template <bool Convert>
    Result Scan();
    void SkipSpaces();

    const char* begin_;
    const char* end_;
    const char* pos_;
    double value_ = 0;
    unsigned char recordDelimiter_;
    bool fieldIsSpace_;
    // Per byte: which roles it plays (see the bits in the .cpp).
    std::array<std::uint8_t, 256> classes_{};
};
