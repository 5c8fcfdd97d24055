#pragma once

#include "core/DMAT.h"

#include <cmath>
#include <cstddef>
#include <iosfwd>
#include <string>

class Prompt;

// What the readers of delimited and one-value-per-line matrices share.

inline constexpr const char* kLoadErrorCaption = "Loading ASCII file error";
inline constexpr const char* kScreenText = "Matrix size exceeds resolution of screen\r\nContnue?";

// The whole of what is left in input.
std::string ReadAll(std::istream& input);

// A number too large for a double converts to an infinity, which no scale
// can classify: it is read as missing, and counted for the warning.
inline double FiniteOrMissing(double value, std::size_t& tooLarge) {
    if (std::isfinite(value)) {
        return value;
    }
    ++tooLarge;
    return DMAT::MissingValue();
}

// Once per file, after it was read: how many numbers were too large.
void ReportTooLarge(Prompt& prompt, std::size_t count);
