#include "view/MapHits.h"

#include "core/LException.h"
#include "core/WMException.h"
#include "document/ChartDocument.h"
#include "map/MapPainterFactory.h"
#include "render/CCSystem.h"
#include "scale/MapScale.h"
#include "view/DocumentPage.h"

#include <cmath>

namespace {

// How near its outline a click hits a rectangle that fills nothing.
constexpr std::int32_t kOutlineHitPixels = 4;

std::optional<CCSystem> PlotSystem(const ChartDocument& document,
                                   const PageCoordinateSystem& page) {
    const PlotFrame& frame = document.Frame;
    try {
        return CCSystem(frame.x1, frame.x2, frame.y1, frame.y2, frame.xOrigin,
                        static_cast<double>(frame.xOrigin) + frame.xSize, frame.yOrigin,
                        static_cast<double>(frame.yOrigin) + frame.ySize, page);
    } catch (const LException&) {
        return std::nullopt;
    }
}

// The box of a legend level under the point, and whether it is in the bar's
// one column.
std::optional<std::uint32_t> LegendBarLevel(const ChartDocument& document,
                                            const PageCoordinateSystem& page, IntPoint point) {
    const MScale& legend = document.Legend;
    const std::uint32_t boundaries = document.BoundaryCount();
    if (!legend.IsVisible()) {
        return std::nullopt;
    }
    try {
        const CCSystem bar(0, 1, 0, static_cast<double>(boundaries) + 1, legend.GetXOrigin(),
                           static_cast<double>(legend.GetXOrigin()) + legend.GetXSize(),
                           legend.GetYOrigin(),
                           static_cast<double>(legend.GetYOrigin()) + legend.GetYSize(), page);
        const DoublePoint data = bar.DeviceToData(point.x, point.y);
        // The integer parts, truncated towards zero as the bar is read.
        const double level = std::trunc(data.y);
        const double column = std::trunc(data.x);
        if (column != 0 || !(level >= 0) || level > boundaries) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(level);
    } catch (const LException&) {
        return std::nullopt;
    }
}

// An annotation whose points cannot be placed is not under the pointer.
template <class HitTest>
bool HitsPlaced(HitTest test) {
    try {
        return test();
    } catch (const LException&) {
        return false;
    } catch (const WMException&) {
        return false;
    }
}

bool Contains(const LGraphicObject& object, const DoublePoint& at, const CCSystem* coordinates) {
    return HitsPlaced([&] { return object.Contains(at, coordinates); });
}

// A rectangle without a fill shows what lies under it, and a click there
// is meant for that: only its outline is hit.
bool RectangleContains(const LRectangle& rectangle, const DoublePoint& at,
                       const CCSystem* coordinates, const DoublePoint& tolerance) {
    return HitsPlaced([&] {
        return rectangle.IsHollow() ? rectangle.OutlineContains(at, coordinates, tolerance)
                                    : rectangle.Contains(at, coordinates);
    });
}

} // namespace

std::optional<CellUnderPoint> CellAt(const ChartDocument& document,
                                     const PageCoordinateSystem& page, IntPoint point) {
    const WMAT& levels = document.LevelMatrix;
    if (levels.GetRows() == 0 || levels.GetColumns() == 0) {
        return std::nullopt;
    }
    const PlotFrame& frame = document.Frame;
    const MapPaintInput input{levels,
                              document.DataMatrix,
                              document.BoundaryCount(),
                              document.LevelColors,
                              MapPlotRect{frame.xOrigin, frame.yOrigin, frame.xSize, frame.ySize},
                              {}};
    try {
        const std::optional<MapCellHit> hit =
            MakeMapPainter(document.MapType)->CellFromPoint(point, page, input);
        if (!hit) {
            return std::nullopt;
        }
        CellUnderPoint cell;
        cell.row = hit->row;
        cell.column = hit->column;
        cell.value = hit->value;
        cell.level = levels.Get(hit->row, hit->column);
        cell.missing = DMAT::IsMissingValue(hit->value) || cell.level > document.BoundaryCount();
        return cell;
    } catch (const LException&) {
        return std::nullopt;
    } catch (const WMException&) {
        return std::nullopt;
    }
}

std::optional<std::uint32_t> LegendLevelAt(const ChartDocument& document,
                                           const PageCoordinateSystem& page, IntPoint point) {
    return LegendBarLevel(document, page, point);
}

std::optional<DoublePoint> DataPointAt(const ChartDocument& document,
                                       const PageCoordinateSystem& page, IntPoint point) {
    const std::optional<CCSystem> plot = PlotSystem(document, page);
    if (!plot) {
        return std::nullopt;
    }
    return plot->DeviceToData(point.x, point.y);
}

