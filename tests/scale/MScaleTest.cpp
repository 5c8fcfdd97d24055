#include "scale/MScale.h"
#include "render/PageCoordinateSystem.h"
#include "scale/ScaleTestSupport.h"
#include "setup/DemlaSetup.h"
#include "setup/DemlaSetupException.h"
#include "support/RecordingSurface.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// A setup file of the given text that lives as long as the object.
class SetupFile {
public:
    explicit SetupFile(const std::string& text) {
        char name[] = "/tmp/demla-legend-XXXXXX";
        close(mkstemp(name));
        path_ = name;
        std::ofstream(path_, std::ios::binary) << text;
    }
    ~SetupFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

const LegendPlacementSource kPlot{330, 250, 1808, 1550, 1, 30, 2, 40};

// Page 0..3000 x 0..2000 one to one on the device: device y = 2000 - page y.
// The bar stands at (1000, 100), 100 wide and 1800 high.
class LegendDrawing : public ::testing::Test {
protected:
    LegendDrawing() { legend.SetPosition(1000, 100, 100, 1800); }
    void Draw(const DMAT& scale, const LRGBColorVect& colours) {
        surface.ClearLog();
        const RecordingSurface::State before = surface.CurrentState();
        legend.Draw(surface, chart, scale, colours);
        EXPECT_EQ(surface.CurrentState(), before);
    }
    // Every segment drawn, as "x1 y1 - x2 y2" in device units.
    std::vector<std::string> Segments() const {
        std::vector<std::string> segments;
        const std::vector<std::string> calls = surface.DrawingCalls();
        for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
            if (calls[i].starts_with("MoveTo ")) {
                segments.push_back(calls[i].substr(7) + " - " + calls[i + 1].substr(7));
            }
        }
        return segments;
    }
    PageCoordinateSystem page{0, 3000, 0, 2000, 0, 3000, 2000, 0};
    CCSystem chart{0, 1, 0, 1, 0, 3000, 0, 2000, page};
    RecordingSurface surface;
    MScale legend;
    DMAT eight = Column({0.123456, 1, 2, 3, 4, 5, 6, 7});
    LRGBColorVect colours = Colours({1, 2, 3, 4, 5, 6, 7, 8, 9, 0xFFFFFF});
};

TEST_F(LegendDrawing, EightBoundariesMakeNineEqualBoxesWithLabelsAtTheBoundaries) {
    legend.SetTickFormat("F2");
    legend.SyncWithScale(eight);
    Draw(eight, colours);
    const std::vector<std::string> calls = surface.DrawingCalls();
    ASSERT_EQ(surface.Count("FillRect"), 9u); // the missing colour is not shown
    EXPECT_EQ(calls[0], "FillRect 1000 1700 1100 1900 brush=solid:0x000001");
    EXPECT_EQ(calls[8], "FillRect 1000 100 1100 300 brush=solid:0x000009");
    // Boundary 1 at one ninth of 1800: internal line, tick, then its label.
    EXPECT_EQ(Segments()[0], "1000 1700 - 1100 1700");
    EXPECT_EQ(Segments()[1], "1100 1700 - 1130 1700");
    EXPECT_EQ(calls[13], "TextOut 1180 1700 \"0.12\"");
    EXPECT_EQ(surface.Count("TextOut"), 8u);
    ASSERT_EQ(Segments().size(), 8u * 2 + 4);
    EXPECT_EQ(Segments()[16], "1000 1900 - 1000 100"); // frame: left edge upward first
    EXPECT_EQ(Segments()[19], "1100 1900 - 1000 1900");

    // A colour table too short for the levels paints what it has.
    Draw(eight, Colours({1, 2, 3}));
    EXPECT_EQ(surface.Count("FillRect"), 3u);
    EXPECT_EQ(surface.Count("TextOut"), 8u);

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
    Draw(three, Colours({1, 2, 3, 4, 5}));
    EXPECT_EQ(surface.Count("TextOut"), 2u); // boundaries 2 and 3
    EXPECT_EQ(Segments(), (std::vector<std::string>{
                              "1000 1450 - 1100 1450", "1100 1450 - 1130 1450", // boundary 1
                              "1000 1000 - 1100 1000",                          // 2: no tick
                              "1100 550 - 1130 550",                            // 3: no line
                              "1000 1900 - 1000 100", "1000 100 - 1100 100", "1100 100 - 1100 1900",
                              "1100 1900 - 1000 1900"}));
    // Equal counts keep the flags; another scale clears them.
    legend.SyncWithScale(Column({7, 8, 9}));
    EXPECT_EQ(legend.GetLevelFlags()[0], MScale::kHideLabel);
    legend.SyncWithScale(eight);
    ASSERT_EQ(legend.GetLevelFlags().GetCount(), 8u);
    EXPECT_EQ(legend.GetLevelFlags()[1], 0u);

    legend.GetLevelFlags().Fill(7);
    Draw(three, Colours({1, 2, 3, 4, 5})); // 8 flags for 3 boundaries: ignored
    EXPECT_EQ(surface.Count("TextOut"), 3u);
    EXPECT_EQ(Segments().size(), 3u * 2 + 4);
}

TEST_F(LegendDrawing, HitLabelNeedsThePointStrictlyInsideABox) {
    EXPECT_FALSE(legend.HitLabel({1185, 1690}));
    Draw(Column({1, 2}), Colours({1, 2, 3, 4}));
    ASSERT_EQ(legend.GetLabelBoxes().GetCount(), 2u);
    const LOrgSize box = legend.GetLabelBoxes()[1];
    EXPECT_EQ(legend.HitLabel({box.left + 1, box.top + 1}), 1u);
    EXPECT_EQ(legend.HitLabel({box.left + box.width - 1, box.top + box.height - 1}), 1u);
    EXPECT_FALSE(legend.HitLabel({box.left, box.top + 1}));
    EXPECT_FALSE(legend.HitLabel({box.left + box.width, box.top + 1}));
    EXPECT_FALSE(legend.HitLabel({box.left + 1, box.top}));
    EXPECT_FALSE(legend.HitLabel({box.left + 1, box.top + box.height}));
}

