#pragma once

// Cell fills for surfaces that gather them into one shape per level
// (vector files). A viewer antialiases every shape's edges on its own, so
// where two shapes merely abut, the background shows through as a light
// seam. Here the levels are laid on as layers from the lowest up, and
// every lower layer reaches a little under its higher neighbours, which
// cover that part again: nothing of the background is left between two
// levels at any zoom, and at the file's own size, where every edge lies
// on the pixel grid, each pixel shows the colour it shows in an image.

#include "map/MapPaintSupport.h"
#include "render/Surface.h"

#include <cstdint>
#include <functional>

// The diagonal that cuts every unit square of a triangle map: rising from
// the lower left to the upper right corner, or falling from the upper left
// to the lower right corner.
enum class Diagonal { Rising, Falling };

// The levels of the two halves of one unit square of a shape's index grid:
// the half below its diagonal and the half above it. A half without a cell
// is kNoCell. Rectangles have the same level in both halves.
struct SquareHalves {
    static constexpr std::int32_t kNoCell = -1;
    std::int32_t below = kNoCell;
    std::int32_t above = kNoCell;
};

// How far, in device units, a layer reaches under a higher neighbour, at
// most the neighbour's own extent. Two units cover the antialiased edge
// down to half the file's own size.
inline constexpr std::int32_t kLayerOverlap = 2;

// The unit squares x1 .. x2 - 1, y1 .. y2 - 1 of an index grid whose halves
// are cut by diagonal; rowHalves(j, out) writes the halves of squares x1 ..
// x2 - 1 of row j into out. Where the halves are alike (rectangles),
// columnHalves(i, out) may write those of squares y1 .. y2 - 1 of column i,
// and the squares are then painted in runs along the rows or up the
// columns, whichever makes fewer.
struct SquareGrid {
    const MapIndexGrid& grid;
    std::int64_t x1, x2, y1, y2;
    Diagonal diagonal;
    std::function<void(std::int64_t j, SquareHalves* out)> rowHalves;
    std::function<void(std::int64_t i, SquareHalves* out)> columnHalves = {};
};

// Fills the squares' halves with the level brushes, layer by layer from
// the lowest level up. A square whose halves both have cells is filled
// whole in the lower level (and the higher half drawn over it), and that
// fill reaches kLayerOverlap units into each neighbouring square whose
// lower level is higher; a square with one cell fills that half only.
void PaintLayeredSquares(Surface& surface, const SquareGrid& squares, const LevelBrushes& brushes);
