#include "document/ChartDocument.h"
#include "render/CCSystem.h"
#include "scale/MapScale.h"
#include "support/ScriptedPrompt.h"
#include "view/MapCommands.h"
#include "view/MapHits.h"
#include "view/StatusTexts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using ::testing::HasSubstr;

namespace {

// A document of 4 rows x 6 columns with values row * 10 + column (the
// cell in row 1, column 2 holds 12), one missing cell, boundaries 10, 20,
// 30, a plot of data (1990..1996) x (0..4) on the page rectangle
// (500, 500)-(2100, 1300), and the legend bar at (2300, 500)-(2400, 1300).
// The page system maps page units one to one onto pixels.
class MapEditing : public ::testing::Test {
protected:
    MapEditing() : page(0, 2970, 0, 2100, 0, 2970, 2100, 0) {
        document.DataMatrix = DMAT(4, 6);
        for (std::uint32_t r = 0; r < 4; ++r) {
            for (std::uint32_t c = 0; c < 6; ++c) {
                document.DataMatrix.Set(r, c, r * 10.0 + c);
            }
        }
        document.DataMatrix.Set(3, 5, std::nan(""));
        document.DataMatrix.MarkMissing(std::nan(""));
        SetBoundaries({10, 20, 30});
        PlotFrame& frame = document.Frame;
        frame.x1 = 1990;
        frame.x2 = 1996;
        frame.y1 = 0;
        frame.y2 = 4;
        frame.xOrigin = 500;
        frame.yOrigin = 500;
        frame.xSize = 1600;
        frame.ySize = 800;
        document.Legend.SetPosition(2300, 500, 100, 800);
    }

    void SetBoundaries(const std::vector<double>& values) {
        document.ScaleValues = DMAT(static_cast<std::uint32_t>(values.size()), 1);
        for (std::uint32_t i = 0; i < values.size(); ++i) {
            document.ScaleValues.Set(i, 0, values[i]);
        }
        FitLevelColors(document.LevelColors, document.BoundaryCount(), 0xFFFFFF);
        for (std::uint32_t i = 0; i <= document.BoundaryCount(); ++i) {
            document.LevelColors.Level(i) = 0x100 * (i + 1);
        }
        ClassifyLevels(document.DataMatrix, document.ScaleValues, document.LevelMatrix);
        document.Legend.SyncWithScale(document.ScaleValues);
    }

    std::vector<double> Boundaries() const {
        std::vector<double> values;
        for (std::uint32_t i = 0; i < document.BoundaryCount(); ++i) {
            values.push_back(document.ScaleValues.Get(i, 0));
        }
        return values;
    }

    // The device point of a data point of the plot.
    IntPoint At(double x, double y) const {
        const CCSystem plot(1990, 1996, 0, 4, 500, 2100, 500, 1300, page);
        const DoublePoint device = plot.DataToDevice(x, y);
        return {static_cast<std::int32_t>(std::lround(device.x)),
                static_cast<std::int32_t>(std::lround(device.y))};
    }
    // The cell of row r (counted from the bottom) and column c.
    CellUnderPoint Cell(std::uint32_t r, std::uint32_t c) const {
        const std::optional<CellUnderPoint> cell = CellAt(document, page, At(1990.5 + c, r + 0.5));
        EXPECT_TRUE(cell.has_value());
        return cell.value_or(CellUnderPoint{});
    }
    void Label(MList<WText>& label, const char* text) {
        label.Flush();
        WText line;
        line.text = text;
        label.addAtTail(line);
    }

