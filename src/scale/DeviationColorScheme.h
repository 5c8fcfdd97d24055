#pragma once

#include "scale/ColorScheme.h"

// The "Deviation" palettes, for 2 to 23 levels.
class DeviationColorScheme : public ColorScheme {
public:
    DeviationColorScheme();
};
