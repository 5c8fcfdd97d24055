#pragma once

#include "scale/ColorScheme.h"

// The "Geography" palettes, for 3 to 21 levels.
class GeographyColorScheme : public ColorScheme {
public:
    GeographyColorScheme();
};
