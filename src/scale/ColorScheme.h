#pragma once

#include "scale/LRGBColorVect.h"

#include <cstdint>
#include <span>

// A colour written RRGGBB (red first), as palettes are usually noted, to the
// stored 0x00BBGGRR.
constexpr LRGBColor FromRRGGBB(std::uint32_t rgb) {
    return MakeRGB(rgb >> 16, rgb >> 8, rgb);
}

// A way of colouring all the levels of a map at once. A scheme serves a
// range of level counts; for a table-driven scheme, every count in the range
// has its own palette of exactly that many colours. A scheme writes the
// level colours only, never the missing colour at the end of the table.
class ColorScheme {
public:
    virtual ~ColorScheme() = default;

    std::uint32_t GetLowest() const { return lowest_; }
    std::uint32_t GetHighest() const { return highest_; }

    // Fills the level colours of colours from the palette for its level
    // count. Returns false, writing nothing, when the scheme does not serve
    // that count.
    virtual bool MakeColors(LRGBColorVect& colours) const;

protected:
    // palette lists the rows for lowest, lowest + 1, ... highest levels one
    // after the other, each colour written RRGGBB (red first), the way
    // palettes are usually noted; MakeColors turns them round to 0x00BBGGRR.
    ColorScheme(std::uint32_t lowest, std::uint32_t highest,
                std::span<const std::uint32_t> palette = {});

    bool Serves(std::uint32_t levelCount) const {
        return lowest_ <= levelCount && levelCount <= highest_;
    }

private:
    std::uint32_t lowest_;
    std::uint32_t highest_;
    std::span<const std::uint32_t> palette_;
};

// The number of entries of a palette holding one row for every level count
// from lowest to highest.
constexpr std::size_t PaletteSize(std::uint32_t lowest, std::uint32_t highest) {
    std::size_t size = 0;
    for (std::uint32_t n = lowest; n <= highest; ++n) {
        size += n;
    }
    return size;
}
