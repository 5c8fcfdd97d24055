#include "scale/MScale.h"
#include "render/PageCoordinateSystem.h"
#include "scale/ScaleTestSupport.h"
#include "setup/DemlaSetup.h"
#include "support/RecordingSurface.h"
#include "support/TempFile.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

using Lines = std::vector<std::string>;

const LegendPlacementSource kPlot{330, 250, 1808, 1550, 1, 30, 2, 40};

// Page 0..3000 x 0..2000 one to one on the device: device y = 2000 - page y.
// The bar stands at (1000, 100), 100 wide and 1800 high.
class LegendDrawing : public ::testing::Test {
protected:
    LegendDrawing() { legend.SetPosition(1000, 100, 100, 1800); }
    // Draws and checks that the surface is left as it was found. The calls
    // that draw, a MoveTo joined to its LineTo as "x y - x y".
    Lines Draw(const DMAT& scale, const LRGBColorVect& colours) {
        surface.ClearLog();
        const RecordingSurface::State before = surface.CurrentState();
        legend.Draw(surface, chart, scale, colours);
        EXPECT_EQ(surface.CurrentState(), before);
        Lines drawn = surface.DrawingCalls();
        for (std::size_t i = 0; i + 1 < drawn.size(); ++i) {
            if (drawn[i].starts_with("MoveTo ")) {
                drawn[i] = drawn[i].substr(7) + " - " + drawn[i + 1].substr(7);
                drawn.erase(drawn.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            }
        }
        return drawn;
    }
    PageCoordinateSystem page{0, 3000, 0, 2000, 0, 3000, 2000, 0};
    CCSystem chart{0, 1, 0, 1, 0, 3000, 0, 2000, page};
    RecordingSurface surface;
    MScale legend;
    LRGBColorVect colours = Colours({1, 2, 3, 4, 5, 6, 7, 8, 9, 0xFFFFFF});
};

TEST_F(LegendDrawing, EightBoundariesMakeNineEqualBoxesWithLabelsAtTheBoundaries) {
    const DMAT eight = Column({0.123456, 1, 2, 3, 4, 5, 6, 7});
    legend.SetTickFormat("F2");
    legend.SyncWithScale(eight);
    // Nine boxes (the missing colour is not shown), a line, a tick and a
    // label at each boundary, then the frame from its left edge upward.
    const Lines drawn = Draw(eight, colours);
    ASSERT_EQ(drawn.size(), 9u + 8 * 3 + 4);
    EXPECT_EQ(drawn[0], "FillRect 1000 1700 1100 1900 brush=solid:0x000001");
    EXPECT_EQ(drawn[8], "FillRect 1000 100 1100 300 brush=solid:0x000009");
    EXPECT_EQ(
        Lines(drawn.begin() + 9, drawn.begin() + 12),
        (Lines{"1000 1700 - 1100 1700", "1100 1700 - 1130 1700", "TextOut 1180 1700 \"0.12\""}));
    EXPECT_EQ(Lines(drawn.end() - 4, drawn.end()),
              (Lines{"1000 1900 - 1000 100", "1000 100 - 1100 100", "1100 100 - 1100 1900",
                     "1100 1900 - 1000 1900"}));
    // A colour table too short for the levels paints what it has.
    EXPECT_EQ(Draw(eight, Colours({1, 2, 3})).size(), 3u + 8 * 3 + 4);

    legend.SetVisible(false);
    Draw(eight, colours);
    EXPECT_TRUE(surface.Log().empty());
    EXPECT_TRUE(legend.GetLabelBoxes().IsEmpty());
}

TEST_F(LegendDrawing, FlagsHideLabelTickAndLineUnlessTheirCountIsWrong) {
    const DMAT three = Column({1, 2, 3});
    legend.SyncWithScale(three);
    legend.GetLevelFlags()[0] = MScale::kHideLabel;
    legend.GetLevelFlags()[1] = MScale::kHideTick;
    legend.GetLevelFlags()[2] = MScale::kHideLine;
    const Lines drawn = Draw(three, Colours({1, 2, 3, 4, 5}));
    EXPECT_EQ(Lines(drawn.begin() + 4, drawn.end() - 4),
              (Lines{"1000 1450 - 1100 1450", "1100 1450 - 1130 1450", "1000 1000 - 1100 1000",
                     "TextOut 1180 1000 \"2.0000\"", "1100 550 - 1130 550",
                     "TextOut 1180 550 \"3.0000\""}));
    // Equal counts keep the flags; another scale clears them.
    legend.SyncWithScale(Column({7, 8, 9}));
    EXPECT_EQ(Hex(legend.GetLevelFlags()), "1 2 4");
    legend.SyncWithScale(Column({1, 2, 3, 4}));
    EXPECT_EQ(Hex(legend.GetLevelFlags()), "0 0 0 0");
    // Four flags for three boundaries say nothing about them.
    legend.GetLevelFlags().Fill(7);
    EXPECT_EQ(Draw(three, Colours({1, 2, 3, 4, 5})).size(), 4u + 3 * 3 + 4);
}

TEST_F(LegendDrawing, HitLabelNeedsThePointStrictlyInsideABox) {
    EXPECT_FALSE(legend.HitLabel({1185, 1690}));
    Draw(Column({1, 2}), colours);
    ASSERT_EQ(legend.GetLabelBoxes().GetCount(), 2u);
    const LOrgSize b = legend.GetLabelBoxes()[1];
    const std::int32_t right = b.left + b.width, bottom = b.top + b.height;
    const std::tuple<std::int32_t, std::int32_t, bool> points[] = {
        {b.left + 1, b.top + 1, true}, {right - 1, bottom - 1, true}, {b.left, b.top + 1, false},
        {right, b.top + 1, false},     {b.left + 1, b.top, false},    {b.left + 1, bottom, false}};
    for (const auto& [x, y, hit] : points) {
        EXPECT_EQ(legend.HitLabel({x, y}), hit ? std::optional(1u) : std::nullopt) << x << "," << y;
    }
}

TEST(LegendSetup, ReadFollowsThePlotOrTakesItsOwnPosition) {
    DemlaSetup reader;
    MScale legend;
    EXPECT_FALSE(legend.Read(reader, TempTestFile("[PLOT.FRAME]").Path(), kPlot));
    ASSERT_TRUE(legend.Read(reader,
                            TempTestFile("[MAP.SCALE]ScaleMargin=60;TickLength=1e12;TickWidth=-2.9;"
                                         "TickFormat=F12345678901234567890;Appearance=65536;"
                                         "Visible=No;")
                                .Path(),
                            kPlot));
    // Beside the plot and as tall, with its frame line width and tick margin;
    // the keys after the margin win, cut toward zero and saturated.
    EXPECT_EQ(std::tuple(legend.GetXOrigin(), legend.GetYOrigin(), legend.GetYSize(),
                         legend.GetFrameLineWidth(), legend.GetTickMargin(), legend.GetTickLength(),
                         legend.GetTickWidth()),
              std::tuple(330 + 1808 + 60, 250, 1550, 1, 40, 2147483647, -2));
    EXPECT_EQ(legend.GetTickFormat(), "F12345678901234");
    EXPECT_NE(legend.GetAppearance(), 0); // must not wrap round to "follow"
    EXPECT_FALSE(legend.IsVisible());
    EXPECT_EQ(legend.GetPlacementFlags(), 0);

    // Appearance not 0: the margin is read, the position stays.
    ASSERT_TRUE(legend.Read(reader, TempTestFile("[MAP.SCALE]ScaleMargin=5;").Path(), kPlot));
    EXPECT_EQ(std::pair(legend.GetScaleMargin(), legend.GetXOrigin()), std::pair(5, 2198));

    // No margin: the position keys present are read and the position is fixed.
    MScale own;
    ASSERT_TRUE(own.Read(reader, TempTestFile("[MAP.SCALE]yOrigin=7.9;ySize=-3;").Path(), kPlot));
    EXPECT_EQ(
        std::tuple(own.GetXOrigin(), own.GetYOrigin(), own.GetYSize(), own.GetPlacementFlags()),
        std::tuple(1000, 7, -3, MScale::kExplicitPosition));
}

TEST(LegendSetup, ScaleSetupIsReadOnlyWithOneRowPerBoundary) {
    DemlaSetup reader;
    MScale legend;
    const DMAT three = Column({1, 2, 3});
    legend.SyncWithScale(three);
    TempTestFile file("[MAP.SCALE]ScaleSetup={1 0 0 1, 0 1 1 0, 0 0 0 1,};"
                      "[OTHER]ScaleSetup={1, 1, 1,};");
    ASSERT_TRUE(legend.Read(reader, file.Path(), kPlot));
    EXPECT_FALSE(legend.ReadScaleSetup(reader, Column({1, 2})));
    EXPECT_EQ(Hex(legend.GetLevelFlags()), "0 0 0");
    ASSERT_TRUE(legend.ReadScaleSetup(reader, three));
    EXPECT_EQ(Hex(legend.GetLevelFlags()), "1 6 0"); // the fourth column is ignored
    ASSERT_TRUE(reader.FindSection(file.Path(), "OTHER"));
    EXPECT_FALSE(legend.ReadScaleSetup(reader, three));

    TempTestFile bad("[MAP.SCALE]ScaleSetup={1, x, 1,};");
    ASSERT_TRUE(reader.FindSection(bad.Path(), "MAP.SCALE"));
    EXPECT_THROW(legend.ReadScaleSetup(reader, three), DemlaSetupException);
}

TEST(LegendSetup, WritesBothPlacementFormsAndReadsBackWhatItWrote) {
    MScale legend;
    std::string text;
    legend.Write(text);
    EXPECT_EQ(text, "ScaleMargin=100;\r\n/@ xOrigin=1000;\r\n/@ yOrigin=400;\r\n/@ xSize=100;\r\n"
                    "/@ ySize=1300;\r\nFrameLineWidth=0;\r\nTickLength=30;\r\nTickWidth=0;\r\n"
                    "TickMargin=50;\r\nTickFormat=F4;\r\nAppearance=0;\r\nVisible=Yes;\r\n");

    // Read back, what it wrote is written again.
    const std::string own =
        "/@ ScaleMargin=100;\r\nxOrigin=11;\r\nyOrigin=-12;\r\nxSize=13;\r\nySize=14;\r\n"
        "LabelFont={-12 0 0 0 700 0 0 0 0 0 0 2 0 \"Times \\\"New\\\"\"};\r\n\r\n"
        "FrameLineWidth=0;\r\nTickLength=30;\r\nTickWidth=0;\r\nTickMargin=50;\r\n"
        "TickFormat=E2;\r\nAppearance=3;\r\nVisible=No;\r\n";
    DemlaSetup reader;
    ASSERT_TRUE(legend.Read(reader, TempTestFile("[MAP.SCALE]\r\n" + own).Path(), kPlot));
    EXPECT_EQ(legend.GetLabelFont().GetFaceName(), "Times \"New\"");
    text.clear();
    legend.Write(text);
    EXPECT_EQ(text, own);
}

} // namespace
