#pragma once

#include <string>

// Prints value as a number format code asks, whatever the process locale:
//   "F" n  fixed point with n decimals       (1234.5678, "F2" -> "1234.57")
//   "E" n  exponent form with n decimals     ("E2" -> "1.23E+03")
//   "G" n  general form, n significant digits ("G3" -> "1.23E+03")
// n is the run of decimal digits after the letter (none reads as 0) and is
// capped at kMaxFormatPrecision. Any other code is a printf format, used
// only when it holds exactly one conversion for a double; other codes come
// from files and may be anything, so they print as "F2" does.
std::string FormatNumber(double value, const std::string& code);

inline constexpr int kMaxFormatPrecision = 99;