    ScriptedPrompt prompt;
    ChartDocument document{prompt};
    PageCoordinateSystem page;
};

TEST_F(MapEditing, CellsAndLegendLevelsUnderThePointer) {
    const CellUnderPoint cell = Cell(1, 2);
    EXPECT_EQ(cell.row, 1u);
    EXPECT_EQ(cell.column, 2u);
    EXPECT_EQ(cell.value, 12);
    EXPECT_EQ(cell.level, 1u);
    EXPECT_FALSE(cell.missing);
    EXPECT_TRUE(Cell(3, 5).missing);
    EXPECT_EQ(Cell(3, 5).level, 4u);
    EXPECT_FALSE(CellAt(document, page, At(1989.5, 1)));

    // Legend level k spans page y 500 + k * 200 .. 700 + k * 200.
    EXPECT_EQ(LegendLevelAt(document, page, page.PageToDevice(2350, 510)), 0u);
    EXPECT_EQ(LegendLevelAt(document, page, page.PageToDevice(2350, 1250)), 3u);
    EXPECT_FALSE(LegendLevelAt(document, page, page.PageToDevice(2450, 800)));
    EXPECT_FALSE(LegendLevelAt(document, page, page.PageToDevice(2350, 1350)));
    document.Legend.SetVisible(false);
    EXPECT_FALSE(LegendLevelAt(document, page, page.PageToDevice(2350, 510)));
}

TEST_F(MapEditing, ObjectsHitInTheirOrder) {
    using Kind = ObjectUnderPoint::Kind;
    EXPECT_EQ(ObjectAt(document, page, At(1992.5, 2), true).kind, Kind::PlotArea);
    EXPECT_EQ(ObjectAt(document, page, At(1992.5, 2), false).kind, Kind::Nothing);
    // Below the plot where the bottom ticks stand, not above (no top ticks).
    EXPECT_EQ(ObjectAt(document, page, page.PageToDevice(1000, 490), true).kind, Kind::XTickMargin);
    EXPECT_EQ(ObjectAt(document, page, page.PageToDevice(1000, 1310), true).kind, Kind::Nothing);
    EXPECT_EQ(ObjectAt(document, page, page.PageToDevice(490, 900), true).kind, Kind::YTickMargin);
    const ObjectUnderPoint level = ObjectAt(document, page, page.PageToDevice(2350, 910), true);
    EXPECT_EQ(level.kind, Kind::LegendLevel);
    EXPECT_EQ(level.index, 2u);
    EXPECT_EQ(ObjectAt(document, page, page.PageToDevice(2410, 900), true).kind, Kind::LegendTicks);
    // A line over the plot is found before the plot.
    document.Lines.List().addAtTail(LLine(600, 600, 2000, 1200));
    document.Lines.List()[0].SetCoordinateAttribute(PointAttribute::PageUnits);
    const ObjectUnderPoint line = ObjectAt(document, page, page.PageToDevice(1300, 900), true);
    EXPECT_EQ(line.kind, Kind::Line);
}

TEST_F(MapEditing, ARectangleWithoutFillIsHitOnlyNearItsOutline) {
    using Kind = ObjectUnderPoint::Kind;
    // A page-wide frame drawn round everything, as a title page has one.
    LRectangle frame(100, 100, 2800, 2000);
    frame.SetCoordinateAttribute(PointAttribute::PageUnits);
    frame.SetFill(Brush::Hollow());
    document.Rectangles.List().addAtTail(frame);
    const auto kindAt = [&](double x, double y) {
        return ObjectAt(document, page, page.PageToDevice(x, y), true).kind;
    };
    // What lies inside is reached through it.
    EXPECT_EQ(kindAt(1000, 900), Kind::PlotArea);
    EXPECT_EQ(kindAt(2350, 910), Kind::LegendLevel);
    EXPECT_EQ(kindAt(1000, 490), Kind::XTickMargin);
    // One page unit is one pixel here: the outline reaches 4 pixels to
    // either side of each edge, the bound included.
    for (const double x : {96.0, 100.0, 104.0, 2796.0, 2804.0}) {
        EXPECT_EQ(kindAt(x, 1500), Kind::Rectangle) << x;
    }
    for (const double x : {95.0, 105.0, 2795.0, 2805.0}) {
        EXPECT_NE(kindAt(x, 1500), Kind::Rectangle) << x;
    }
    for (const double y : {96.0, 104.0, 1996.0, 2004.0}) {
        EXPECT_EQ(kindAt(1500, y), Kind::Rectangle) << y;
    }
    for (const double y : {95.0, 105.0, 1995.0, 2005.0}) {
        EXPECT_NE(kindAt(1500, y), Kind::Rectangle) << y;
    }
    // Beyond the corner along the side's line is not the outline.
    EXPECT_NE(kindAt(100, 2010), Kind::Rectangle);

    // Filled (solidly or hatched), it covers what lies under it and is hit
    // anywhere inside, as before.
    for (const Brush fill : {Brush::Solid(0xFF), Brush::Hatched(1, 0xFF)}) {
        document.Rectangles.List()[0].SetFill(fill);
        EXPECT_EQ(kindAt(1000, 900), Kind::Rectangle);
        EXPECT_NE(kindAt(96, 1500), Kind::Rectangle);
    }
}

// The plot area holds the points strictly inside the plot rectangle
// (500, 500)-(2100, 1300): its edges belong to nothing.
TEST_F(MapEditing, ThePlotAreaEndsBeforeItsEdges) {
    using Kind = ObjectUnderPoint::Kind;
    const auto kind = [&](int x, int y) {
        return ObjectAt(document, page, page.PageToDevice(x, y), true).kind;
    };
    document.Frame.xTicksSetup = 0;
    document.Frame.yTicksSetup = 0;
    for (const auto& [x, y] :
         {std::pair{500, 900}, std::pair{2100, 900}, std::pair{1000, 500}, std::pair{1000, 1300}}) {
        EXPECT_EQ(kind(x, y), Kind::Nothing) << x << "," << y;
    }
    for (const auto& [x, y] :
         {std::pair{501, 900}, std::pair{2099, 900}, std::pair{1000, 501}, std::pair{1000, 1299}}) {
        EXPECT_EQ(kind(x, y), Kind::PlotArea) << x << "," << y;
    }
}

TEST_F(MapEditing, StatusTextsFollowTheAxisLabels) {
    struct Case {
        const char* x;
        const char* y;
        const char* pane2;
        const char* pane3;
        const char* pane8;
    };
    // The data point (1990.7, 3.2): floors 1990 and 3.
    const Case cases[] = {
        {"Year", "Age", "y=1990", "a=3", "c=1987"},
        {"age", "YEAR", "a=1990", "y=3", "c=-1988"},
        {"Cohort", "Age", "c=1990", "a=3", "y=1993"},
        {"Age", "Cohort", "a=1990", "c=3", "y=1993"},
        {"Cohort", "Year", "c=1990", "y=3", "a=-1988"},
        {"Year", "Cohort", "y=1990", "c=3", "a=1987"},
        {"Year", "Year", "x=1990.70", "y=3.20", "z=1987.50"},
        {"Time", "Age", "x=1990.70", "y=3.20", "z=1987.50"},
    };
    for (const Case& c : cases) {
        Label(document.Frame.xLabel, c.x);
        Label(document.Frame.yLabel, c.y);
        const StatusTexts texts = MapStatusAt(document, page, At(1990.7, 3.2));
        EXPECT_EQ(texts[2], c.pane2) << c.x << "/" << c.y;
        EXPECT_EQ(texts[3], c.pane3) << c.x << "/" << c.y;
        EXPECT_EQ(texts[8], c.pane8) << c.x << "/" << c.y;
        EXPECT_EQ(texts[1], "v=30.000000 (2)");
    }
    // Below the data range the floor goes down: -0.3 is -1.
    Label(document.Frame.xLabel, "Year");
    Label(document.Frame.yLabel, "Age");
    const StatusTexts outside = MapStatusAt(document, page, At(1989.5, -0.3));
    EXPECT_EQ(outside[1], "");
    EXPECT_EQ(outside[2], "y=1989");
    EXPECT_EQ(outside[3], "a=-1");
    EXPECT_EQ(outside[8], "c=1989");
    const IntPoint p = page.PageToDevice(1000, 1000);
    const StatusTexts pixels = MapStatusAt(document, page, p);
    EXPECT_EQ(pixels[4], "px=1000");
    EXPECT_EQ(pixels[5], "py=1100");
    EXPECT_EQ(pixels[6], "xp=1000");
    EXPECT_EQ(pixels[7], "yp=1000");
}

TEST_F(MapEditing, PullingLinesMovesOrAddsBoundaries) {
    // A middle class: its upper line moves to the cell's value.
    EXPECT_EQ(PullUpperLine(document, Cell(1, 2)), MapEdit::Changed);
    EXPECT_EQ(Boundaries(), (std::vector<double>{10, 12, 30}));
    EXPECT_EQ(document.LevelMatrix.Get(1, 3), 2u); // 13 is above the new line
    EXPECT_EQ(PullLowerLine(document, Cell(2, 4)), MapEdit::Changed);
    EXPECT_EQ(Boundaries(), (std::vector<double>{10, 24, 30}));
    // The top and the bottom class grow a new line instead.
    EXPECT_EQ(PullUpperLine(document, Cell(3, 1)), MapEdit::Changed);
    EXPECT_EQ(Boundaries(), (std::vector<double>{10, 24, 30, 36}));
    EXPECT_EQ(PullLowerLine(document, Cell(0, 1)), MapEdit::Changed);
    EXPECT_EQ(Boundaries(), (std::vector<double>{-4, 10, 24, 30, 36}));
    EXPECT_EQ(document.LevelColors.GetCount(), document.BoundaryCount() + 2);
    EXPECT_EQ(prompt.Count(), 0u);
}

TEST_F(MapEditing, ALineOnAnotherBoundaryIsRefused) {
    // Cell value 20 lies on the upper line of its class (10, 20]: pulling
    // the lower line there would give two lines at 20.
    const CellUnderPoint onLine = Cell(2, 0);
    ASSERT_EQ(onLine.value, 20);
    EXPECT_EQ(PullLowerLine(document, onLine), MapEdit::Unchanged);
    EXPECT_EQ(InsertContourLine(document, onLine), MapEdit::Unchanged);
    EXPECT_EQ(Boundaries(), (std::vector<double>{10, 20, 30}));
    ASSERT_EQ(prompt.Count(), 2u);
    EXPECT_THAT(prompt.Last().text, HasSubstr("20.000000, is a class boundary already"));
    // Pulling the upper line onto itself changes nothing and says nothing.
    EXPECT_EQ(PullUpperLine(document, onLine), MapEdit::Unchanged);
    EXPECT_EQ(prompt.Count(), 2u);
}

TEST_F(MapEditing, ContourLinesRegionsAndLevels) {
    EXPECT_EQ(InsertContourLine(document, Cell(1, 3)), MapEdit::Changed);
    EXPECT_EQ(Boundaries(), (std::vector<double>{10, 13, 20, 30}));
    // The lower part of the cut class is the new, black one.
    EXPECT_EQ(document.LevelColors.Level(1), 0u);
    EXPECT_EQ(DeleteRegion(document, Cell(1, 3)), MapEdit::Changed);
    EXPECT_EQ(Boundaries(), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(InsertLevel(document, 3), MapEdit::Changed);
    EXPECT_EQ(Boundaries(), (std::vector<double>{10, 20, 30, 40}));
    EXPECT_EQ(DeleteLevel(document, 0), MapEdit::Changed);
    EXPECT_EQ(Boundaries(), (std::vector<double>{20, 30, 40}));

    // A missing cell, and a scale of one boundary, leave nothing to delete.
    EXPECT_EQ(DeleteRegion(document, Cell(3, 5)), MapEdit::Unchanged);
    SetBoundaries({15});
    EXPECT_EQ(DeleteRegion(document, Cell(0, 1)), MapEdit::Unchanged);
    EXPECT_EQ(DeleteLevel(document, 0), MapEdit::Unchanged);
}

TEST_F(MapEditing, MenuEnablersFollowTheCell) {
    const CellMenuState middle = CellMenuEnablers(document, Cell(1, 2));
    EXPECT_TRUE(middle.pullUpper && middle.pullLower && middle.insertContour &&
                middle.deleteRegion && middle.changeColor);
    const CellMenuState missing = CellMenuEnablers(document, Cell(3, 5));
    EXPECT_FALSE(missing.pullUpper || missing.insertContour || missing.deleteRegion);
    EXPECT_TRUE(missing.changeColor);
    const CellMenuState none = CellMenuEnablers(document, std::nullopt);
    EXPECT_FALSE(none.pullUpper || none.insertContour || none.deleteRegion);
    SetBoundaries({15});
    EXPECT_FALSE(CellMenuEnablers(document, Cell(0, 1)).deleteRegion);
}

TEST_F(MapEditing, ColourShiftsAndEditStates) {
    const MapEditState before = CaptureEditState(document);
    ShiftLevelColors(document, ColorShift::Reverse);
    EXPECT_EQ(document.LevelColors.Level(0), 0x400u);
    EXPECT_EQ(document.LevelColors.Level(4), 0xFFFFFFu); // the missing colour stays
    EXPECT_EQ(PullUpperLine(document, Cell(1, 2)), MapEdit::Changed);
    const MapEditState after = CaptureEditState(document);
    EXPECT_FALSE(after.SameAs(before));
    RestoreEditState(document, before);
    EXPECT_TRUE(CaptureEditState(document).SameAs(before));
    // The map follows the scale put back.
    EXPECT_EQ(document.LevelMatrix.Get(1, 3), 1u);
    RestoreEditState(document, after);
    EXPECT_EQ(document.LevelMatrix.Get(1, 3), 2u);
}

TEST_F(MapEditing, InfoTellsMatrixAndWindow) {
    EXPECT_EQ(MapInfoText(document, 800, 600),
              "Data Matrix\nRows\t=\t4\nColumns\t=\t6\nNumber of elements per plot unit\n"
              "x-axis\t=\t1\ny-axis\t=\t1\nClient area\nx-pixels\t=\t800\ny-pixels\t=\t600\n");
    document.DataMatrix = DMAT();
    EXPECT_EQ(MapInfoText(document, 10, 20), "Client area\nx-pixels\t=\t10\ny-pixels\t=\t20\n");
}

} // namespace
