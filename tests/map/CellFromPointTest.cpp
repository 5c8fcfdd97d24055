#include "MapPainterTestSupport.h"

#include <optional>

namespace {

class CellFromPointTest : public MapPainterTest {
protected:
    // Two rows and four columns, value 10 r + c.
    CellFromPointTest() { SetMap({"0123", "3210"}); }
};

constexpr std::optional<MapCellHit> Cell(std::uint32_t row, std::uint32_t column) {
    return MapCellHit{row, column, 10.0 * row + column};
}

TEST_F(CellFromPointTest, PointsOnEitherSideOfEverySlantedEdgeAndOutsideThePlot) {
    struct Case {
        MapType type;
        int x, y; // device point; index (i, j) lies at (100 + 100 i, 900 - 100 j)
        std::optional<MapCellHit> expected;
    };
    const Case cases[] = {
        {MapType::Rectangle, 150, 850, Cell(0, 0)},
        {MapType::Rectangle, 450, 750, Cell(1, 3)},
        {MapType::Rectangle, 100, 900, Cell(0, 0)},   // the lower left corner
        {MapType::Rectangle, 500, 850, std::nullopt}, // the right edge
        {MapType::Rectangle, 150, 700, std::nullopt}, // the upper edge
        // Index (0.5, 0.6) lies above the rising diagonal, (0.6, 0.5) below
        // it; a point on it belongs to the upper half.
        {MapType::Triangle, 150, 840, Cell(0, 1)},
        {MapType::Triangle, 160, 850, Cell(0, 0)},
        {MapType::Triangle, 150, 850, Cell(0, 1)},
        {MapType::Triangle, 260, 750, Cell(1, 2)},
        {MapType::Triangle, 300, 850, std::nullopt}, // right of both squares
        // The falling diagonal: (0.5, 0.6) above, (0.5, 0.4) below.
        {MapType::LTriangle, 150, 840, Cell(0, 1)},
        {MapType::LTriangle, 150, 860, Cell(0, 0)},
        {MapType::LTriangle, 150, 850, Cell(0, 1)},
        {MapType::LTriangle, 270, 710, Cell(1, 3)},
        // Rising edges at x = i + y: at y 0.5, x 1.3 lies left of the edge
        // through (1, 0) and x 1.7 right of it. At the left and right plot
        // edges the unpainted triangles hold no cell.
        {MapType::HParallelogram, 230, 850, Cell(0, 0)},
        {MapType::HParallelogram, 270, 850, Cell(0, 1)},
        {MapType::HParallelogram, 250, 850, Cell(0, 0)},
        {MapType::HParallelogram, 530, 850, Cell(0, 3)},
        {MapType::HParallelogram, 130, 850, std::nullopt},
        {MapType::HParallelogram, 570, 850, std::nullopt},
        // Falling edges; the hit test's units count from the plot's left edge.
        {MapType::HLParallelogram, 270, 850, Cell(0, 1)},
        {MapType::HLParallelogram, 230, 850, Cell(0, 0)},
        {MapType::HLParallelogram, 250, 850, Cell(0, 1)},
        {MapType::HLParallelogram, 530, 850, Cell(0, 3)},
        {MapType::HLParallelogram, 130, 850, std::nullopt},
        {MapType::HLParallelogram, 570, 850, std::nullopt},
        // At x 0.5: y 1.7 lies above the edge through (0, 1), y 1.3 below it;
        // below row 0 and above row 1 lie the unpainted triangles.
        {MapType::VParallelogram, 150, 730, Cell(1, 0)},
        {MapType::VParallelogram, 150, 770, Cell(0, 0)},
        {MapType::VParallelogram, 150, 750, Cell(1, 0)},
        {MapType::VParallelogram, 450, 670, Cell(1, 3)},
        {MapType::VParallelogram, 150, 870, std::nullopt},
        {MapType::VParallelogram, 150, 630, std::nullopt},
        {MapType::VLParallelogram, 150, 730, Cell(1, 0)},
        {MapType::VLParallelogram, 150, 770, Cell(0, 0)},
        {MapType::VLParallelogram, 150, 750, Cell(1, 0)},
        {MapType::VLParallelogram, 450, 670, Cell(1, 3)},
        {MapType::VLParallelogram, 150, 870, std::nullopt},
        {MapType::VLParallelogram, 150, 630, std::nullopt},
    };
    for (const Case& c : cases) {
        // One index unit is 100 pixels in every shape.
        switch (c.type) {
        case MapType::Triangle:
        case MapType::LTriangle:
            SetPlot(200, 200);
            break;
        case MapType::HParallelogram:
        case MapType::HLParallelogram:
            SetPlot(500, 200);
            break;
        case MapType::VParallelogram:
        case MapType::VLParallelogram:
            SetPlot(400, 300);
            break;
        default:
            SetPlot(400, 200);
        }
        const auto painter = Painter(c.type);
        EXPECT_EQ(painter->CellFromPoint({c.x, c.y}, page, Input()), c.expected)
            << static_cast<int>(c.type) << " at " << c.x << ", " << c.y;
        // Left of the plot and below it there is no cell in any shape.
        EXPECT_EQ(painter->CellFromPoint({99, c.y}, page, Input()), std::nullopt);
        EXPECT_EQ(painter->CellFromPoint({c.x, 901}, page, Input()), std::nullopt);
    }
}

TEST_F(CellFromPointTest, NoCellOnAnEmptyMapOrAPlotWithoutArea) {
    SetPlot(400, 200);
    boundaryCount = 0;
    EXPECT_EQ(Painter(MapType::Rectangle)->CellFromPoint({150, 850}, page, Input()), std::nullopt);
    boundaryCount = kBoundaries;
    data = DMAT();
    EXPECT_EQ(Painter(MapType::Rectangle)->CellFromPoint({150, 850}, page, Input()), std::nullopt);
    // A mouse over a degenerate plot finds nothing rather than failing.
    SetMap({"01"});
    SetPlot(0, 100);
    EXPECT_EQ(Painter(MapType::VParallelogram)->CellFromPoint({100, 850}, page, Input()),
              std::nullopt);
    SetMap({"0"});
    SetPlot(100, 100);
    EXPECT_EQ(Painter(MapType::Triangle)->CellFromPoint({150, 850}, page, Input()), std::nullopt);
}

} // namespace
