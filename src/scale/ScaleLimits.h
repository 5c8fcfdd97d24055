#pragma once

#include <cstdint>

// The most boundaries a loaded scale keeps, and the bound on colour-table
// indices that the colour schemes respect. Both are far beyond what the
// level matrix can tell apart (see kMaxScaleBoundaries).
inline constexpr std::uint32_t MaxScaleValues = 4294967293u;
inline constexpr std::uint32_t MaxLevelColors = 4294967294u;

// Level numbers are 16-bit and level L + 1 is the missing class, so a scale
// of L boundaries can only be classified while L + 1 < 65536. Longer scales
// are cut to this size when loaded, the editing operations refuse to grow a
// scale past it, and classification refuses anything longer rather than
// silently folding levels together.
inline constexpr std::uint32_t kMaxScaleBoundaries = 65534;

// The colour of missing cells in a new document (white, 0x00BBGGRR).
inline constexpr std::uint32_t kDefaultMissingColor = 0xFFFFFF;
