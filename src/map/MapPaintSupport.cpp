#include "map/MapPaintSupport.h"

#include "render/CCSystem.h"
#include "render/RoundCoordinate.h"

#include <algorithm>
#include <cmath>

bool HasCellsToPaint(const MapPaintInput& map) {
    return !map.levels.IsEmpty() && map.levels.GetRows() > 0 && map.levels.GetColumns() > 0 &&
           map.boundaryCount > 0;
}

MapIndexGrid::MapIndexGrid(const PageCoordinateSystem& page, const MapPlotRect& plot,
                           std::int64_t x1, std::int64_t x2, std::int64_t y1, std::int64_t y2)
    : x1_(x1), y1_(y1) {
    // The far corner in doubles: origin plus size may not fit 32 bits.
    const IntPoint leftBottom = page.PageToDevice(plot.xOrigin, plot.yOrigin);
    const IntPoint rightTop = page.PageToDevice(static_cast<double>(plot.xOrigin) + plot.xSize,
                                                static_cast<double>(plot.yOrigin) + plot.ySize);
    PageCoordinateSystem index(page);
    index.SetDeviceViewport(static_cast<double>(x1), static_cast<double>(x2),
                            static_cast<double>(y1), static_cast<double>(y2), leftBottom.x,
                            rightTop.x, leftBottom.y, rightTop.y);
    // The same arithmetic as PageToDevice of whole index points, so every
    // corner lands on exactly the pixel the page system would give it.
    xs_.resize(static_cast<std::size_t>(x2 - x1 + 1));
    for (std::size_t k = 0; k < xs_.size(); ++k) {
        xs_[k] = index.PageToDevice(static_cast<double>(x1 + static_cast<std::int64_t>(k)), 0.0).x;
    }
    ys_.resize(static_cast<std::size_t>(y2 - y1 + 1));
    for (std::size_t k = 0; k < ys_.size(); ++k) {
        ys_[k] = index.PageToDevice(0.0, static_cast<double>(y1 + static_cast<std::int64_t>(k))).y;
    }
}

LevelBrushes::LevelBrushes(const LRGBColorVect& colors, const WMAT& levels, std::uint32_t columns) {
    // Columns are stored one after the other, so they are a prefix.
    const std::uint16_t* cells = levels.Data();
    const std::size_t count = static_cast<std::size_t>(levels.GetRows()) * columns;
    const std::uint16_t highest = count == 0 ? 0 : *std::max_element(cells, cells + count);
    brushes_.resize(static_cast<std::size_t>(highest) + 1);
    for (std::uint32_t level = 0; level <= highest; ++level) {
        // Level checks its index: a level beyond the table throws here.
        brushes_[level] = Brush::Solid(colors.Level(level));
    }
}

Pen ContourPen(const PageCoordinateSystem& page, const ContourSettings& contours) {
    return Pen{PenStyle::Solid, RoundCoordinate(page.MeanScale() * contours.width), contours.color};
}

std::optional<IndexPosition> IndexPositionOf(IntPoint point, const PageCoordinateSystem& page,
                                             const MapPaintInput& map, double xLimit,
                                             double yLimit) {
    if (map.data.IsEmpty() || map.data.GetRows() == 0 || map.data.GetColumns() == 0 ||
        !HasCellsToPaint(map)) {
        return std::nullopt;
    }
    const MapPlotRect& plot = map.plot;
    // A chart system over a plot without area, or over an empty window,
    // cannot be built; no point lies on a cell of such a map.
    if (plot.xSize <= 0 || plot.ySize <= 0 || !(xLimit > 0.0) || !(yLimit > 0.0)) {
        return std::nullopt;
    }
    const CCSystem chart(0.0, xLimit, 0.0, yLimit, plot.xOrigin,
                         static_cast<double>(plot.xOrigin) + plot.xSize, plot.yOrigin,
                         static_cast<double>(plot.yOrigin) + plot.ySize, page);
    const DoublePoint at = chart.DeviceToData(point.x, point.y);
    const double x = std::floor(at.x);
    const double y = std::floor(at.y);
    // Below 0 (and NaN) or beyond the limits there is no cell in any shape;
    // the whole parts checked here also fit 64 bits safely.
    if (!(x >= 0.0 && x <= xLimit && y >= 0.0 && y <= yLimit)) {
        return std::nullopt;
    }
    return IndexPosition{static_cast<std::int64_t>(x), static_cast<std::int64_t>(y), at.x - x,
                         at.y - y};
}

std::optional<MapCellHit> HitInside(const MapPaintInput& map, std::int64_t row,
                                    std::int64_t column) {
    if (row < 0 || column < 0 || row >= map.data.GetRows() || column >= map.data.GetColumns()) {
        return std::nullopt;
    }
    const auto r = static_cast<std::uint32_t>(row);
    const auto c = static_cast<std::uint32_t>(column);
    return MapCellHit{r, c, map.data.Get(r, c)};
}
