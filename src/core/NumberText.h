#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Locale-free conversions between numbers and text. Setup and data files
// always use "." as the decimal point, whatever locale the user runs under.

// Converts the longest prefix of [begin, end) that forms a decimal
// floating-point number, as the C library's strtod does in the "C" locale,
// but in decimal forms only: leading white space, an optional sign, digits
// with an optional point and exponent (".5" and "5." included). "inf",
// "infinity", "nan" and hexadecimal forms are not numbers ("0x10" converts
// its "0" alone). Returns 0 and sets *consumed to 0 when no prefix
// converts. Out-of-range values become +-HUGE_VAL or 0.
double ParseDouble(const char* begin, const char* end, std::size_t* consumed = nullptr);

// The same for a zero-terminated text.
double ParseDouble(const char* text, std::size_t* consumed = nullptr);

// True when the whole of [begin, end) converts (and it is not empty).
bool ParseWholeDouble(const char* begin, const char* end, double& value);

// snprintf of one double under the "C" locale. The caller guarantees that
// format holds exactly one conversion for a double (or none).
std::string FormatDoubleC(const char* format, double value);
std::string FormatDoubleC(const char* format, int precision, double value);

// The double cut toward zero to a 32-bit integer, as setup values that name
// integers are read. Values beyond the range saturate and NaN gives 0, so
// a damaged file never produces an undefined conversion.
std::int32_t TruncateToInt32(double value);
