#include "MapPainterTestSupport.h"

#include "core/LException.h"
#include "map/HLTrapMapPainter.h"
#include "map/HTrapMapPainter.h"
#include "map/LTriangleMapPainter.h"
#include "map/RectangleMapPainter.h"
#include "map/TriangleMapPainter.h"
#include "map/VLTrapMapPainter.h"
#include "map/VTrapMapPainter.h"

#include <typeinfo>

namespace {

using Lines = std::vector<std::string>;

constexpr MapType kAllShapes[] = {
    MapType::Rectangle,       MapType::Triangle,        MapType::LTriangle,
    MapType::HParallelogram,  MapType::HLParallelogram, MapType::VParallelogram,
    MapType::VLParallelogram,
};

class MapCellsTest : public MapPainterTest {};

TEST_F(MapCellsTest, MapTypeNumbersChooseTheirPainterAndOthersRectangles) {
    const std::type_info* expected[] = {&typeid(RectangleMapPainter), &typeid(TriangleMapPainter),
                                        &typeid(LTriangleMapPainter), &typeid(HTrapMapPainter),
                                        &typeid(HLTrapMapPainter),    &typeid(VTrapMapPainter),
                                        &typeid(VLTrapMapPainter),    &typeid(RectangleMapPainter)};
    for (std::uint32_t type = 0; type < 8; ++type) {
        EXPECT_EQ(typeid(*MakeMapPainter(type)), *expected[type]) << type;
    }
    EXPECT_EQ(typeid(*MakeMapPainter(0xFFFFFFFF)), typeid(RectangleMapPainter));
}

TEST_F(MapCellsTest, RectanglesFillOneRunPerLevelAlongEachRow) {
    // Every row of one level: one fill per row, as wide as the plot.
    SetMap({"2222", "1111", "0000"});
    SetPlot(400, 300);
    EXPECT_EQ(PaintCells(MapType::Rectangle),
              (Lines{Fill(100, 800, 500, 900, 0), Fill(100, 700, 500, 800, 1),
                     Fill(100, 600, 500, 700, 2)}));

    // A run ends where the level changes; the last run of a row is filled
    // too, and a missing cell takes the missing colour.
    SetMap({"0110", "m300"});
    SetPlot(400, 200);
    EXPECT_EQ(PaintCells(MapType::Rectangle),
              (Lines{Fill(100, 800, 200, 900, 4), Fill(200, 800, 300, 900, 3),
                     Fill(300, 800, 500, 900, 0), Fill(100, 700, 200, 800, 0),
                     Fill(200, 700, 400, 800, 1), Fill(400, 700, 500, 800, 0)}));

    // One column: one fill per row.
    SetMap({"1", "1", "0"});
    SetPlot(100, 300);
    EXPECT_EQ(PaintCells(MapType::Rectangle),
              (Lines{Fill(100, 800, 200, 900, 0), Fill(100, 700, 200, 800, 1),
                     Fill(100, 600, 200, 700, 1)}));
}

TEST_F(MapCellsTest, TriangleSquaresSplitOnlyWhereTheirHalvesDiffer) {
    SetMap({"111211", "110011", "111102"});
    SetPlot(300, 300);
    EXPECT_EQ(
        PaintCells(MapType::Triangle),
        (Lines{// Two whole squares of level 1 as one run, then a split
               // square: lower right triangle, upper left triangle.
               Fill(100, 800, 300, 900, 1), Polygon({{300, 900}, {400, 900}, {400, 800}}, 0),
               Polygon({{300, 900}, {400, 800}, {300, 800}}, 2),
               // Whole squares of changing levels: one run each.
               Fill(100, 700, 200, 800, 1), Fill(200, 700, 300, 800, 0),
               Fill(300, 700, 400, 800, 1),
               // A split square ends the run before it; the same level
               // after it starts a new run.
               Fill(100, 600, 200, 700, 1), Polygon({{200, 700}, {300, 700}, {300, 600}}, 1),
               Polygon({{200, 700}, {300, 600}, {200, 600}}, 2), Fill(300, 600, 400, 700, 1)}));

    // The falling diagonal: lower left and upper right triangles.
    SetMap({"0110"});
    SetPlot(200, 100);
    EXPECT_EQ(PaintCells(MapType::LTriangle),
              (Lines{Polygon({{100, 900}, {200, 900}, {100, 800}}, 0),
                     Polygon({{200, 900}, {200, 800}, {100, 800}}, 1),
                     Polygon({{200, 900}, {300, 900}, {200, 800}}, 1),
                     Polygon({{300, 900}, {300, 800}, {200, 800}}, 0)}));
}

TEST_F(MapCellsTest, AnOddLastTriangleColumnIsNeverDrawnNorChecked) {
    // The fifth column's level has no colour; it is not drawn, so it does
    // not stop the paint either.
    SetMap({"01109"});
    SetPlot(200, 100);
    for (MapType type : {MapType::Triangle, MapType::LTriangle}) {
        const Lines calls = PaintCells(type);
        ASSERT_EQ(calls.size(), 4u);
        for (const std::string& call : calls) {
            EXPECT_EQ(call.find("400,"), std::string::npos) << call;
        }
    }
}

TEST_F(MapCellsTest, ParallelogramRunsLeaveOneUnitTrianglePerRowOrColumnUnpainted) {
    SetMap({"01", "11"});
    // Along rows: three index units across two columns. Row 0 leaves the
    // triangles (0,0) (1,1) (0,1) and (2,0) (3,0) (3,1) unpainted.
    SetPlot(300, 200);
    EXPECT_EQ(PaintCells(MapType::HParallelogram),
              (Lines{Polygon({{100, 900}, {300, 900}, {400, 800}, {200, 800}}, 1),
                     Polygon({{100, 800}, {200, 800}, {300, 700}, {200, 700}}, 0),
                     Polygon({{200, 800}, {300, 800}, {400, 700}, {300, 700}}, 1)}));
    // Index x runs from -1: device 100 is index -1.
    EXPECT_EQ(PaintCells(MapType::HLParallelogram),
              (Lines{Polygon({{200, 900}, {400, 900}, {300, 800}, {100, 800}}, 1),
                     Polygon({{200, 800}, {300, 800}, {200, 700}, {100, 700}}, 0),
                     Polygon({{300, 800}, {400, 800}, {300, 700}, {200, 700}}, 1)}));

    // Along columns: three index units up two rows; each column leaves the
    // unit triangle below its lowest cell and above its highest unpainted.
    SetPlot(200, 300);
    EXPECT_EQ(PaintCells(MapType::VParallelogram),
              (Lines{Polygon({{100, 900}, {100, 800}, {200, 700}, {200, 800}}, 1),
                     Polygon({{100, 800}, {100, 700}, {200, 600}, {200, 700}}, 0),
                     Polygon({{200, 900}, {200, 700}, {300, 600}, {300, 800}}, 1)}));
    EXPECT_EQ(PaintCells(MapType::VLParallelogram),
              (Lines{Polygon({{100, 800}, {100, 700}, {200, 800}, {200, 900}}, 1),
                     Polygon({{100, 700}, {100, 600}, {200, 700}, {200, 800}}, 0),
                     Polygon({{200, 800}, {200, 600}, {300, 700}, {300, 900}}, 1)}));
}

TEST_F(MapCellsTest, CellsSmallerThanAPixelAreLeftOutWhereTheirFillWouldCoverNothing) {
    // Four columns and rows on a plot of 2 x 2 pixels: index x 0 .. 4 lands
    // on device x 100 100 101 101 102 and index y on 900 899 899 898 898,
    // so only rows 0 and 2 and columns 1 and 3 have any extent. Every cell
    // differs from its neighbours, so every cell is a run; the runs that
    // cover pixels are filled exactly as they are.
    SetMap({"3210", "0123", "1032", "2301"});
    SetPlot(2, 2);
    EXPECT_EQ(PaintCells(MapType::Rectangle),
              (Lines{Fill(100, 899, 101, 900, 3), Fill(101, 899, 102, 900, 1),
                     Fill(100, 898, 101, 899, 1), Fill(101, 898, 102, 899, 3)}));
    // Sheared along columns, index y 0 .. 5 lands on 900 900 899 899 898
    // 898. Columns 0 and 2 have no width and are left out; columns 1 and 3
    // are filled cell by cell.
    Lines expected;
    for (const auto& [left, levelsUp] : {std::pair{100, "3012"}, std::pair{101, "1230"}}) {
        const int y[] = {900, 900, 899, 899, 898, 898};
        for (int s = 0; s < 4; ++s) {
            expected.push_back(Polygon(
                {{left, y[s]}, {left, y[s + 1]}, {left + 1, y[s + 2]}, {left + 1, y[s + 1]}},
                levelsUp[s] - '0'));
        }
    }
    EXPECT_EQ(PaintCells(MapType::VParallelogram), expected);
}

TEST_F(MapCellsTest, NothingIsDrawnWithoutLevelsOrBoundaries) {
    for (MapType type : kAllShapes) {
        levels = WMAT();
        data = DMAT();
        EXPECT_TRUE(PaintCells(type).empty());
        EXPECT_TRUE(PaintContours(type).empty());
        SetMap({"01", "10"});
        boundaryCount = 0;
        EXPECT_TRUE(PaintCells(type).empty());
        EXPECT_TRUE(PaintContours(type).empty());
        boundaryCount = kBoundaries;
    }
}

TEST_F(MapCellsTest, BadPlotsAndColourTablesThrowLeavingPageAndPenAsTheyWere) {
    const PageCoordinateSystem pageBefore = page;
    const Pen penBefore = surface.CurrentState().pen;
    auto expectThrow = [&](MapType type, bool contours, const std::string& description) {
        try {
            const auto painter = Painter(type);
            contours ? painter->PaintContours(surface, page, Input())
                     : painter->PaintCells(surface, page, Input());
            ADD_FAILURE() << "no exception for map type " << static_cast<int>(type);
        } catch (const LException& e) {
            EXPECT_EQ(e.GetDescription(), description);
        }
        EXPECT_EQ(surface.CurrentState().pen, penBefore);
        EXPECT_EQ(page, pageBefore);
        EXPECT_TRUE(surface.DrawingCalls().empty());
    };
    const std::string noArea = "x2 <= x1 || y2 <= y1 check failed";
    for (MapType type : kAllShapes) {
        SetMap({"01", "10"});
        SetPlot(0, 200);
        expectThrow(type, false, noArea);
        expectThrow(type, true, noArea);
        // Level 4 is the missing level; 5 has no colour.
        SetMap({"0m", "05"});
        SetPlot(200, 200);
        expectThrow(type, false, "index out of range");
    }
    // A triangle map of one column has no square: its index window is empty.
    SetMap({"0"});
    expectThrow(MapType::Triangle, false, noArea);
    expectThrow(MapType::LTriangle, true, noArea);
}

TEST_F(MapCellsTest, DrawAddsTheContourLinesOnlyWhenTheyAreSwitchedOn) {
    SetMap({"01"});
    SetPlot(200, 100);
    const auto painter = Painter(MapType::Rectangle);
    contours.on = false;
    painter->Draw(surface, page, Input());
    EXPECT_EQ(surface.DrawingCalls(),
              (Lines{Fill(100, 800, 200, 900, 0), Fill(200, 800, 300, 900, 1)}));
    surface.ClearLog();
    contours.on = true;
    painter->Draw(surface, page, Input());
    EXPECT_EQ(surface.DrawingCalls(),
              (Lines{Fill(100, 800, 200, 900, 0), Fill(200, 800, 300, 900, 1), "MoveTo 200 900",
                     "LineTo 200 800"}));
}

} // namespace
