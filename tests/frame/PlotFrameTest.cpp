#include "frame/PlotFrame.h"
#include "setup/DemlaSetupException.h"
#include "support/RecordingSurface.h"
#include "support/TempFile.h"

#include <cmath>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace {

using Numbers = std::vector<double>;
using Words = std::vector<std::string>;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;

class PlotFrameTest : public ::testing::Test {
protected:
    // Reads a frame from a temporary setup file of the given text.
    static void ReadText(PlotFrame& frame, const std::string& text) {
        const TempTestFile file(text);
        frame.ReadSetup(file.Path());
    }
    void Read(const std::string& body) { ReadText(frame, "[PLOT.FRAME]\r\n" + body); }
    DemlaSetupException ReadError(const std::string& body) {
        try {
            Read(body);
        } catch (const DemlaSetupException& e) {
            return e;
        }
        ADD_FAILURE() << "no error reading " << body;
        return DemlaSetupException(std::nullopt, std::nullopt, 0);
    }
    static std::string Written(PlotFrame& f) {
        std::string text;
        f.WriteSetup(text);
        return text;
    }
    // The values of a tick list, the texts of a text list.
    static double Item(double value) { return value; }
    static std::string Item(const WText& line) { return line.text; }
    template <typename T>
    static auto Items(MList<T>& list) {
        std::vector<decltype(Item(list[0]))> items;
        for (std::uint32_t i = 0; i < list.GetCount(); ++i) {
            items.push_back(Item(list[i]));
        }
        return items;
    }

    PlotFrame frame;
};

TEST_F(PlotFrameTest, AFileWithoutTheSectionGivesTheDefaultFrame) {
    Read("Title=\"Old\";\r\nxTicks={1950,2000};\r\nxSize=900;\r\nVisible=No;\r\n");
    ASSERT_EQ(Items(frame.title), Words{"Old"});
    // Whatever was loaded before, the same file gives the same frame.
    ReadText(frame, "[SYSTEM]\r\nType=Demla;\r\n");
    EXPECT_TRUE(frame.xTickValues.IsEmpty());
    PlotFrame fresh;
    EXPECT_EQ(Written(frame), Written(fresh));
    EXPECT_EQ(std::pair(frame.xOrigin, frame.yOrigin), std::pair(330, 250));
}

TEST_F(PlotFrameTest, TicksAreMadeFromTheRangeWhenNoListIsGiven) {
    Read("xTicks={1950,2000};\r\nyTicks={0,100,5};\r\n");
    // 1960 is 10 from 1950, not less than half the step of 20.
    EXPECT_EQ(Items(frame.xTickValues), (Numbers{1950, 1960, 1980, 2000}));
    EXPECT_EQ(Items(frame.xTickLabels), (Words{"1950", "1960", "1980", "2000"}));
    EXPECT_EQ(frame.yTickValues.GetCount(), 21u);
    EXPECT_EQ(Items(frame.yTickLabels)[1], "5");
    // Negative ranges: multiples of the step, half a step off both ends.
    Read("xTicks={-25.7,25,10};\r\n");
    EXPECT_EQ(Items(frame.xTickValues), (Numbers{-25, -20, -10, 0, 10, 20, 25}));
    Read("xTicks={0,1,-3};\r\n");
    EXPECT_EQ(Items(frame.xTickLabels), (Words{"0.00", "0.25", "0.50", "0.75", "1.00"}));
    EXPECT_THAT(Written(frame), HasSubstr("\r\nxTicks={0.00,1.00,3};\r\n"));

    // A one-column list takes its values from the leading numbers of the
    // labels; of more columns the second holds the values.
    Read("yTicksList={\"1950\", \" 1960s\", \"none\"};\r\n"
         "xTicksList={\"a\" 1 9, \"b\" 2.5 9,};\r\n");
    EXPECT_EQ(Items(frame.yTickValues), (Numbers{1950, 1960, 0}));
    EXPECT_EQ(Items(frame.yTickLabels), (Words{"1950", " 1960s", "none"}));
    EXPECT_EQ(Items(frame.xTickValues), (Numbers{1, 2.5}));
    EXPECT_EQ(Items(frame.xTickLabels), (Words{"a", "b"}));
}

TEST_F(PlotFrameTest, ErrorsComeOutAndKeepWhatWasRead) {
    EXPECT_EQ(ReadError("Title=\"Kept\";\r\nxTicks={5};\r\n").GetItemName(), "xTicks");
    EXPECT_EQ(Items(frame.title), Words{"Kept"});
    EXPECT_EQ(ReadError("xTicksList={\"a\" 1, 1950 2};\r\n").GetCode(), 20);
    EXPECT_EQ(Items(frame.xTickLabels), Words{"a"}); // a label must be a string
    ReadError("xTicksSetup={\"BothTicks\"};\r\n");
}