namespace {

using Kind = ObjectUnderPoint::Kind;

// Annotations lie over everything else; a failed test is a miss.
std::optional<ObjectUnderPoint> AnnotationAt(const ChartDocument& document,
                                             const PageCoordinateSystem& page, IntPoint point) {
    const std::optional<CCSystem> plot = PlotSystem(document, page);
    const DoublePoint pagePoint = page.DeviceToPage(point.x, point.y);
    const DoublePoint devicePoint{static_cast<double>(point.x), static_cast<double>(point.y)};
    const CCSystem* coordinates = plot ? &*plot : nullptr;
    const auto firstHit = [&](const auto& list,
                              const DoublePoint& at) -> std::optional<std::uint32_t> {
        std::optional<std::uint32_t> hit;
        std::uint32_t i = 0;
        list.ForEach([&](const auto& object) {
            if (!hit && Contains(object, at, coordinates)) {
                hit = i;
            }
            ++i;
        });
        return hit;
    };
    if (const auto i = firstHit(document.Texts.List(), devicePoint)) {
        return ObjectUnderPoint{Kind::Text, *i, 0};
    }
    if (const auto i = firstHit(document.Lines.List(), pagePoint)) {
        return ObjectUnderPoint{Kind::Line, *i, 0};
    }
    const DoublePoint origin = page.DeviceToPage(0, 0);
    const DoublePoint reach = page.DeviceToPage(kOutlineHitPixels, kOutlineHitPixels);
    const DoublePoint tolerance{std::fabs(reach.x - origin.x), std::fabs(reach.y - origin.y)};
    std::optional<std::uint32_t> rectangle;
    std::uint32_t index = 0;
    document.Rectangles.List().ForEach([&](const LRectangle& object) {
        if (!rectangle && RectangleContains(object, pagePoint, coordinates, tolerance)) {
            rectangle = index;
        }
        ++index;
    });
    if (rectangle) {
        return ObjectUnderPoint{Kind::Rectangle, *rectangle, 0};
    }
    return std::nullopt;
}

// A frame text, the margins of the ticks, or the plot area.
std::optional<ObjectUnderPoint> FramePartAt(const PlotFrame& frame, DoublePoint pagePoint,
                                            IntPoint point, bool showMap) {
    int kind = 0;
    std::uint32_t index = 0;
    if (frame.FindFrameText(point, kind, index)) {
        return ObjectUnderPoint{Kind::FrameText, index, kind};
    }
    const double x = pagePoint.x;
    const double y = pagePoint.y;
    const double left = frame.xOrigin;
    const double right = left + frame.xSize;
    const double bottom = frame.yOrigin;
    const double top = bottom + frame.ySize;
    const double m = frame.tickLength;
    const bool insideX = x > left && x < right;
    const bool insideY = y > bottom && y < top;
    if (insideX &&
        (((frame.xTicksSetup & TicksSetup::SecondTicks) != 0 && y > top && y < top + m) ||
         ((frame.xTicksSetup & TicksSetup::FirstTicks) != 0 && y > bottom - m && y < bottom))) {
        return ObjectUnderPoint{Kind::XTickMargin, 0, 0};
    }
    if (insideY &&
        (((frame.yTicksSetup & TicksSetup::FirstTicks) != 0 && x > left - m && x < left) ||
         ((frame.yTicksSetup & TicksSetup::SecondTicks) != 0 && x > right && x < right + m))) {
        return ObjectUnderPoint{Kind::YTickMargin, 0, 0};
    }
    if (showMap && insideX && insideY) {
        return ObjectUnderPoint{Kind::PlotArea, 0, 0};
    }
    return std::nullopt;
}

// A label of the legend, the margin of its ticks, or a level of its bar.
std::optional<ObjectUnderPoint> LegendPartAt(const ChartDocument& document,
                                             const PageCoordinateSystem& page,
                                             DoublePoint pagePoint, IntPoint point) {
    const MScale& legend = document.Legend;
    if (const std::optional<std::uint32_t> label = legend.HitLabel(point)) {
        return ObjectUnderPoint{Kind::LegendLabel, *label, 0};
    }
    const double barRight = static_cast<double>(legend.GetXOrigin()) + legend.GetXSize();
    const double barBottom = legend.GetYOrigin();
    const double barTop = barBottom + legend.GetYSize();
    if (pagePoint.x > barRight && pagePoint.x < barRight + legend.GetTickLength() &&
        pagePoint.y > barBottom && pagePoint.y < barTop) {
        return ObjectUnderPoint{Kind::LegendTicks, 0, 0};
    }
    if (const std::optional<std::uint32_t> level = LegendBarLevel(document, page, point)) {
        return ObjectUnderPoint{Kind::LegendLevel, *level, 0};
    }
    return std::nullopt;
}

} // namespace

ObjectUnderPoint ObjectAt(const ChartDocument& document, const PageCoordinateSystem& page,
                          IntPoint point, bool showMap) {
    if (std::optional<ObjectUnderPoint> annotation = AnnotationAt(document, page, point)) {
        return *annotation;
    }
    const DoublePoint pagePoint = page.DeviceToPage(point.x, point.y);
    if (document.Frame.visible) {
        if (std::optional<ObjectUnderPoint> part =
                FramePartAt(document.Frame, pagePoint, point, showMap)) {
            return *part;
        }
    }
    if (document.Legend.IsVisible()) {
        if (std::optional<ObjectUnderPoint> part = LegendPartAt(document, page, pagePoint, point)) {
            return *part;
        }
    }
    return ObjectUnderPoint{};
}