TEST(LegendSetup, ReadFollowsThePlotOrTakesItsOwnPosition) {
    DemlaSetup reader;
    MScale legend;
    EXPECT_FALSE(legend.Read(reader, SetupFile("[PLOT.FRAME]").Path(), kPlot));

    SetupFile following("[MAP.SCALE]ScaleMargin=60;TickLength=1e12;TickWidth=-2.9;"
                        "TickFormat=F12345678901234567890;Appearance=65536;Visible=No;");
    ASSERT_TRUE(legend.Read(reader, following.Path(), kPlot));
    EXPECT_EQ(legend.GetXOrigin(), 330 + 1808 + 60);
    EXPECT_EQ(legend.GetYOrigin(), 250);
    EXPECT_EQ(legend.GetYSize(), 1550);
    EXPECT_EQ(legend.GetFrameLineWidth(), 1); // from the plot
    EXPECT_EQ(legend.GetTickMargin(), 40);
    EXPECT_EQ(legend.GetTickLength(), 2147483647); // keys after the margin win
    EXPECT_EQ(legend.GetTickWidth(), -2);
    EXPECT_EQ(legend.GetTickFormat(), "F12345678901234");
    EXPECT_NE(legend.GetAppearance(), 0); // must not wrap round to "follow"
    EXPECT_FALSE(legend.IsVisible());
    EXPECT_EQ(legend.GetPlacementFlags(), 0);

    // Appearance off: the margin is read, the position stays.
    ASSERT_TRUE(legend.Read(reader, SetupFile("[MAP.SCALE]ScaleMargin=5;").Path(), kPlot));
    EXPECT_EQ(legend.GetScaleMargin(), 5);
    EXPECT_EQ(legend.GetXOrigin(), 330 + 1808 + 60);

    // No margin: the position keys present are read and the position is fixed.
    MScale own;
    ASSERT_TRUE(own.Read(reader, SetupFile("[MAP.SCALE]yOrigin=7.9;ySize=-3;").Path(), kPlot));
    EXPECT_EQ(own.GetXOrigin(), 1000);
    EXPECT_EQ(own.GetYOrigin(), 7);
    EXPECT_EQ(own.GetYSize(), -3);
    EXPECT_EQ(own.GetPlacementFlags(), MScale::kExplicitPosition);
}

TEST(LegendSetup, ScaleSetupIsReadOnlyWithOneRowPerBoundary) {
    DemlaSetup reader;
    MScale legend;
    const DMAT three = Column({1, 2, 3});
    legend.SyncWithScale(three);
    SetupFile file("[MAP.SCALE]ScaleSetup={1 0 0 1, 0 1 1 0, 0 0 0 1,};"
                   "[OTHER]ScaleSetup={1, 1, 1,};");
    ASSERT_TRUE(legend.Read(reader, file.Path(), kPlot));
    EXPECT_FALSE(legend.ReadScaleSetup(reader, Column({1, 2})));
    EXPECT_EQ(legend.GetLevelFlags()[0], 0u);
    ASSERT_TRUE(legend.ReadScaleSetup(reader, three));
    EXPECT_EQ(legend.GetLevelFlags()[0], MScale::kHideLabel); // the fourth column is ignored
    EXPECT_EQ(legend.GetLevelFlags()[1], MScale::kHideTick | MScale::kHideLine);
    EXPECT_EQ(legend.GetLevelFlags()[2], 0u);
    ASSERT_TRUE(reader.FindSection(file.Path(), "OTHER"));
    EXPECT_FALSE(legend.ReadScaleSetup(reader, three));

    SetupFile bad("[MAP.SCALE]ScaleSetup={1, x, 1,};");
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

    legend.SetPosition(11, -12, 13, 14);
    legend.SetPlacementFlags(MScale::kExplicitPosition);
    FontRecord font = FontRecord::DefaultTextFont();
    font.weight = 700;
    font.SetFaceName("Times \"New\"");
    legend.SetLabelFont(font, 0x0000FF);
    legend.SetTickFormat("E2");
    legend.SetAppearance(3);
    legend.SetVisible(false);
    text.clear();
    legend.Write(text);
    EXPECT_EQ(text,
              "/@ ScaleMargin=100;\r\nxOrigin=11;\r\nyOrigin=-12;\r\nxSize=13;\r\nySize=14;\r\n"
              "LabelFont={-12 0 0 0 700 0 0 0 0 0 0 2 0 \"Times \\\"New\\\"\"};\r\n\r\n"
              "FrameLineWidth=0;\r\nTickLength=30;\r\nTickWidth=0;\r\nTickMargin=50;\r\n"
              "TickFormat=E2;\r\nAppearance=3;\r\nVisible=No;\r\n");

    DemlaSetup reader;
    MScale back(1000);
    ASSERT_TRUE(back.Read(reader, SetupFile("[MAP.SCALE]\r\n" + text).Path(), kPlot));
    EXPECT_EQ(back.GetLabelFont(), font);
    std::string again;
    back.Write(again);
    EXPECT_EQ(again, text);

    // A copy is whole and independent.
    MScale copy;
    copy = legend;
    legend.SetTickFormat("F1");
    again.clear();
    copy.Write(again);
    EXPECT_EQ(again, text);
}

} // namespace