TEST_F(PlotFrameTest, HostileRangesAndCountsStayBounded) {
    constexpr std::int32_t kMax = PlotFrame::kMaxAutomaticTicks;
    Read("xTicks={-2e9,2e9};\r\nyTicks={0,1e300,1};\r\n");
    const Numbers x = Items(frame.xTickValues);
    ASSERT_GE(x.size(), 3u);
    EXPECT_LE(x.size(), kMax + 2u);
    EXPECT_EQ(std::pair(x.front(), x.back()), std::pair(-2e9, 2e9));
    for (std::size_t i = 1; i + 1 < x.size(); ++i) {
        EXPECT_TRUE(std::fmod(x[i], 20.0) == 0 && x[i - 1] < x[i]) << x[i];
    }
    EXPECT_LE(frame.yTickValues.GetCount(), kMax + 2u);
    EXPECT_EQ(Items(frame.yTickValues).back(), 2147483647.0);

    // Numeric ticks: the count is capped, also the one that has no negation.
    Read("xTicks={0,1,-2000000000};\r\nyTicks={0,1,-1e300};\r\n");
    EXPECT_EQ(std::tuple(frame.xTickCount, frame.yTickCount, frame.xTickValues.GetCount(),
                         frame.yTickValues.GetCount()),
              std::tuple(kMax, kMax, kMax + 2u, kMax + 2u));

    // Integer keys saturate; sizes that are not positive are refused.
    Read("xOrigin=1e20;\r\nxSize=0;\r\nySize=-4;\r\nTickLength=-1e99;\r\n");
    EXPECT_EQ(std::tuple(frame.xOrigin, frame.xSize, frame.ySize, frame.tickLength),
              std::tuple(2147483647, 1808, 1550, -2147483647 - 1));

    // A range without two integers leaves the ticks alone.
    ASSERT_EQ(Items(frame.xTickValues), (Numbers{0, 1}));
    frame.x1 = 5.5;
    frame.x2 = 5.9;
    frame.MakeIntegerTicks(PlotFrame::XAxis, 1);
    EXPECT_EQ(Items(frame.xTickValues), (Numbers{0, 1}));
}

TEST_F(PlotFrameTest, TickMarginAndTicksSetupWords) {
    // A scalar sets both label gaps; a vector the x gap, x shift, y gap and y
    // shift as far as it goes; anything else nothing. Written short when it can.
    const auto margin = [this](const std::string& value) {
        Read("TickMargin=" + value + ";\r\n");
        const std::string written = Written(frame);
        const std::size_t at = written.find("\r\nTickMargin=") + 13;
        return written.substr(at, written.find(';', at) - at);
    };
    EXPECT_EQ(margin("40"), "40");
    EXPECT_EQ(margin("{40,5,20,0}"), "{40,5,20,0}");
    EXPECT_EQ(margin("{40}"), "{40,0,30,0}");
    EXPECT_EQ(margin("{40 5, 20 0}"), "30");
    EXPECT_EQ(margin(""), "30");

    Read("xTicksSetup={TopTicks, NoLabels, In};\r\nyTicksSetup={LeftTicks, RightLabels};\r\n");
    EXPECT_THAT(Written(frame), HasSubstr("\r\nxTicksSetup={TopTicks, NoLabels, In};\r\n"
                                          "yTicksSetup={LeftTicks, RightLabels, Out};\r\n"));
    // Unknown words (and the words of the other axis) leave their bits; case matters.
    Read("xTicksSetup={LeftTicks, bottomlabels, Sideways};\r\nyTicksSetup=NoTicks;\r\n");
    EXPECT_EQ(frame.xTicksSetup, 5);
    EXPECT_EQ(frame.yTicksSetup, 4);
}

