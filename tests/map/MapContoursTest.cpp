#include "MapPainterTestSupport.h"

#include <tuple>

namespace {

using MapContoursTest = MapPainterTest;

TEST_F(MapContoursTest, RectangleEdgesAreDrawnOnlyBetweenDifferentLevels) {
    SetMap({"111", "111"});
    SetPlot(300, 200);
    EXPECT_EQ(Contours(MapType::Rectangle), "");

    // The four sides of the middle cell, in the order of the walk: bottom
    // row first, each row left to right, each cell's upper then right edge.
    SetMap({"000", "010", "000"});
    SetPlot(300, 300);
    EXPECT_EQ(Contours(MapType::Rectangle),
              "200,800-300,800 200,800-200,700 200,700-300,700 300,800-300,700");
}

TEST_F(MapContoursTest, TriangleDiagonalsAndEdgesBetweenSquares) {
    SetMap({"1100", "0111"});
    SetPlot(200, 200);
    // Square (0, 0): its diagonal, and its lower right half against the
    // upper left one of (1, 0); (1, 0)'s upper left half against the lower
    // right one of (1, 1); (0, 1) against the upper left half of (1, 1).
    EXPECT_EQ(Contours(MapType::Triangle),
              "100,900-200,800 200,900-200,800 200,800-300,800 200,800-200,700");
    EXPECT_EQ(Contours(MapType::LTriangle), "200,900-100,800 200,800-300,800 200,800-200,700");
}

TEST_F(MapContoursTest, ParallelogramsOutlineTheirValuedBorderCellsOnly) {
    // One valued cell among missing ones: its four sides, two from the
    // outline, two from the edges to its missing neighbours; the missing
    // border cells get no outline.
    SetMap({"mm", "1m"});
    SetPlot(200, 300);
    EXPECT_EQ(Contours(MapType::VParallelogram),
              "100,900-200,800 100,900-100,800 200,800-200,700 100,800-200,700");
    EXPECT_EQ(Contours(MapType::VLParallelogram),
              "100,800-200,900 100,800-100,700 200,800-200,900 100,700-200,800");
    SetMap({"0m"});
    SetPlot(300, 100);
    EXPECT_EQ(Contours(MapType::HParallelogram),
              "100,900-200,900 200,800-300,800 100,900-200,800 200,900-300,800");
    SetMap({"m0"});
    EXPECT_EQ(Contours(MapType::HLParallelogram),
              "300,900-400,900 300,800-200,800 300,800-400,900 300,900-200,800");
    // A row of one level: the outline of the whole row, no inner edge.
    SetMap({"00"});
    EXPECT_EQ(Contours(MapType::HParallelogram), "100,900-200,900 200,800-300,800 100,900-200,800 "
                                                 "200,900-300,900 300,800-400,800 300,900-400,800");
}

TEST_F(MapContoursTest, PenWidthIsTheWidthTimesTheMeanScaleRoundedForEveryShape) {
    SetMap({"01", "10"});
    SetPlot(200, 200);
    // Pixels for the page's 1000 units, the width, the pen: 1.5 rounds down
    // (its fraction is not above one half), 1.6 up, 0 is the thinnest line.
    for (const auto& [device, width, pen] :
         {std::tuple{300, 5.0, "solid:1:0x0000ff"}, std::tuple{320, 5.0, "solid:2:0x0000ff"},
          std::tuple{320, 0.0, "solid:0:0x0000ff"}}) {
        page = PageCoordinateSystem(0, 1000, 0, 1000, 0, device, device, 0);
        contours.width = width;
        contourPen = pen;
        for (MapType type : kAllShapes) {
            SCOPED_TRACE(contourPen + " map type " + std::to_string(static_cast<int>(type)));
            Contours(type);
        }
    }
}

} // namespace
