#include "view/CellRaster.h"

#include "map/MapPaintSupport.h"

#include <algorithm>
#include <vector>

namespace {

// For each pixel of first .. first + count - 1, the index of the interval
// [edges[k], edges[k + 1]) (or, falling, [edges[k + 1], edges[k])) that
// holds it, or -1.
std::vector<std::int32_t> IntervalOfPixels(const std::int32_t* edges, std::uint32_t intervals,
                                           std::int32_t first, std::int32_t count, bool falling) {
    std::vector<std::int32_t> of(static_cast<std::size_t>(std::max(count, 0)), -1);
    const std::int64_t end = std::int64_t{first} + count;
    for (std::uint32_t k = 0; k < intervals; ++k) {
        std::int64_t low = falling ? edges[k + 1] : edges[k];
        std::int64_t high = falling ? edges[k] : edges[k + 1];
        low = std::max<std::int64_t>(low, first);
        high = std::min<std::int64_t>(high, end);
        for (std::int64_t p = low; p < high; ++p) {
            of[static_cast<std::size_t>(p - first)] = static_cast<std::int32_t>(k);
        }
    }
    return of;
}

// A colour of the document (0x00BBGGRR) as an opaque picture pixel.
std::uint32_t PixelOf(std::uint32_t color) {
    return 0xFF000000u | ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

} // namespace

void RasterRectangleCells(const PageCoordinateSystem& page, const MapPaintInput& map,
                          const DeviceRect& region, std::uint32_t* pixels,
                          std::ptrdiff_t pixelsPerLine) {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid(page, map.plot, 0, columns, 0, rows);
    const LevelBrushes brushes(map.colors, map.levels, columns);
    const std::int32_t width = region.right - region.left;
    const std::int32_t height = region.bottom - region.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    const std::vector<std::int32_t> columnOf =
        IntervalOfPixels(grid.X(), columns, region.left, width, false);
    const std::vector<std::int32_t> rowOf =
        IntervalOfPixels(grid.Y(), rows, region.top, height, true);
    // The colours of the levels as picture pixels.
    const std::uint16_t* cells = map.levels.Data();
    const std::uint16_t highest =
        *std::max_element(cells, cells + static_cast<std::size_t>(rows) * columns);
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(highest) + 1);
    for (std::size_t level = 0; level < colours.size(); ++level) {
        const std::uint32_t c = brushes[static_cast<std::uint16_t>(level)].color;
        colours[level] = 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
    // The plot's columns on the region, as one span.
    std::int32_t firstX = 0;
    while (firstX < width && columnOf[static_cast<std::size_t>(firstX)] < 0) {
        ++firstX;
    }
    std::int32_t endX = width;
    while (endX > firstX && columnOf[static_cast<std::size_t>(endX - 1)] < 0) {
        --endX;
    }
    std::vector<std::size_t> offsets(static_cast<std::size_t>(width));
    for (std::int32_t x = firstX; x < endX; ++x) {
        offsets[static_cast<std::size_t>(x)] =
            static_cast<std::size_t>(columnOf[static_cast<std::size_t>(x)]) * rows;
    }
    for (std::int32_t y = 0; y < height; ++y) {
        const std::int32_t r = rowOf[static_cast<std::size_t>(y)];
        if (r < 0) {
            continue;
        }
        std::uint32_t* line = pixels + y * pixelsPerLine;
        const std::uint16_t* row = cells + r;
        for (std::int32_t x = firstX; x < endX; ++x) {
            line[x] = colours[row[offsets[static_cast<std::size_t>(x)]]];
        }
    }
}

bool RasterRectangleContours(const PageCoordinateSystem& page, const MapPaintInput& map,
                             const DeviceRect& region, std::uint32_t* pixels,
                             std::ptrdiff_t pixelsPerLine) {
    if (ContourPen(page, map.contours).width > 1) {
        return false;
    }
    if (!HasCellsToPaint(map)) {
        return true;
    }
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid(page, map.plot, 0, columns, 0, rows);
    const std::int32_t* x = grid.X();
    const std::int32_t* y = grid.Y();
    const std::uint32_t ink = PixelOf(map.contours.color);
    const auto horizontal = [&](std::int64_t from, std::int64_t to, std::int64_t at) {
        if (at < region.top || at >= region.bottom) {
            return;
        }
        const std::int64_t low = std::max<std::int64_t>(std::min(from, to), region.left);
        const std::int64_t high = std::min<std::int64_t>(std::max(from, to), region.right);
        std::uint32_t* line = pixels + (at - region.top) * pixelsPerLine;
        for (std::int64_t p = low; p < high; ++p) {
            line[p - region.left] = ink;
        }
    };
    const auto vertical = [&](std::int64_t at, std::int64_t from, std::int64_t to) {
        if (at < region.left || at >= region.right) {
            return;
        }
        const std::int64_t low = std::max<std::int64_t>(std::min(from, to), region.top);
        const std::int64_t high = std::min<std::int64_t>(std::max(from, to), region.bottom);
        for (std::int64_t p = low; p < high; ++p) {
            pixels[(p - region.top) * pixelsPerLine + (at - region.left)] = ink;
        }
    };
    // The painter's walk: the edge above each cell, then the one to its
    // right, where the levels differ; edges of no length draw nothing.
    for (std::uint32_t r = 0; r < rows; ++r) {
        if (y[r + 1] >= region.bottom || y[r] < region.top) {
            continue;
        }
        const std::uint16_t* row = map.levels.Data() + r;
        const bool hasAbove = r + 1 < rows;
        for (std::uint32_t c = 0; c < columns; ++c) {
            const std::uint16_t* cell = row + static_cast<std::size_t>(c) * rows;
            const std::uint16_t level = *cell;
            if (hasAbove && level != cell[1] && x[c] != x[c + 1]) {
                horizontal(x[c], x[c + 1], y[r + 1]);
            }
            if (c + 1 < columns && level != cell[rows] && y[r] != y[r + 1]) {
                vertical(x[c + 1], y[r], y[r + 1]);
            }
        }
    }
    return true;
}
