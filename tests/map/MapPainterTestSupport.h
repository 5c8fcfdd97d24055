#pragma once

#include "core/LException.h"
#include "map/MapPainter.h"
#include "map/MapPainterFactory.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

constexpr MapType kAllShapes[] = {MapType::Rectangle,       MapType::Triangle,
                                  MapType::LTriangle,       MapType::HParallelogram,
                                  MapType::HLParallelogram, MapType::VParallelogram,
                                  MapType::VLParallelogram};

// A page shown at one device pixel per page unit (device y = 1000 - page y)
// and a plot rectangle whose lower left corner is page (100, 100), device
// (100, 900): with 100 page units per index unit, index point (i, j) lands
// on device (100 + 100 i, 900 - 100 j). Maps have three boundaries: levels
// 0 .. 3 and the missing level 4. Level k is painted in colour k.
class MapPainterTest : public ::testing::Test {
protected:
    static constexpr std::uint32_t kBoundaries = 3;

    MapPainterTest() : colors(kBoundaries + 2) {
        for (std::uint32_t k = 0; k < kBoundaries + 2; ++k) {
            colors.Level(k) = k;
        }
        // Not the default pen, so that restoring is told apart from resetting.
        surface.SelectPen(Pen{PenStyle::Dot, 3, 0x0a0b0c});
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
                const int level = line.at(c) == 'm' ? kBoundaries + 1 : line.at(c) - '0';
                levels.Set(r, c, static_cast<std::uint16_t>(level));
                data.Set(r, c, 10.0 * r + c);
            }
        }
    }

    // The plot rectangle: width and height in page units, equal to pixels.
    void SetPlot(std::int32_t width, std::int32_t height) { plot = {100, 100, width, height}; }

    MapPaintInput Input() const { return {levels, data, boundaryCount, colors, plot, contours}; }

    static std::unique_ptr<MapPainter> Painter(MapType type) {
        return MakeMapPainter(static_cast<std::uint32_t>(type));
    }

    // The log of PaintCells or PaintContours. The surface's selections and
    // the page system must be as before, also when an LException leaves the
    // paint; its description goes to thrown, which must be expected.
    const std::vector<std::string>& Paint(MapType type, bool contours, bool mayThrow = false) {
        surface.ClearLog();
        thrown.clear();
        const RecordingSurface::State before = surface.CurrentState();
        const PageCoordinateSystem pageBefore = page;
        try {
            const auto painter = Painter(type);
            contours ? painter->PaintContours(surface, page, Input())
                     : painter->PaintCells(surface, page, Input());
        } catch (const LException& e) {
            thrown = e.GetDescription();
        }
        EXPECT_TRUE(mayThrow || thrown.empty()) << thrown;
        EXPECT_EQ(surface.CurrentState(), before) << surface.Text();
        EXPECT_EQ(page, pageBefore);
        return surface.Log();
    }

    // The fills of PaintCells joined by " | ", each as its corners and
    // "=level": FillRect's "left top right bottom" ("100 800 200 900 =0"),
    // FillPolygon's points ("100,900 200,900 100,800 =1").
    std::string Cells(MapType type) {
        const std::regex fill("^Fill(Rect|Polygon) (.*) brush=solid:0x00000(\\d)$");
        std::string text;
        for (const std::string& line : Paint(type, false)) {
            text += (text.empty() ? "" : " | ") + std::regex_replace(line, fill, "$2 =$3");
        }
        return text;
    }

    // The segments of PaintContours, "x0,y0-x1,y1" joined by spaces. The
    // contour pen must be selected first and the old pen last.
    std::string Contours(MapType type) {
        const std::vector<std::string>& log = Paint(type, true);
        EXPECT_EQ(log.empty() ? "" : log.front(), "SelectPen " + contourPen);
        EXPECT_EQ(log.empty() ? "" : log.back(), "SelectPen dot:3:0x0a0b0c");
        const std::regex move("^MoveTo (-?\\d+) (-?\\d+)$"), line("^LineTo (-?\\d+) (-?\\d+)$");
        std::string text;
        // Pairs up to the last line: a stray call spoils the last pair.
        for (std::size_t k = 1; k + 1 < log.size(); k += 2) {
            EXPECT_TRUE(std::regex_match(log[k], move) && std::regex_match(log[k + 1], line))
                << "not a segment at " << k << ":\n"
                << surface.Text();
            text += (text.empty() ? "" : " ") + std::regex_replace(log[k], move, "$1,$2") + "-" +
                    std::regex_replace(log[k + 1], line, "$1,$2");
        }
        return text;
    }

    PageCoordinateSystem page{0, 1000, 0, 1000, 0, 1000, 1000, 0};
    RecordingSurface surface;
    WMAT levels;
    DMAT data;
    std::uint32_t boundaryCount = kBoundaries;
    LRGBColorVect colors;
    MapPlotRect plot{100, 100, 100, 100};
    ContourSettings contours{true, 5.0, 0x0000ff};
    std::string contourPen = "solid:5:0x0000ff"; // the pen Contours expects
    std::string thrown;                          // by the last Paint
};
