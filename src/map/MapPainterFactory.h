#pragma once

#include "map/MapPainter.h"

#include <cstdint>
#include <memory>

// The cell shapes, by the number a document stores as its map type.
enum class MapType : std::uint32_t {
    Rectangle = 0,
    Triangle = 1,
    LTriangle = 2,
    HParallelogram = 3,
    HLParallelogram = 4,
    VParallelogram = 5,
    VLParallelogram = 6,
};

// The painter of a map type number; any number outside 0 .. 6 gives
// rectangles.
std::unique_ptr<MapPainter> MakeMapPainter(std::uint32_t mapType);
