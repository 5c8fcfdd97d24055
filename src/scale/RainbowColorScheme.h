#pragma once

#include "scale/ColorScheme.h"

// Hues evenly spaced round the colour wheel at full saturation: level 0 is
// red, and the colours run through yellow, green, cyan and blue towards
// magenta, stopping short of red again. Serves any number of levels.
class RainbowColorScheme : public ColorScheme {
public:
    RainbowColorScheme();

    bool MakeColors(LRGBColorVect& colours) const override;

    // The colour of a hue (0 red .. 1 red again) at lightness 0.5 and full
    // saturation.
    static LRGBColor HueColor(double hue);
};
