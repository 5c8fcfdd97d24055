#include "MapPainterTestSupport.h"

#include "map/HLTrapMapPainter.h"
#include "map/HTrapMapPainter.h"
#include "map/LTriangleMapPainter.h"
#include "map/TriangleMapPainter.h"
#include "map/VLTrapMapPainter.h"
#include "map/VTrapMapPainter.h"

#include <typeinfo>

namespace {

using MapCellsTest = MapPainterTest;

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
    // A run ends where the level changes; the last run of a row is filled
    // too, and a missing cell takes the missing colour.
    SetMap({"0110", "m300"});
    SetPlot(400, 200);
    EXPECT_EQ(Cells(MapType::Rectangle),
              "100 800 200 900 =4 | 200 800 300 900 =3 | 300 800 500 900 =0 | "
              "100 700 200 800 =0 | 200 700 400 800 =1 | 400 700 500 800 =0");
    // One column: one fill per row.
    SetMap({"1", "1", "0"});
    SetPlot(100, 300);
    EXPECT_EQ(Cells(MapType::Rectangle),
              "100 800 200 900 =0 | 100 700 200 800 =1 | 100 600 200 700 =1");
}

TEST_F(MapCellsTest, TriangleSquaresSplitOnlyWhereTheirHalvesDiffer) {
    SetMap({"111211", "110011", "111102"});
    SetPlot(300, 300);
    EXPECT_EQ(Cells(MapType::Triangle),
              // Two whole squares of level 1 as one run, then a split square:
              // the lower right triangle, then the upper left one.
              "100 800 300 900 =1 | 300,900 400,900 400,800 =0 | 300,900 400,800 300,800 =2 | "
              // Whole squares of changing levels: one run each.
              "100 700 200 800 =1 | 200 700 300 800 =0 | 300 700 400 800 =1 | "
              // A split square ends the run before it; the same level after
              // it starts a new run.
              "100 600 200 700 =1 | 200,700 300,700 300,600 =1 | 200,700 300,600 200,600 =2 | "
              "300 600 400 700 =1");

    // An odd last column has no partner: it is neither drawn nor, having no
    // colour here, checked.
    SetMap({"01109"});
    SetPlot(200, 100);
    EXPECT_EQ(Cells(MapType::Triangle), "100,900 200,900 200,800 =0 | 100,900 200,800 100,800 =1 | "
                                        "200,900 300,900 300,800 =1 | 200,900 300,800 200,800 =0");
    // The falling diagonal: lower left and upper right triangles.
    EXPECT_EQ(Cells(MapType::LTriangle),
              "100,900 200,900 100,800 =0 | 200,900 200,800 100,800 =1 | "
              "200,900 300,900 200,800 =1 | 300,900 300,800 200,800 =0");
}

TEST_F(MapCellsTest, ParallelogramRunsLeaveOneUnitTrianglePerRowOrColumnUnpainted) {
    SetMap({"01", "11"});
    // Along rows: three index units across two columns. Row 0 leaves the
    // triangles (0,0) (1,1) (0,1) and (2,0) (3,0) (3,1) unpainted.
    SetPlot(300, 200);
    EXPECT_EQ(Cells(MapType::HParallelogram),
              "100,900 300,900 400,800 200,800 =1 | 100,800 200,800 300,700 200,700 =0 | "
              "200,800 300,800 400,700 300,700 =1");
    // Index x runs from -1: device 100 is index -1.
    EXPECT_EQ(Cells(MapType::HLParallelogram),
              "200,900 400,900 300,800 100,800 =1 | 200,800 300,800 200,700 100,700 =0 | "
              "300,800 400,800 300,700 200,700 =1");
    // Along columns: three index units up two rows; each column leaves the
    // unit triangle below its lowest cell and above its highest unpainted.
    SetPlot(200, 300);
    EXPECT_EQ(Cells(MapType::VParallelogram),
              "100,900 100,800 200,700 200,800 =1 | 100,800 100,700 200,600 200,700 =0 | "
              "200,900 200,700 300,600 300,800 =1");
    EXPECT_EQ(Cells(MapType::VLParallelogram),
              "100,800 100,700 200,800 200,900 =1 | 100,700 100,600 200,700 200,800 =0 | "
              "200,800 200,600 300,700 300,900 =1");
}

TEST_F(MapCellsTest, FillsAndSegmentsSmallerThanAPixelAreLeftOutWhereTheyWouldCoverNothing) {
    // Four columns and rows on 2 x 2 pixels: index x 0 .. 4 lands on device x
    // 100 100 101 101 102, index y on 900 899 899 898 898. Every cell is a run
    // and every edge a segment; those that cover pixels are drawn unchanged.
    SetMap({"3210", "0123", "1032", "2301"});
    SetPlot(2, 2);
    EXPECT_EQ(Cells(MapType::Rectangle),
              "100 899 101 900 =3 | 101 899 102 900 =1 | 100 898 101 899 =1 | 101 898 102 899 =3");
    // Of the 24 edges, 12 have a length.
    EXPECT_EQ(Contours(MapType::Rectangle),
              "100,900-100,899 100,899-101,899 101,900-101,899 101,900-101,899 101,899-102,899 "
              "100,899-101,899 101,899-102,899 100,899-100,898 100,898-101,898 101,899-101,898 "
              "101,899-101,898 101,898-102,898");
    // Sheared along columns, index y 0 .. 5 lands on 900 900 899 899 898
    // 898. Columns 0 and 2 have no width and are left out; columns 1 and 3
    // are filled cell by cell, also where one of the parallel sides has no
    // length.
    EXPECT_EQ(Cells(MapType::VParallelogram),
              "100,900 100,900 101,899 101,900 =3 | 100,900 100,899 101,899 101,899 =0 | "
              "100,899 100,899 101,898 101,899 =1 | 100,899 100,898 101,898 101,898 =2 | "
              "101,900 101,900 102,899 102,900 =1 | 101,900 101,899 102,899 102,899 =2 | "
              "101,899 101,899 102,898 102,899 =3 | 101,899 101,898 102,898 102,898 =0");
}

TEST_F(MapCellsTest, EmptyMapsDrawNothingAndBadPlotsAndColourTablesThrowLeavingPageAndPen) {
    auto expectThrow = [&](MapType type, bool contours, const std::string& description) {
        Paint(type, contours, true);
        EXPECT_EQ(thrown, description) << static_cast<int>(type);
        EXPECT_TRUE(surface.DrawingCalls().empty()) << surface.Text();
    };
    const std::string noArea = "x2 <= x1 || y2 <= y1 check failed";
    for (MapType type : kAllShapes) {
        levels = WMAT();
        data = DMAT();
        EXPECT_TRUE(Paint(type, false).empty());
        EXPECT_TRUE(Paint(type, true).empty());
        SetMap({"01", "10"});
        boundaryCount = 0;
        EXPECT_TRUE(Paint(type, false).empty());
        EXPECT_TRUE(Paint(type, true).empty());
        boundaryCount = kBoundaries;
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
    std::vector<std::string> expected = {"FillRect 100 800 200 900 brush=solid:0x000000",
                                         "FillRect 200 800 300 900 brush=solid:0x000001"};
    for (bool on : {false, true}) {
        surface.ClearLog();
        contours.on = on;
        Painter(MapType::Rectangle)->Draw(surface, page, Input());
        EXPECT_EQ(surface.DrawingCalls(), expected);
        expected.insert(expected.end(), {"MoveTo 200 900", "LineTo 200 800"});
    }
}

} // namespace
