#pragma once

#include "scale/ColorScheme.h"

// The "Geography" palettes, for 3 to 21 levels.
class GeographyColorScheme : public ColorScheme {
public:
    GeographyColorScheme();
};

// The Geography colours of a new map. The scheme starts at three levels;
// a scale whose equal quantiles were merged into fewer takes the first
// colours of those three rather than staying white.
void MakeGeographyColors(LRGBColorVect& colors);
