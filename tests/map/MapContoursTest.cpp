#include "MapPainterTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

class MapContoursTest : public MapPainterTest {
protected:
    // The log of a contour paint: the pen, the segments, the old pen back.
    static Lines Logged(std::initializer_list<std::vector<std::string>> segments) {
        Lines lines = {"SelectPen solid:5:0x0000ff"};
        for (const auto& segment : segments) {
            lines.insert(lines.end(), segment.begin(), segment.end());
        }
        lines.push_back("SelectPen dot:3:0x0a0b0c");
        return lines;
    }
};

TEST_F(MapContoursTest, RectangleEdgesAreDrawnOnlyBetweenDifferentLevels) {
    SetMap({"111", "111"});
    SetPlot(300, 200);
    EXPECT_EQ(PaintContours(MapType::Rectangle), Logged({}));

    // The four sides of the middle cell, in the order of the walk: bottom
    // row first, each row left to right, each cell's upper then right edge.
    SetMap({"000", "010", "000"});
    SetPlot(300, 300);
    EXPECT_EQ(PaintContours(MapType::Rectangle),
              Logged({Segment(200, 800, 300, 800), Segment(200, 800, 200, 700),
                      Segment(200, 700, 300, 700), Segment(300, 800, 300, 700)}));
}

TEST_F(MapContoursTest, TriangleDiagonalsAndEdgesBetweenSquares) {
    SetMap({"1100", "0111"});
    SetPlot(200, 200);
    EXPECT_EQ(PaintContours(MapType::Triangle),
              Logged({// Square (0, 0): its halves differ, and its lower right
                      // half differs from the upper left half of its right
                      // neighbour.
                      Segment(100, 900, 200, 800), Segment(200, 900, 200, 800),
                      // Square (1, 0): its upper left half differs from the
                      // lower right half of the square above.
                      Segment(200, 800, 300, 800),
                      // Square (0, 1) against the upper left half of (1, 1).
                      Segment(200, 800, 200, 700)}));
    EXPECT_EQ(PaintContours(MapType::LTriangle),
              Logged({Segment(200, 900, 100, 800), Segment(200, 800, 300, 800),
                      Segment(200, 800, 200, 700)}));
}

TEST_F(MapContoursTest, ParallelogramsOutlineTheirValuedBorderCellsOnly) {
    // One valued cell among missing ones: its four sides, two from the
    // outline, two from the edges to its missing neighbours; the missing
    // border cells get no outline.
    SetMap({"mm", "1m"});
    SetPlot(200, 300);
    EXPECT_EQ(PaintContours(MapType::VParallelogram),
              Logged({Segment(100, 900, 200, 800), Segment(100, 900, 100, 800),
                      Segment(200, 800, 200, 700), Segment(100, 800, 200, 700)}));
    EXPECT_EQ(PaintContours(MapType::VLParallelogram),
              Logged({Segment(100, 800, 200, 900), Segment(100, 800, 100, 700),
                      Segment(200, 800, 200, 900), Segment(100, 700, 200, 800)}));

    SetMap({"0m"});
    SetPlot(300, 100);
    EXPECT_EQ(PaintContours(MapType::HParallelogram),
              Logged({Segment(100, 900, 200, 900), Segment(200, 800, 300, 800),
                      Segment(100, 900, 200, 800), Segment(200, 900, 300, 800)}));
    SetMap({"m0"});
    EXPECT_EQ(PaintContours(MapType::HLParallelogram),
              Logged({Segment(300, 900, 400, 900), Segment(300, 800, 200, 800),
                      Segment(300, 800, 400, 900), Segment(300, 900, 200, 800)}));

    // A row of one level: the outline of the whole row, no inner edge.
    SetMap({"00"});
    EXPECT_EQ(PaintContours(MapType::HParallelogram),
              Logged({Segment(100, 900, 200, 900), Segment(200, 800, 300, 800),
                      Segment(100, 900, 200, 800), Segment(200, 900, 300, 900),
                      Segment(300, 800, 400, 800), Segment(300, 900, 400, 800)}));
}

TEST_F(MapContoursTest, PenWidthIsTheWidthTimesTheMeanScaleRoundedForEveryShape) {
    SetMap({"01", "10"});
    SetPlot(200, 200);
    struct Case {
        std::int32_t device; // the page's 1000 units on this many pixels
        double width;
        std::string pen;
    };
    const Case cases[] = {
        {300, 5.0, "SelectPen solid:1:0x0000ff"}, // 1.5: not above one half
        {320, 5.0, "SelectPen solid:2:0x0000ff"}, // 1.6
        {320, 0.0, "SelectPen solid:0:0x0000ff"}, // the thinnest line
    };
    for (const Case& c : cases) {
        page = PageCoordinateSystem(0, 1000, 0, 1000, 0, c.device, c.device, 0);
        contours.width = c.width;
        for (MapType type :
             {MapType::Rectangle, MapType::Triangle, MapType::LTriangle, MapType::HParallelogram,
              MapType::HLParallelogram, MapType::VParallelogram, MapType::VLParallelogram}) {
            const Lines log = PaintContours(type);
            ASSERT_GE(log.size(), 2u);
            EXPECT_EQ(log.front(), c.pen);
            EXPECT_EQ(log.back(), "SelectPen dot:3:0x0a0b0c");
        }
    }
}

TEST_F(MapContoursTest, SegmentsOfNoLengthAreLeftOut) {
    // A checkerboard of four by four cells on 2 x 2 pixels (index x on
    // device x 100 100 101 101 102, index y on 900 899 899 898 898): every
    // edge differs, but only 12 of them have any length.
    SetMap({"1010", "0101", "1010", "0101"});
    SetPlot(2, 2);
    const Lines log = PaintContours(MapType::Rectangle);
    EXPECT_EQ(surface.Count("MoveTo"), 12u);
    EXPECT_EQ(surface.Count("LineTo"), 12u);
    for (std::size_t k = 1; k + 1 < log.size(); k += 2) {
        EXPECT_NE(log[k].substr(7), log[k + 1].substr(7)) << "zero length at " << log[k];
    }
}

} // namespace
