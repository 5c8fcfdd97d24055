#pragma once

#include <cstdint>

// Turns a device coordinate into a whole pixel: the fraction is dropped
// unless it is above one half (2.5 gives 2, 2.51 gives 3), and negative
// values are cut towards zero the same way (-2.7 gives -2). Values beyond
// the 32-bit range are clamped to it and NaN gives 0, so a degenerate
// transform can never make the conversion undefined.
std::int32_t RoundCoordinate(double v);

// The integer part of v (towards zero), clamped like RoundCoordinate.
std::int32_t TruncateCoordinate(double v);