TEST_F(PlotFrameTest, FontKeysGoToTheirLines) {
    // The first key of a name counts; item numbers are plain decimals.
    Read("Title={\"Deaths\", \"Sweden\"};\r\nxLabel=\"Year\";\r\n"
         "xTicksList={\"a\" 0.1, \"b\" 0.2};\r\n"
         "TitleFont.1={-14 0 0 0 700 0 0 0 0 0 0 2 0 \"Times\"};\r\n"
         "TitleFont.0={-12 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"};\r\n"
         "TitleFont.1={-99 0 0 0 400 0 0 0 0 0 0 2 0 \"Later\"};\r\n"
         "xTicksFont.01={-8 0 0 0 400 0 0 0 0 0 0 2 0 \"Padded\"};\r\n"
         "xTicksFont.1={-8 0 0 0 400 0 0 0 0 0 0 2 0 \"Small\"};\r\n"
         "xLabelFont.1={-8 0 0 0 400 0 0 0 0 0 0 2 0 \"NoSuchLine\"};\r\n");
    EXPECT_THAT(
        Written(frame),
        HasSubstr("\r\nTitleFont.0={-12 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"};\r\n"
                  "TitleFont.1={-14 0 0 0 700 0 0 0 0 0 0 2 0 \"Times\"};\r\n"
                  "xTicksFont.1={-8 0 0 0 400 0 0 0 0 0 0 2 0 \"Small\"};\r\nxTicksSetup="));
}

TEST_F(PlotFrameTest, ReadingBackWhatWasWrittenGivesTheSameText) {
    const std::string section =
        "[PLOT.FRAME]\r\nTitle={\r\n\"Mortality\",\r\n\"Sweden \\\"1950\\\"\"\r\n};\r\n"
        "yLabel={\r\n\"Age\"\r\n};\r\nxTicks={1950.00,2000.00,0};\r\nxTicksList={\r\n"
        "\"1950\" 1950.00,\r\n\"2000\" 2000.00\r\n};\r\nyTicks={0.0,1.0,0};\r\nyTicksList={\r\n"
        "\"low\" 0.0,\r\n\"mid\" 0.5,\r\n\"high\" 1.0\r\n};\r\nxFormat=F2;\r\nyFormat=F1;\r\n"
        "TickWidth=2;\r\nTickLength=25;\r\nTickMargin={40,5,20,0};\r\nTextFrameHeight=70;\r\n"
        "TitleMargin=11;\r\nxLabelMargin=90;\r\nyLabelMargin=140;\r\nFrameLineWidth=3;\r\n"
        "xOrigin=300;\r\nyOrigin=200;\r\nxSize=1700;\r\nySize=1500;\r\nxGridLines=Yes;\r\n"
        "yGridLines=Yes;\r\nxGridLineWidth=4;\r\nxGridLineColor=16777215;\r\n"
        "xGridLineType=2;\r\nyGridLineWidth=5;\r\nyGridLineColor=255;\r\nyGridLineType=3;\r\n"
        "TitleFont.1={-14 0 0 0 700 0 0 0 0 0 0 2 0 \"Times\"};\r\n"
        "yLabelFont.0={-12 0 900 0 400 0 0 0 0 0 0 2 0 \"Arial\"};\r\n"
        "yTicksFont.2={-8 0 0 0 400 1 0 0 0 0 0 2 0 \"Arial\"};\r\n"
        "xTicksSetup={BothTicks, TopLabels, In};\r\nyTicksSetup={RightTicks, BothLabels, Out};\r\n"
        "Visible=No;\r\nFrameRectangleVisible=No;\r\n";
    ReadText(frame, section);
    EXPECT_EQ(Items(frame.title)[1], "Sweden \"1950\"");
    EXPECT_EQ(Written(frame), section);
}

TEST_F(PlotFrameTest, QuotesTrailingBackslashesAndInfiniteTicksReadBack) {
    Read("yLabel=\"Age\";\r\nxTicksList={\"5\\\" gauge\" 0.5, \"far\" 1e999};\r\n");
    frame.title.addAtTail(WText{.font = {}, .text = "C:\\"});
    const std::string written = Written(frame);
    EXPECT_THAT(written, HasSubstr("xTicksList={\r\n\"5\\\" gauge\" 0.50,\r\n"));
    ReadText(frame, written);
    EXPECT_EQ(Items(frame.xTickLabels), (Words{"5\" gauge", "far"}));
    EXPECT_EQ(Items(frame.xTickValues), (Numbers{0.5, HUGE_VAL}));
    // The backslash keeps a blank after it so that the string can close.
    EXPECT_EQ(Items(frame.title), Words{"C:\\ "});
    EXPECT_EQ(Items(frame.yLabel), Words{"Age"});
}

