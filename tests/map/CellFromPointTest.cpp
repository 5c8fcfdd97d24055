#include "MapPainterTestSupport.h"

#include <optional>
#include <vector>

namespace {

class CellFromPointTest : public MapPainterTest {
protected:
    CellFromPointTest() { SetMap({"0123", "3210"}); }

    // The cells at the device points, "row,column" or "-" for none, with
    // their data values checked. Left of the plot and below it there is no
    // cell in any shape.
    std::string HitsAt(MapType type, const std::vector<IntPoint>& points) {
        const auto painter = Painter(type);
        std::string hits;
        for (const IntPoint p : points) {
            const auto hit = painter->CellFromPoint(p, page, Input());
            hits += (hits.empty() ? "" : " ") +
                    (hit ? std::to_string(hit->row) + "," + std::to_string(hit->column) : "-");
            EXPECT_TRUE(!hit || hit->value == 10.0 * hit->row + hit->column) << hit->value;
            EXPECT_EQ(painter->CellFromPoint({99, p.y}, page, Input()), std::nullopt);
            EXPECT_EQ(painter->CellFromPoint({p.x, 901}, page, Input()), std::nullopt);
        }
        return hits;
    }
};

// Device point (100 + 100 i, 900 - 100 j) is index point (i, j) on every
// plot below.
TEST_F(CellFromPointTest, PointsOnEitherSideOfEverySlantedEdgeAndOutsideThePlot) {
    // The lower left corner is in; the right and upper edges are out.
    SetPlot(400, 200);
    EXPECT_EQ(
        HitsAt(MapType::Rectangle, {{150, 850}, {450, 750}, {100, 900}, {500, 850}, {150, 700}}),
        "0,0 1,3 0,0 - -");
    // At y 0.5, x 0.8 lies below the rising diagonal and above the falling
    // one, x 0.2 the other way round and x 0.5 on both, which belongs to the
    // upper half.
    SetPlot(200, 200);
    const std::vector<IntPoint> squares = {
        {180, 850}, {120, 850}, {150, 850}, {260, 750}, {300, 850}};
    EXPECT_EQ(HitsAt(MapType::Triangle, squares), "0,0 0,1 0,1 1,2 -");
    EXPECT_EQ(HitsAt(MapType::LTriangle, squares), "0,1 0,0 0,1 1,3 -");
    // At y 0.5, x 1.3 and 1.7 lie on either side of the rising edge through
    // (1, 0) and of the falling edge through (2, 0), x 1.5 on both. At the
    // left and right plot edges the unpainted triangles hold no cell.
    SetPlot(500, 200);
    const std::vector<IntPoint> rows = {{230, 850}, {270, 850}, {250, 850},
                                        {530, 850}, {130, 850}, {570, 850}};
    EXPECT_EQ(HitsAt(MapType::HParallelogram, rows), "0,0 0,1 0,0 0,3 - -");
    EXPECT_EQ(HitsAt(MapType::HLParallelogram, rows), "0,0 0,1 0,1 0,3 - -");
    // At y 1.5, x 0.2 lies above the rising edge through (0, 1) and below the
    // falling one through (0, 2), x 0.8 the other way round and x 0.5 on
    // both; below row 0 and above row 1 lie the unpainted triangles.
    SetPlot(400, 300);
    const std::vector<IntPoint> columns = {{120, 750}, {180, 750}, {150, 750},
                                           {450, 670}, {150, 870}, {150, 630}};
    EXPECT_EQ(HitsAt(MapType::VParallelogram, columns), "1,0 0,0 1,0 1,3 - -");
    EXPECT_EQ(HitsAt(MapType::VLParallelogram, columns), "0,0 1,0 1,0 1,3 - -");
}

TEST_F(CellFromPointTest, NoCellOnAnEmptyMapOrAPlotWithoutArea) {
    SetPlot(400, 200);
    boundaryCount = 0;
    EXPECT_EQ(HitsAt(MapType::Rectangle, {{150, 850}}), "-");
    boundaryCount = kBoundaries;
    data = DMAT();
    EXPECT_EQ(HitsAt(MapType::Rectangle, {{150, 850}}), "-");
    // A mouse over a degenerate plot finds nothing rather than failing.
    SetMap({"01"});
    SetPlot(0, 100);
    EXPECT_EQ(HitsAt(MapType::VParallelogram, {{100, 850}}), "-");
    SetMap({"0"});
    SetPlot(100, 100);
    EXPECT_EQ(HitsAt(MapType::Triangle, {{150, 850}}), "-");
}

} // namespace
