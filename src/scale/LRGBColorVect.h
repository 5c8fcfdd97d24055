#pragma once

#include "core/MVector.h"

#include <cstdint>

// A colour as 0x00BBGGRR: red in the low byte.
using LRGBColor = std::uint32_t;

// Builds a colour from its three channels.
constexpr LRGBColor MakeRGB(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

// A level colour table: one colour per level, then the colour of missing
// cells last. The whole-table operations move the level colours only; the
// missing colour always stays where it is. Indices count from the vector's
// lower bound, so level i is element LowerBound + i.
class LRGBColorVect : public MVector<LRGBColor> {
public:
    using MVector<LRGBColor>::MVector;

    // The number of level colours: every entry but the last (0 when empty).
    std::uint32_t LevelCount() const { return IsEmpty() ? 0 : GetCount() - 1; }

    // Level colour i (0-based whatever the lower bound); checked.
    LRGBColor& Level(std::uint32_t i) { return (*this)[GetLowerBound() + i]; }
    const LRGBColor& Level(std::uint32_t i) const { return (*this)[GetLowerBound() + i]; }

    // The colour of missing cells, the last entry; the table must not be empty.
    LRGBColor& Missing() { return (*this)[GetUpperBound()]; }
    const LRGBColor& Missing() const { return (*this)[GetUpperBound()]; }

    // Every level colour one level up; the top one wraps round to level 0.
    void ShiftColorsUp();
    // Every level colour one level down; level 0's wraps round to the top.
    void ShiftColorsDown();
    // The level colours in reverse order.
    void ReverseColors();
};
