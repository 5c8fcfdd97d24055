#pragma once

#include "scale/ColorScheme.h"

#include <cstdint>
#include <span>

// A colour in the Oklab space: L the perceived lightness (0 black .. 1
// white), a and b the green-red and blue-yellow opponent axes. Equal steps
// in it look about equally large, so ramps interpolated in it look even.
struct OklabColor {
    double L;
    double a;
    double b;
};

// An sRGB colour to Oklab, by way of linear light.
OklabColor ToOklab(LRGBColor colour);

// An Oklab colour back to sRGB, each channel rounded to the nearest byte and
// clamped to 0 .. 255 where the colour lies outside the sRGB gamut.
LRGBColor FromOklab(const OklabColor& colour);

// A ramp through a few anchor colours spaced evenly along it, interpolated
// linearly in Oklab between the two anchors either side of a position. With
// n levels, level i takes position i / (n - 1): level 0 the first anchor, the
// top level the last; a single level takes the middle of the ramp. Serves
// any number of levels from one up.
class PerceptualColorScheme : public ColorScheme {
public:
    // anchors, at least two, written RRGGBB; the scheme keeps a view of them,
    // so they must outlive it.
    explicit PerceptualColorScheme(std::span<const std::uint32_t> anchors);

    // Sequential, dark blue-violet through green to yellow.
    static PerceptualColorScheme Viridis();
    // Sequential, dark blue through grey to yellow; it looks much the same to
    // people with red-green colour-vision deficiency.
    static PerceptualColorScheme Cividis();
    // Diverging, for ratios around 1: dark blue, a light neutral in the
    // middle, dark red.
    static PerceptualColorScheme BlueRed();

    bool MakeColors(LRGBColorVect& colours) const override;

    // The colour at position t of the ramp, 0 the first anchor, 1 the last;
    // t is clamped to 0 .. 1 (not a number counts as 0).
    LRGBColor ColorAt(double t) const;

private:
    std::span<const std::uint32_t> anchors_;
};