// A plot of 2000 x 1200 page units at (400, 400), 0..100 on both axes ticked at 0,
// 50 and 100, on half a pixel per page unit: data (v, w) is pixel (200 + 10 v, 800 - 6 w).
// Default fonts are 21 pixels high: n characters are round(12.6 n) pixels wide.
class PlotFrameDrawTest : public PlotFrameTest {
protected:
    PlotFrameDrawTest() {
        frame.xOrigin = frame.yOrigin = 400;
        frame.xSize = 2000;
        frame.ySize = 1200;
        frame.x2 = frame.y2 = 100;
        PlotFrame::MakeNumericTicks(0, 100, 1, frame.xTickLabels, frame.xTickValues, "F0");
        PlotFrame::MakeNumericTicks(0, 100, 1, frame.yTickLabels, frame.yTickValues, "F0");
        frame.title.addAtTail(WText{.font = {}, .text = "Main"});
        frame.xLabel.addAtTail(WText{.font = {}, .text = "Year"});
        frame.yLabel.addAtTail(WText{.font = {}, .text = "Age"});
    }
    // Draws the frame and checks that the surface is left as it was found.
    void Draw() {
        surface.ClearLog();
        const RecordingSurface::State before = surface.CurrentState();
        frame.Draw(surface, chart);
        EXPECT_EQ(surface.CurrentState(), before);
    }
    // The drawing calls of one kind without their name; a MoveTo joined to
    // its LineTo as "x y - x y".
    Words Drawn(const std::string& op) const {
        Words drawn;
        const Words calls = surface.DrawingCalls();
        for (std::size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].starts_with(op + " ")) {
                drawn.push_back(calls[i].substr(op.size() + 1));
                if (op == "MoveTo") {
                    drawn.back() += " - " + calls[++i].substr(7);
                }
            }
        }
        return drawn;
    }
    // The frame text at the device point, "kind index"; "none" and the kind left as it was.
    std::string TextAt(std::int32_t x, std::int32_t y) const {
        int kind = -1;
        std::uint32_t index = 0;
        return frame.FindFrameText({x, y}, kind, index)
                   ? std::to_string(kind) + " " + std::to_string(index)
                   : "none " + std::to_string(kind);
    }

    PageCoordinateSystem page{0, 3000, 0, 2000, 0, 1500, 1000, 0};
    CCSystem chart{0, 100, 0, 100, 400, 2400, 400, 1600, page};
    RecordingSurface surface;
};

TEST_F(PlotFrameDrawTest, DefaultFrameDrawsTicksLabelsTextsAndRectangleInOrder) {
    Draw();
    // x ticks below the plot, y ticks on both sides, all pointing out; the rectangle.
    EXPECT_EQ(
        Drawn("MoveTo"),
        (Words{"200 800 - 200 815", "700 800 - 700 815", "1200 800 - 1200 815", "200 800 - 185 800",
               "1200 800 - 1215 800", "200 500 - 185 500", "1200 500 - 1215 500",
               "200 200 - 185 200", "1200 200 - 1215 200", "200 800 - 200 200",
               "200 200 - 1200 200", "1200 200 - 1200 800", "1200 800 - 200 800"}));
    // The x-label box 80 + 30 + 42 + 30 below the plot, the y-label box 130 +
    // 76 (widest y label) + 30 + 30 left of it.
    EXPECT_EQ(Drawn("TextOut"), (Words{"200 830 \"0\"", "700 830 \"50\"", "1200 830 \"100\"",
                                       "170 800 \"0\"", "170 500 \"50\"", "170 200 \"100\"",
                                       "700 185 \"Main\"", "700 906 \"Year\"", "82 500 \"Age\""}));
    EXPECT_EQ(surface.Count("SetTextAlign center|top"), 3u);
    EXPECT_EQ(surface.Count("SetTextAlign right|baseline"), 3u);
    std::int32_t width = 0, height = 0;
    frame.DrawXTicks(surface, chart, width, height);
    EXPECT_EQ(std::pair(width, height), std::pair(38, 21)); // "100"
}

