#include "view/CellLayer.h"

#include "core/LException.h"
#include "map/MapPaintSupport.h"
#include "map/MapPainterFactory.h"

#include <algorithm>

CellLayerKey CellLayerKeyOf(const PageCoordinateSystem& page, const MapPaintInput& map,
                            std::uint32_t mapType, std::uint64_t revision) {
    const MapPlotRect& plot = map.plot;
    CellLayerKey key;
    key.revision = revision;
    key.mapType = mapType;
    // The same arithmetic as the painters' index grid.
    key.leftBottom = page.PageToDevice(plot.xOrigin, plot.yOrigin);
    key.rightTop = page.PageToDevice(static_cast<double>(plot.xOrigin) + plot.xSize,
                                     static_cast<double>(plot.yOrigin) + plot.ySize);
    key.contourPen = map.contours.on ? ContourPen(page, map.contours).width : 0;
    const bool rectangles = mapType > static_cast<std::uint32_t>(MapType::VLParallelogram) ||
                            mapType == static_cast<std::uint32_t>(MapType::Rectangle);
    if (rectangles && HasCellsToPaint(map)) {
        try {
            const std::uint32_t columns = map.levels.GetColumns();
            const std::uint32_t rows = map.levels.GetRows();
            const MapIndexGrid grid(page, plot, 0, columns, 0, rows);
            key.columnEdges.assign(grid.X(), grid.X() + columns + 1);
            key.rowEdges.assign(grid.Y(), grid.Y() + rows + 1);
        } catch (const LException&) {
            // A plot without area: the painter says so when it paints.
        }
    }
    return key;
}

DeviceRect CellLayerBounds(const CellLayerKey& key) {
    // Two pixels for the thinnest pen and the rounding of a wide one.
    const std::int64_t pad = std::max<std::int32_t>(key.contourPen, 0) / 2 + 2;
    const auto clamp = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const std::int64_t left = std::min(key.leftBottom.x, key.rightTop.x);
    const std::int64_t right = std::max(key.leftBottom.x, key.rightTop.x);
    const std::int64_t top = std::min(key.leftBottom.y, key.rightTop.y);
    const std::int64_t bottom = std::max(key.leftBottom.y, key.rightTop.y);
    return {clamp(left - pad), clamp(top - pad), clamp(right + pad), clamp(bottom + pad)};
}

bool IsEmptyRect(const DeviceRect& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

DeviceRect IntersectRects(const DeviceRect& a, const DeviceRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool ContainsRect(const DeviceRect& outer, const DeviceRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

DeviceRect CellLayerRegion(const CellLayerKey& key, IntSize window, std::int32_t margin) {
    const std::int32_t m = std::max(margin, 0);
    const DeviceRect reach{-m, -m, window.width + m, window.height + m};
    const DeviceRect region = IntersectRects(CellLayerBounds(key), reach);
    const DeviceRect shown = IntersectRects(region, {0, 0, window.width, window.height});
    if (IsEmptyRect(shown)) {
        return {0, 0, 1, 1};
    }
    return region;
}

namespace {

// Whether every edge of one list lies shift pixels from the same edge of
// the other.
bool ShiftedBy(const std::vector<std::int32_t>& from, const std::vector<std::int32_t>& to,
               std::int64_t shift) {
    if (from.size() != to.size()) {
        return false;
    }
    for (std::size_t k = 0; k < from.size(); ++k) {
        if (std::int64_t{to[k]} - from[k] != shift) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<IntPoint> CellLayerShift(const CellLayerKey& kept, const CellLayerKey& wanted) {
    if (kept.revision != wanted.revision || kept.mapType != wanted.mapType ||
        kept.contourPen != wanted.contourPen) {
        return std::nullopt;
    }
    if (kept.leftBottom == wanted.leftBottom && kept.rightTop == wanted.rightTop &&
        kept.columnEdges == wanted.columnEdges && kept.rowEdges == wanted.rowEdges) {
        return IntPoint{0, 0};
    }
    // Only a grid that moved as a whole moves the picture; shifts far
    // enough to overflow are not worth keeping.
    if (kept.columnEdges.empty() || kept.rowEdges.empty()) {
        return std::nullopt;
    }
    const std::int64_t dx = std::int64_t{wanted.leftBottom.x} - kept.leftBottom.x;
    const std::int64_t dy = std::int64_t{wanted.leftBottom.y} - kept.leftBottom.y;
    if (std::int64_t{wanted.rightTop.x} - kept.rightTop.x != dx ||
        std::int64_t{wanted.rightTop.y} - kept.rightTop.y != dy || dx < INT32_MIN / 2 ||
        dx > INT32_MAX / 2 || dy < INT32_MIN / 2 || dy > INT32_MAX / 2 ||
        !ShiftedBy(kept.columnEdges, wanted.columnEdges, dx) ||
        !ShiftedBy(kept.rowEdges, wanted.rowEdges, dy)) {
        return std::nullopt;
    }
    return IntPoint{static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy)};
}

std::optional<IntPoint> KeptLayerPlace(const CellLayerKey& kept, const DeviceRect& keptRegion,
                                       const CellLayerKey& wanted, IntSize window) {
    const std::optional<IntPoint> shift = CellLayerShift(kept, wanted);
    if (!shift) {
        return std::nullopt;
    }
    const std::int32_t x = shift->x;
    const std::int32_t y = shift->y;
    const DeviceRect shifted{keptRegion.left + x, keptRegion.top + y, keptRegion.right + x,
                             keptRegion.bottom + y};
    const DeviceRect shown =
        IntersectRects(CellLayerBounds(wanted), {0, 0, window.width, window.height});
    if (IsEmptyRect(shown)) {
        // Nothing of the cells shows: the kept picture draws nothing either
        // unless it is of the window's first pixel, which is still right.
        return IntPoint{shifted.left, shifted.top};
    }
    if (!ContainsRect(shifted, shown)) {
        return std::nullopt;
    }
    return IntPoint{shifted.left, shifted.top};
}
