#pragma once

#include "map/MapPainter.h"
#include "map/MapPainterFactory.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A page shown at one device pixel per page unit (device y = 1000 - page y)
// and a plot rectangle whose lower left corner is page (100, 100), device
// (100, 900). With a plot of 100 page units per index unit, index point
// (i, j) lands on device (100 + 100 i, 900 - 100 j).
//
// Maps have three boundaries: levels 0 .. 3 and the missing level 4. Level
// k is painted 0x111111 * (k + 1), so the missing colour is 0x555555.
class MapPainterTest : public ::testing::Test {
protected:
    static constexpr std::uint32_t kBoundaries = 3;

    MapPainterTest() {
        colors = LRGBColorVect(kBoundaries + 2);
        for (std::uint32_t k = 0; k < kBoundaries + 2; ++k) {
            colors.Level(k) = 0x111111 * (k + 1);
        }
        // Something other than the surface's default pen, so that restoring
        // is told apart from resetting.
        surface.SelectPen(Pen{PenStyle::Dot, 3, 0x0a0b0c});
        surface.ClearLog();
    }

    // The levels, rows written as the map shows them (top row first), one
    // character per cell: a digit for a level, 'm' for a missing cell. The
    // data value of cell (r, c) is 10 r + c.
    void SetMap(std::initializer_list<std::string_view> topRowFirst) {
        const auto rows = static_cast<std::uint32_t>(topRowFirst.size());
        const auto columns = static_cast<std::uint32_t>(topRowFirst.begin()->size());
        levels = WMAT(rows, columns);
        data = DMAT(rows, columns);
        std::uint32_t r = rows;
        for (std::string_view line : topRowFirst) {
            --r;
            for (std::uint32_t c = 0; c < columns; ++c) {
                const char cell = line.at(c);
                levels.Set(r, c,
                           static_cast<std::uint16_t>(cell == 'm' ? kBoundaries + 1 : cell - '0'));
                data.Set(r, c, 10.0 * r + c);
            }
        }
    }

    // The plot rectangle: width and height in page units, equal to pixels.
    void SetPlot(std::int32_t width, std::int32_t height) { plot = {100, 100, width, height}; }

    MapPaintInput Input() const { return {levels, data, boundaryCount, colors, plot, contours}; }

    // The drawing calls of PaintCells, and the whole log of PaintContours;
    // the surface's selections and the page system must be as before.
    std::vector<std::string> PaintCells(MapType type) {
        return Run([&](const MapPainter& p) { p.PaintCells(surface, page, Input()); }, type)
            .DrawingCalls();
    }
    std::vector<std::string> PaintContours(MapType type) {
        return Run([&](const MapPainter& p) { p.PaintContours(surface, page, Input()); }, type)
            .Log();
    }

    static std::unique_ptr<MapPainter> Painter(MapType type) {
        return MakeMapPainter(static_cast<std::uint32_t>(type));
    }

    static std::string Color(int level) {
        return RecordingSurface::FormatColor(0x111111u * static_cast<std::uint32_t>(level + 1));
    }
    static std::string Fill(int left, int top, int right, int bottom, int level) {
        return "FillRect " + std::to_string(left) + " " + std::to_string(top) + " " +
               std::to_string(right) + " " + std::to_string(bottom) +
               " brush=solid:" + Color(level);
    }
    static std::string Polygon(std::initializer_list<std::pair<int, int>> points, int level) {
        std::string text = "FillPolygon";
        for (const auto& [x, y] : points) {
            text += " " + std::to_string(x) + "," + std::to_string(y);
        }
        return text + " brush=solid:" + Color(level);
    }
    // The two log lines of one segment.
    static std::vector<std::string> Segment(int x0, int y0, int x1, int y1) {
        return {"MoveTo " + std::to_string(x0) + " " + std::to_string(y0),
                "LineTo " + std::to_string(x1) + " " + std::to_string(y1)};
    }

    PageCoordinateSystem page{0, 1000, 0, 1000, 0, 1000, 1000, 0};
    RecordingSurface surface;
    WMAT levels;
    DMAT data;
    std::uint32_t boundaryCount = kBoundaries;
    LRGBColorVect colors;
    MapPlotRect plot{100, 100, 100, 100};
    ContourSettings contours{true, 5.0, 0x0000ff};

private:
    template <typename Action>
    const RecordingSurface& Run(Action action, MapType type) {
        surface.ClearLog();
        const RecordingSurface::State before = surface.CurrentState();
        const PageCoordinateSystem pageBefore = page;
        action(*Painter(type));
        EXPECT_EQ(surface.CurrentState(), before) << surface.Text();
        EXPECT_EQ(page, pageBefore);
        return surface;
    }
};