TEST_F(PlotFrameDrawTest, XTicksSetupMovesTheXLabelAndTheTitleLines) {
    frame.xTicksSetup = 0;
    Draw();
    EXPECT_EQ(Drawn("MoveTo").size(), 6u + 4u);         // y ticks and the rectangle
    EXPECT_EQ(Drawn("TextOut").size(), 3u + 3u);        // y labels, title, x and y labels
    EXPECT_EQ(Drawn("TextOut")[4], "700 855 \"Year\""); // box top 80 below the plot
    EXPECT_TRUE(frame.GetTextRects(BottomXTickLabels).IsEmpty());
    frame.xTicksSetup = TicksSetup::FirstTicks | TicksSetup::FirstLabels | TicksSetup::In;
    Draw();
    EXPECT_EQ(Drawn("MoveTo")[1], "700 800 - 700 785");
    EXPECT_THAT(Drawn("TextOut"), IsSupersetOf({"700 815 \"50\"", "700 891 \"Year\""}));
    // Out on top, the title goes up by the tick length, the gap and the label
    // height, a second line one text frame height (30 pixels) higher; the x
    // label loses them all.
    frame.xTicksSetup = TicksSetup::SecondTicks | TicksSetup::SecondLabels;
    frame.title.addAtTail(WText{.font = {}, .text = "Sub"});
    Draw();
    EXPECT_EQ(Drawn("MoveTo")[1], "700 200 - 700 185");
    EXPECT_THAT(Drawn("TextOut"), IsSupersetOf({"700 170 \"50\"", "700 134 \"Main\"",
                                                "700 104 \"Sub\"", "700 855 \"Year\""}));
    EXPECT_EQ(frame.GetTextRects(TopXTickLabels).GetCount(), 3u);
}

TEST_F(PlotFrameDrawTest, RightYLabelsTakeNoRoomFromTheYLabel) {
    frame.yTicksSetup = TicksSetup::FirstTicks | TicksSetup::SecondTicks;
    Draw();
    EXPECT_EQ(Drawn("TextOut").back(), "135 500 \"Age\"");
    frame.yTicksSetup |= TicksSetup::SecondLabels;
    Draw();
    EXPECT_EQ(Drawn("TextOut").back(), "135 500 \"Age\"");
    EXPECT_THAT(Drawn("TextOut"), IsSupersetOf({"1230 500 \"50\""}));
    EXPECT_EQ(surface.Count("SetTextAlign left|baseline"), 3u);
    std::int32_t width = -1, height = -1;
    frame.DrawYTicks(surface, chart, width, height);
    EXPECT_EQ(std::pair(width, height), std::pair(0, 0));
}

TEST_F(PlotFrameDrawTest, GridLinesStrictlyInsideDrawnLastAndNothingWhenInvisible) {
    frame.xGridLines = frame.yGridLines = true;
    frame.xGridLineColor = 0x00ff00;
    frame.xGridLineType = PenStyle::Dash;
    frame.yGridLineColor = 0xff0000;
    frame.yGridLineType = PenStyle::Dot;
    frame.yGridLineWidth = 4; // 2 pixels
    Draw();
    EXPECT_EQ(surface.Count("SelectPen dash:0:0x00ff00"), 1u);
    EXPECT_EQ(surface.Count("SelectPen dot:2:0xff0000"), 1u);
    // Ticks at 0 and 100 keep their tick and label but get no grid line.
    const Words segments = Drawn("MoveTo");
    ASSERT_EQ(segments.size(), 3u + 6u + 4u + 2u);
    EXPECT_EQ(Words(segments.begin() + 13, segments.end()),
              (Words{"700 800 - 700 200", "200 500 - 1200 500"}));
    EXPECT_THAT(Drawn("TextOut"), IsSupersetOf({"200 830 \"0\"", "1200 830 \"100\""}));

    ASSERT_EQ(TextAt(700, 845), "3 1");
    frame.visible = false;
    Draw();
    EXPECT_TRUE(surface.Log().empty());
    EXPECT_EQ(TextAt(700, 845), "none -1");
    frame.visible = true;
    frame.xGridLines = frame.yGridLines = false;
    frame.frameRectangleVisible = 0;
    Draw();
    EXPECT_EQ(Drawn("MoveTo").size(), 9u);
}

TEST_F(PlotFrameDrawTest, FindFrameTextSearchesInOrderWithStrictBounds) {
    // Title line 0 laid over the bottom x label "50" (box 688..713 x
    // 830..851); line 0 covers 813..834, line 1 ("Sub") 783..804.
    frame.title[0].text = "50";
    frame.title.addAtTail(WText{.font = {}, .text = "Sub"});
    frame.titleMargin = -1290;
    Draw();
    const std::tuple<int, int, const char*> cases[] = {
        {700, 832, "0 0"},     {700, 790, "0 1"},    {700, 845, "3 1"},     {689, 845, "3 1"},
        {712, 850, "3 1"},     {160, 495, "5 1"},    {688, 845, "none -1"}, {713, 845, "none -1"},
        {700, 851, "none -1"}, {700, 600, "none -1"}};
    for (const auto& [x, y, found] : cases) {
        EXPECT_EQ(TextAt(x, y), found) << x << "," << y;
    }
}

} // namespace
