#pragma once

#include "map/MapPaintInput.h"
#include "render/Geometry.h"
#include "render/PageCoordinateSystem.h"

#include <cstddef>
#include <cstdint>

// Sets the pixels of a rectangle map's cells in a 32-bit picture (0xAARRGGBB,
// opaque) of one device region, exactly as the rectangle painter's fills
// set them on a raster surface, without a fill per run of cells.
//
// The painter fills each row's runs from the row's lower grid edge to its
// upper one; rows and runs of no extent fill nothing. Rows therefore split
// the device's y into intervals and runs split x, so every pixel of the
// plot is covered by exactly one fill: that of the only cell of positive
// extent over it, whatever the order. A pixel takes that cell's colour;
// pixels outside the plot are left as they are.
//
// Throws what the painter throws (a plot without area, a level without a
// colour), before anything is set.
void RasterRectangleCells(const PageCoordinateSystem& page, const MapPaintInput& map,
                          const DeviceRect& region, std::uint32_t* pixels,
                          std::ptrdiff_t pixelsPerLine);

// Sets the pixels of a rectangle map's contour lines drawn with a pen of at
// most one pixel, exactly as the rectangle painter's segments set them on a
// raster surface: a segment between two cells of different levels covers
// the pixels from its lower end up to, not including, its higher end, in
// either direction. False, and nothing set, for a wider pen, which the
// painter strokes with round ends.
bool RasterRectangleContours(const PageCoordinateSystem& page, const MapPaintInput& map,
                             const DeviceRect& region, std::uint32_t* pixels,
                             std::ptrdiff_t pixelsPerLine);
