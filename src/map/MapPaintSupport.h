#pragma once

// Helpers that the cell painters share: the device grid of one paint, the
// level brushes, the contour pen and the hit-test arithmetic.

#include "map/MapPaintInput.h"
#include "map/MapPainter.h"
#include "render/Geometry.h"
#include "render/PageCoordinateSystem.h"
#include "render/Surface.h"

#include <cstdint>
#include <optional>
#include <vector>

// True when there is something to draw: a level matrix with cells and a
// scale with at least one boundary.
bool HasCellsToPaint(const MapPaintInput& map);

// The device position of every whole index coordinate of one paint. Device
// x depends only on index x and device y only on index y, so two short
// tables hold every cell corner; x grows and device y shrinks (weakly)
// with the index, which lets the painters tell an empty fill by comparing
// two entries.
class MapIndexGrid {
public:
    // Maps the index window x1 .. x2, y1 .. y2 onto the device corners of
    // the plot rectangle, which the page system places. Throws the
    // LException of PageCoordinateSystem::SetDeviceViewport when the plot
    // has no area on the device or the window is empty.
    MapIndexGrid(const PageCoordinateSystem& page, const MapPlotRect& plot, std::int64_t x1,
                 std::int64_t x2, std::int64_t y1, std::int64_t y2);

    // Entry i is the device x of index x i, for x1 <= i <= x2.
    const std::int32_t* X() const { return xs_.data() - x1_; }
    // Entry j is the device y of index y j, for y1 <= j <= y2.
    const std::int32_t* Y() const { return ys_.data() - y1_; }

private:
    std::vector<std::int32_t> xs_;
    std::vector<std::int32_t> ys_;
    std::int64_t x1_;
    std::int64_t y1_;
};

// The solid brush of every level that occurs in the painted columns of a
// level matrix.
class LevelBrushes {
public:
    // Looks at columns 0 .. columns - 1 of levels. Throws the MVector index
    // error of the colour table when a level there has no colour, so that a
    // bad table stops the paint before anything is drawn.
    LevelBrushes(const LRGBColorVect& colors, const WMAT& levels, std::uint32_t columns);

    Brush operator[](std::uint16_t level) const { return brushes_[level]; }

private:
    std::vector<Brush> brushes_;
};

// Calls fill(start, end, level) for every maximal run of one level among
// count cells that lie stride elements apart from first: cells start ..
// end - 1, in order, the last run included.
template <typename Fill>
void ForEachRun(const std::uint16_t* first, std::size_t stride, std::uint32_t count, Fill&& fill) {
    std::uint32_t start = 0;
    std::uint16_t level = first[0];
    const std::uint16_t* cell = first;
    for (std::uint32_t k = 1; k < count; ++k) {
        cell += stride;
        if (*cell != level) {
            fill(start, k, level);
            start = k;
            level = *cell;
        }
    }
    fill(start, count, level);
}

// The contour pen: solid, the settings' width times the page system's mean
// scale, rounded (0 or less: the thinnest line), in the settings' colour.
Pen ContourPen(const PageCoordinateSystem& page, const ContourSettings& contours);

// One contour segment; one of no length paints nothing, since a line's end
// point is not painted, and is left out.
inline void DrawSegment(Surface& surface, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                        std::int32_t y1) {
    if (x0 != x1 || y0 != y1) {
        surface.MoveTo(x0, y0);
        surface.LineTo(x1, y1);
    }
}

// A device point in a shape's index space, split into whole parts (i, j)
// and fractions (fx, fy).
struct IndexPosition {
    std::int64_t i = 0;
    std::int64_t j = 0;
    double fx = 0.0;
    double fy = 0.0;
};

// Where a device point lies in the index window x 0 .. xLimit, y 0 ..
// yLimit stretched over the plot rectangle. Nothing when the map has no
// data, levels or boundaries, when the window cannot be built (a plot
// without area, an empty window), or when the point lies below 0 or beyond
// a limit: no shape has a cell there.
std::optional<IndexPosition> IndexPositionOf(IntPoint point, const PageCoordinateSystem& page,
                                             const MapPaintInput& map, double xLimit,
                                             double yLimit);

// The hit for row and column when both lie inside the data matrix.
std::optional<MapCellHit> HitInside(const MapPaintInput& map, std::int64_t row,
                                    std::int64_t column);
