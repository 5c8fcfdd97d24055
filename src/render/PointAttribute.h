#pragma once

#include <cstdint>

// How one coordinate of a point is read. The values 2 to 7 name a fixed
// data quantity, whichever axis they stand on: an x coordinate marked
// DataYMin is the data value y1 placed on the x axis, and an x coordinate
// marked RelativeY takes the term's y value.
enum PointAttribute : std::uint32_t {
    PageUnits = 0, // the value, in page units
    DataUnits = 1, // the value, in data units
    DataXMin = 2,  // data x1 (the value is ignored)
    DataXMax = 3,  // data x2
    DataYMin = 4,  // data y1
    DataYMax = 5,  // data y2
    RelativeX = 6, // x1 + v * (x2 - x1), v the term's x value
    RelativeY = 7, // y1 + v * (y2 - y1), v the term's y value
};
