#include "scale/LRGBColorVect.h"

#include <utility>

// The rotations need two level colours to mean anything; with fewer they
// leave the table alone.

void LRGBColorVect::ShiftColorsUp() {
    const std::uint32_t n = LevelCount();
    if (n < 2) {
        return;
    }
    const LRGBColor top = Level(n - 1);
    for (std::uint32_t i = n - 1; i > 0; --i) {
        Level(i) = Level(i - 1);
    }
    Level(0) = top;
}

void LRGBColorVect::ShiftColorsDown() {
    const std::uint32_t n = LevelCount();
    if (n < 2) {
        return;
    }
    const LRGBColor bottom = Level(0);
    for (std::uint32_t i = 0; i + 1 < n; ++i) {
        Level(i) = Level(i + 1);
    }
    Level(n - 1) = bottom;
}

void LRGBColorVect::ReverseColors() {
    const std::uint32_t n = LevelCount();
    if (n < 2) {
        return;
    }
    for (std::uint32_t i = 0, j = n - 1; i < j; ++i, --j) {
        std::swap(Level(i), Level(j));
    }
}
