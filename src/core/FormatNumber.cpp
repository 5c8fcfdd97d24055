#include "core/FormatNumber.h"

#include "core/NumberText.h"

#include <cstddef>
#include <string_view>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of decimal digits at text[pos]; false when the number exceeds
// limit. An empty run reads as 0.
bool ReadBoundedNumber(const std::string& text, std::size_t& pos, int limit, int& number) {
    number = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        number = number * 10 + (text[pos] - '0');
        if (number > limit) {
            return false;
        }
    }
    return true;
}

// Width and precision of a printf code beyond this are refused: they only
// make a field of blanks or zeros, and a huge one would exhaust memory.
constexpr int kMaxFieldSize = 99;

// Reads one conversion after its '%': flags "-+ #0", a width, "." and a
// precision, an optional "l", then f, F, e, E, g or G.
bool IsDoubleConversion(const std::string& code, std::size_t& pos) {
    while (pos < code.size() && std::string_view("-+ #0").find(code[pos]) != std::string::npos) {
        ++pos;
    }
    int size = 0;
    if (!ReadBoundedNumber(code, pos, kMaxFieldSize, size)) {
        return false;
    }
    if (pos < code.size() && code[pos] == '.') {
        ++pos;
        if (!ReadBoundedNumber(code, pos, kMaxFieldSize, size)) {
            return false;
        }
    }
    if (pos < code.size() && code[pos] == 'l') {
        ++pos;
    }
    if (pos < code.size() && std::string_view("fFeEgG").find(code[pos]) != std::string::npos) {
        ++pos;
        return true;
    }
    return false;
}

// True when code is plain text and "%%" around exactly one conversion for a
// double, so that handing it to printf with one double is safe.
bool IsSafeDoubleFormat(const std::string& code) {
    int conversions = 0;
    std::size_t pos = 0;
    while (pos < code.size()) {
        const char c = code[pos++];
        if (c == '\0') {
            return false;
        }
        if (c != '%') {
            continue;
        }
        if (pos < code.size() && code[pos] == '%') {
            ++pos;
            continue;
        }
        if (!IsDoubleConversion(code, pos) || ++conversions > 1) {
            return false;
        }
    }
    return conversions == 1;
}

} // namespace

std::string FormatNumber(double value, const std::string& code) {
    const char* format = nullptr;
    switch (code.empty() ? '\0' : code[0]) {
    case 'F':
        format = "%.*f";
        break;
    case 'E':
        format = "%.*E";
        break;
    case 'G':
        format = "%.*G";
        break;
    default:
        if (IsSafeDoubleFormat(code)) {
            return FormatDoubleC(code.c_str(), value);
        }
        return FormatDoubleC("%.*f", 2, value);
    }
    std::size_t pos = 1;
    int precision = 0;
    if (!ReadBoundedNumber(code, pos, kMaxFormatPrecision, precision)) {
        precision = kMaxFormatPrecision;
    }
    return FormatDoubleC(format, precision, value);
}
