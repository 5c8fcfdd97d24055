#pragma once

#include "render/Geometry.h"

#include <cstdint>
#include <optional>

class ChartDocument;
class PageCoordinateSystem;

// What lies under a device point of a map view. Every test works on the
// document as last painted (the frame and the legend remember where their
// texts went) and the view's page system.

// A map cell: its place, its value and its level (0 .. L for the classes of
// a scale with L boundaries, above L for a missing value).
struct CellUnderPoint {
    std::uint32_t row = 0;
    std::uint32_t column = 0;
    double value = 0.0;
    std::uint32_t level = 0;
    bool missing = false;
};

std::optional<CellUnderPoint> CellAt(const ChartDocument& document,
                                     const PageCoordinateSystem& page, IntPoint point);

// The legend level (0 .. L) whose box in the colour bar holds the point;
// none when the legend is hidden or the point is elsewhere.
std::optional<std::uint32_t> LegendLevelAt(const ChartDocument& document,
                                           const PageCoordinateSystem& page, IntPoint point);

// The data point under a device point, through the plot's chart system;
// none when the plot has no area.
std::optional<DoublePoint> DataPointAt(const ChartDocument& document,
                                       const PageCoordinateSystem& page, IntPoint point);

// The object a left click opens, in the order annotations (texts, lines,
// rectangles), plot frame parts, legend.
struct ObjectUnderPoint {
    enum class Kind {
        Nothing,
        Text,
        Line,
        Rectangle,
        // A text of the frame: frameTextKind tells which (FrameTextKind).
        FrameText,
        // The margins where the frame's ticks stand.
        XTickMargin,
        YTickMargin,
        PlotArea,
        LegendLabel,
        LegendTicks,
        LegendLevel,
    };
    Kind kind = Kind::Nothing;
    // The annotation's position in its list, or the legend level.
    std::uint32_t index = 0;
    int frameTextKind = 0;
};

ObjectUnderPoint ObjectAt(const ChartDocument& document, const PageCoordinateSystem& page,
                          IntPoint point, bool showMap);
