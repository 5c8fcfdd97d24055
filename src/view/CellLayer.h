#pragma once

#include "map/MapPaintInput.h"
#include "render/Geometry.h"
#include "render/PageCoordinateSystem.h"

#include <cstdint>
#include <optional>
#include <vector>

// The cells and contour lines of a map, as a window keeps them between
// paints. Painting them is most of the work of a large map; moving the
// view only shifts them, so the window draws the picture it kept at the
// shifted place instead of painting every cell again.
//
// A painter maps the cells onto the plot rectangle's corners, rounded to
// whole pixels, and every cell corner onto a pixel of a grid between them.
// Rounding is not the same on both sides of the device origin, so a move
// by whole pixels does not always move every grid line by as much; when it
// does, and the contour pen is as wide, the new paint is the kept picture
// shifted. Rectangle maps keep their grid to tell; the other shapes are
// kept only for the very same place.
struct CellLayerKey {
    // Counts the changes of the document (classes, colours, map type,
    // contour settings, a reload): any change makes a new picture.
    std::uint64_t revision = 0;
    std::uint32_t mapType = 0;
    // The plot's corners on the device, as the painters round them.
    IntPoint leftBottom;
    IntPoint rightTop;
    std::int32_t contourPen = 0;
    // The device x of every column edge and y of every row edge of a
    // rectangle map; empty for the other shapes, and for maps that draw
    // nothing or cannot be drawn.
    std::vector<std::int32_t> columnEdges;
    std::vector<std::int32_t> rowEdges;

    friend bool operator==(const CellLayerKey&, const CellLayerKey&) = default;
};

CellLayerKey CellLayerKeyOf(const PageCoordinateSystem& page, const MapPaintInput& map,
                            std::uint32_t mapType, std::uint64_t revision);

// The device pixels the cells and contour lines of a key may touch: the
// plot rectangle, with room for half a contour pen around it.
DeviceRect CellLayerBounds(const CellLayerKey& key);

// Whether a rectangle covers no pixel.
bool IsEmptyRect(const DeviceRect& rect);
DeviceRect IntersectRects(const DeviceRect& a, const DeviceRect& b);
bool ContainsRect(const DeviceRect& outer, const DeviceRect& inner);

// The part of the cells worth keeping for a window of a size: what it
// shows and, around it, up to margin pixels more on each side, so that
// moves within that reach draw from the kept picture. A view that shows
// none of the cells keeps the window's first pixel, so that the paint
// that makes it still runs (and still reports what stops it).
DeviceRect CellLayerRegion(const CellLayerKey& key, IntSize window, std::int32_t margin);

// How far the cells of one key lie from those of another, when the second
// paint would be the first shifted by that many pixels; nothing otherwise.
std::optional<IntPoint> CellLayerShift(const CellLayerKey& kept, const CellLayerKey& wanted);

// Where to draw a picture kept for one key and region so that it shows the
// cells of another key in a window: the new top left corner of the region,
// or nothing when the picture does not fit (another look, another zoom, a
// shift the grid does not follow, or one that uncovers pixels the region
// did not keep).
std::optional<IntPoint> KeptLayerPlace(const CellLayerKey& kept, const DeviceRect& keptRegion,
                                       const CellLayerKey& wanted, IntSize window);
