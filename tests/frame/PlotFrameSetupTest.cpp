#include "FrameTestSupport.h"
#include "render/FontValue.h"
#include "setup/DemlaSetupException.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Numbers = std::vector<double>;
using Words = std::vector<std::string>;

const char* const kDefaultSection = "[PLOT.FRAME]\r\n"
                                    "xTicks={0.00,1.00,0};\r\n"
                                    "yTicks={0.00,1.00,0};\r\n"
                                    "xFormat=F2;\r\n"
                                    "yFormat=F2;\r\n"
                                    "TickWidth=0;\r\n"
                                    "TickLength=30;\r\n"
                                    "TickMargin=30;\r\n"
                                    "TextFrameHeight=60;\r\n"
                                    "TitleMargin=0;\r\n"
                                    "xLabelMargin=80;\r\n"
                                    "yLabelMargin=130;\r\n"
                                    "FrameLineWidth=1;\r\n"
                                    "xOrigin=330;\r\n"
                                    "yOrigin=250;\r\n"
                                    "xSize=1808;\r\n"
                                    "ySize=1550;\r\n"
                                    "xGridLines=No;\r\n"
                                    "yGridLines=No;\r\n"
                                    "xGridLineWidth=0;\r\n"
                                    "xGridLineColor=0;\r\n"
                                    "xGridLineType=0;\r\n"
                                    "yGridLineWidth=0;\r\n"
                                    "yGridLineColor=0;\r\n"
                                    "yGridLineType=0;\r\n"
                                    "xTicksSetup={BottomTicks, BottomLabels, Out};\r\n"
                                    "yTicksSetup={BothTicks, LeftLabels, Out};\r\n"
                                    "Visible=Yes;\r\n"
                                    "FrameRectangleVisible=Yes;\r\n";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(PlotFrameReading, AFileWithoutTheSectionGivesTheDefaultFrame) {
    PlotFrame frame;
    ReadFrame(frame, "Title=\"Old\";\r\nxTicks={1950,2000};\r\nxSize=900;\r\nVisible=No;\r\n");
    ASSERT_EQ(Texts(frame.title), Words{"Old"});

    // Whatever was loaded before, the same file gives the same frame.
    TempSetupFile file("[SYSTEM]\r\nType=Demla;\r\n");
    frame.ReadSetup(file.Path());
    EXPECT_EQ(Written(frame), kDefaultSection);
    EXPECT_TRUE(frame.title.IsEmpty());
    EXPECT_TRUE(frame.xTickLabels.IsEmpty());
    EXPECT_TRUE(frame.xTickValues.IsEmpty());
    EXPECT_EQ(frame.xOrigin, 330);
    EXPECT_EQ(frame.ySize, 1550);
    EXPECT_EQ(frame.x2, 1.0);
    EXPECT_TRUE(frame.visible);
}

TEST(PlotFrameReading, TicksAreMadeFromTheRangeWhenNoListIsGiven) {
    PlotFrame frame;
    ReadFrame(frame, "xTicks={1950,2000};\r\nyTicks={0,100,5};\r\n");
    // 1960 is 10 from 1950, not less than half the step of 20.
    EXPECT_EQ(Values(frame.xTickValues), (Numbers{1950, 1960, 1980, 2000}));
    EXPECT_EQ(Texts(frame.xTickLabels), (Words{"1950", "1960", "1980", "2000"}));
    EXPECT_EQ(frame.yTickValues.GetCount(), 21u);
    EXPECT_EQ(Texts(frame.yTickLabels)[1], "5");

    // Negative ranges: multiples of the step, half a step off both ends.
    ReadFrame(frame, "xTicks={-25.7,25,10};\r\n");
    EXPECT_EQ(Values(frame.xTickValues), (Numbers{-25, -20, -10, 0, 10, 20, 25}));

    ReadFrame(frame, "xTicks={0,1,-3};\r\nxFormat=F2;\r\n");
    EXPECT_EQ(Texts(frame.xTickLabels), (Words{"0.00", "0.25", "0.50", "0.75", "1.00"}));
    EXPECT_EQ(frame.xTickCount, 3);
    EXPECT_TRUE(Contains(Written(frame), "\r\nxTicks={0.00,1.00,3};\r\n"));

    // A one-column list takes its values from the leading numbers of the
    // labels, on both axes; two columns give them explicitly.
    ReadFrame(frame, "yTicksList={\"1950\", \" 1960s\", \"none\"};\r\n"
                     "xTicksList={\"a\" 1, \"b\" 2.5};\r\n");
    EXPECT_EQ(Values(frame.yTickValues), (Numbers{1950, 1960, 0}));
    EXPECT_EQ(Texts(frame.yTickLabels), (Words{"1950", " 1960s", "none"}));
    EXPECT_EQ(Values(frame.xTickValues), (Numbers{1, 2.5}));

    // Further columns are passed over; a label must be a string.
    ReadFrame(frame, "xTicksList={\"a\" 1 9, \"b\" 2 9,};\r\n");
    EXPECT_EQ(Values(frame.xTickValues), (Numbers{1, 2}));
    EXPECT_EQ(Texts(frame.xTickLabels), (Words{"a", "b"}));
    try {
        ReadFrame(frame, "xTicksList={\"a\" 1, 1950 2};\r\n");
        ADD_FAILURE() << "no exception";
    } catch (const DemlaSetupException& e) {
        EXPECT_EQ(e.GetCode(), 20);
        EXPECT_EQ(Texts(frame.xTickLabels), Words{"a"});
    }
}

TEST(PlotFrameReading, HostileRangesAndCountsStayBounded) {
    PlotFrame frame;
    ReadFrame(frame, "xTicks={-2e9,2e9};\r\nyTicks={0,1e300,1};\r\n");
    const Numbers x = Values(frame.xTickValues);
    ASSERT_GE(x.size(), 3u);
    EXPECT_LE(x.size(), PlotFrame::kMaxAutomaticTicks + 2u);
    EXPECT_EQ(x.front(), -2e9);
    EXPECT_EQ(x.back(), 2e9);
    for (std::size_t i = 1; i + 1 < x.size(); ++i) {
        EXPECT_EQ(std::fmod(x[i], 20.0), 0.0) << x[i];
        EXPECT_LT(x[i - 1], x[i]);
    }
    const Numbers y = Values(frame.yTickValues);
    EXPECT_LE(y.size(), PlotFrame::kMaxAutomaticTicks + 2u);
    EXPECT_EQ(y.back(), 2147483647.0);

    // Numeric ticks: the count is capped, also the one that has no negation.
    ReadFrame(frame, "xTicks={0,1,-2000000000};\r\nyTicks={0,1,-1e300};\r\n");
    EXPECT_EQ(frame.xTickCount, PlotFrame::kMaxAutomaticTicks);
    EXPECT_EQ(frame.xTickValues.GetCount(), PlotFrame::kMaxAutomaticTicks + 2u);
    EXPECT_EQ(frame.yTickCount, PlotFrame::kMaxAutomaticTicks);
    EXPECT_EQ(frame.yTickLabels.GetCount(), frame.yTickValues.GetCount());

    // Integer keys saturate; sizes that are not positive are refused.
    ReadFrame(frame, "xOrigin=1e20;\r\nxSize=0;\r\nySize=-4;\r\nTickLength=-1e99;\r\n");
    EXPECT_EQ(frame.xOrigin, 2147483647);
    EXPECT_EQ(frame.xSize, 1808);
    EXPECT_EQ(frame.ySize, 1550);
    EXPECT_EQ(frame.tickLength, -2147483647 - 1);

    // A range without two integers leaves the ticks alone.
    ASSERT_EQ(Values(frame.xTickValues), (Numbers{0, 1}));
    frame.x1 = 5.5;
    frame.x2 = 5.9;
    frame.MakeIntegerTicks(PlotFrame::XAxis, 1);
    EXPECT_EQ(Values(frame.xTickValues), (Numbers{0, 1}));
}

TEST(PlotFrameReading, TickMarginSetsGapsAndShifts) {
    PlotFrame frame;
    ReadFrame(frame, "TickMargin=40;\r\n");
    EXPECT_EQ(frame.xLabelGap, 40);
    EXPECT_EQ(frame.yLabelGap, 40);
    EXPECT_EQ(frame.xLabelShift, 0);
    EXPECT_TRUE(Contains(Written(frame), "\r\nTickMargin=40;\r\n"));

    ReadFrame(frame, "TickMargin={40,5,20,0};\r\n");
    EXPECT_EQ(frame.xLabelShift, 5);
    EXPECT_EQ(frame.yLabelGap, 20);
    EXPECT_TRUE(Contains(Written(frame), "\r\nTickMargin={40,5,20,0};\r\n"));

    ReadFrame(frame, "TickMargin={40};\r\n");
    EXPECT_EQ(frame.xLabelGap, 40);
    EXPECT_EQ(frame.yLabelGap, 30);

    ReadFrame(frame, "TickMargin={40 5, 20 0};\r\n");
    EXPECT_EQ(frame.xLabelGap, 30);
    ReadFrame(frame, "TickMargin=;\r\n");
    EXPECT_EQ(frame.xLabelGap, 30);
}

TEST(PlotFrameReading, TicksSetupWords) {
    PlotFrame frame;
    ReadFrame(frame, "xTicksSetup={TopTicks, NoLabels, In};\r\n"
                     "yTicksSetup={LeftTicks, RightLabels};\r\n");
    EXPECT_EQ(frame.xTicksSetup, 18);
    EXPECT_EQ(frame.yTicksSetup, 1 | 8);
    const std::string written = Written(frame);
    EXPECT_TRUE(Contains(written, "\r\nxTicksSetup={TopTicks, NoLabels, In};\r\n"));
    EXPECT_TRUE(Contains(written, "\r\nyTicksSetup={LeftTicks, RightLabels, Out};\r\n"));

    // Unknown words (and the words of the other axis) leave their bits;
    // case matters.
    ReadFrame(frame, "xTicksSetup={LeftTicks, bottomlabels, Sideways};\r\n"
                     "yTicksSetup=NoTicks;\r\n");
    EXPECT_EQ(frame.xTicksSetup, 5);
    EXPECT_EQ(frame.yTicksSetup, 4);
}

TEST(PlotFrameReading, TextLinesAndTheirFonts) {
    PlotFrame frame;
    ReadFrame(frame, "Title={\"Deaths\", \"Sweden \\\"1950\\\"\"};\r\n"
                     "xLabel=\"Year\";\r\n"
                     "xTicksList={\"a\" 0.1, \"b\" 0.2};\r\n"
                     "TitleFont.1={-14 0 0 0 700 0 0 0 0 0 0 2 0 \"Times\"};\r\n"
                     "TitleFont.0={-12 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"};\r\n"
                     "TitleFont.1={-99 0 0 0 400 0 0 0 0 0 0 2 0 \"Later\"};\r\n"
                     "xTicksFont.01={-8 0 0 0 400 0 0 0 0 0 0 2 0 \"Padded\"};\r\n"
                     "xTicksFont.1={-8 0 0 0 400 0 0 0 0 0 0 2 0 \"Small\"};\r\n"
                     "xLabelFont.1={-8 0 0 0 400 0 0 0 0 0 0 2 0 \"NoSuchLine\"};\r\n");
    ASSERT_EQ(Texts(frame.title), (Words{"Deaths", "Sweden \"1950\""}));
    EXPECT_EQ(frame.title[0].font->GetFaceName(), "Arial");
    // The first key of a name counts.
    EXPECT_EQ(frame.title[1].font->GetFaceName(), "Times");
    EXPECT_EQ(frame.title[1].font->weight, 700);
    EXPECT_FALSE(frame.xTickLabels[0].font.has_value());
    EXPECT_EQ(frame.xTickLabels[1].font->GetFaceName(), "Small");
    EXPECT_FALSE(frame.xLabel[0].font.has_value());

    const std::string written = Written(frame);
    EXPECT_TRUE(Contains(written,
                         "[PLOT.FRAME]\r\nTitle={\r\n\"Deaths\",\r\n"
                         "\"Sweden \\\"1950\\\"\"\r\n};\r\nxLabel={\r\n\"Year\"\r\n};\r\n"));
    EXPECT_TRUE(Contains(written, "\r\nTitleFont.0={-12 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"};\r\n"
                                  "TitleFont.1={-14 0 0 0 700 0 0 0 0 0 0 2 0 \"Times\"};\r\n"
                                  "xTicksFont.1={-8 0 0 0 400 0 0 0 0 0 0 2 0 \"Small\"};\r\n"));
}

TEST(PlotFrameReading, ErrorsComeOutAndKeepWhatWasRead) {
    PlotFrame frame;
    TempSetupFile file("[PLOT.FRAME]\r\nTitle=\"Kept\";\r\nxTicks={5};\r\n");
    try {
        frame.ReadSetup(file.Path());
        FAIL() << "no exception";
    } catch (const DemlaSetupException& e) {
        EXPECT_EQ(e.GetItemName(), "xTicks");
    }
    EXPECT_EQ(Texts(frame.title), Words{"Kept"});

    EXPECT_THROW(ReadFrame(frame, "xTicksSetup={\"BothTicks\"};\r\n"), DemlaSetupException);
}

TEST(PlotFrameWriting, ReadingBackGivesTheSameFrame) {
    const std::string body =
        "Title={\"Mortality\", \"Sweden\"};\r\n"
        "yLabel=\"Age\";\r\n"
        "xTicks={1950,2000,10};\r\n"
        "yTicks={0,1};\r\nyTicksList={\"low\" 0, \"mid\" 0.5, \"high\" 1};\r\n"
        "yFormat=F1;\r\n"
        "TickWidth=2;\r\nTickLength=25;\r\nTickMargin={40,5,20,0};\r\n"
        "TextFrameHeight=70;\r\nTitleMargin=11;\r\nxLabelMargin=90;\r\nyLabelMargin=140;\r\n"
        "FrameLineWidth=3;\r\nxOrigin=300;\r\nyOrigin=200;\r\nxSize=1700;\r\nySize=1500;\r\n"
        "xGridLines=Yes;\r\nyGridLines=yes;\r\nxGridLineWidth=4;\r\nxGridLineColor=16777215;\r\n"
        "xGridLineType=2;\r\nyGridLineWidth=5;\r\nyGridLineColor=255;\r\nyGridLineType=3;\r\n"
        "TitleFont.1={-14 0 0 0 700 0 0 0 0 0 0 2 0 \"Times\"};\r\n"
        "yLabelFont.0={-12 0 900 0 400 0 0 0 0 0 0 2 0 \"Arial\"};\r\n"
        "yTicksFont.2={-8 0 0 0 400 1 0 0 0 0 0 2 0 \"Arial\"};\r\n"
        "xTicksSetup={BothTicks, TopLabels, In};\r\nyTicksSetup={RightTicks, BothLabels};\r\n"
        "Visible=No;\r\nFrameRectangleVisible=No;\r\n";
    PlotFrame first;
    ReadFrame(first, body);
    const std::string written = Written(first);

    TempSetupFile file(written);
    PlotFrame second;
    second.ReadSetup(file.Path());
    EXPECT_EQ(Written(second), written);
    EXPECT_EQ(Values(second.xTickValues), Values(first.xTickValues));
    EXPECT_EQ(Texts(second.yTickLabels), (Words{"low", "mid", "high"}));
    EXPECT_EQ(second.yTickLabels[2].font, first.yTickLabels[2].font);
    EXPECT_EQ(second.xGridLineColor, 16777215u);
    EXPECT_FALSE(second.visible);
    EXPECT_EQ(second.frameRectangleVisible, 0);

    for (const char* line :
         {"\r\nTickMargin={40,5,20,0};\r\n", "\r\nxTicksSetup={BothTicks, TopLabels, In};\r\n",
          "\r\nyTicksSetup={RightTicks, BothLabels, Out};\r\n",
          "\r\nTitleFont.1={-14 0 0 0 700 0 0 0 0 0 0 2 0 \"Times\"};\r\n",
          "\r\nyLabelFont.0={-12 0 900 0 400 0 0 0 0 0 0 2 0 \"Arial\"};\r\n",
          "\r\nxTicksList={\r\n\"1950\" 1950.00,\r\n\"1960\" 1960.00,\r\n",
          "\"2000\" 2000.00\r\n};\r\n", "\r\nyGridLines=Yes;\r\n"}) {
        EXPECT_TRUE(Contains(written, line)) << line;
    }
}

TEST(PlotFrameWriting, AQuoteInATickLabelSurvivesTheRoundTrip) {
    PlotFrame frame;
    ReadFrame(frame, "xTicksList={\"5\\\" gauge\" 0.5, \"plain\" 1};\r\n");
    ASSERT_EQ(Texts(frame.xTickLabels), (Words{"5\" gauge", "plain"}));

    const std::string written = Written(frame);
    EXPECT_TRUE(Contains(written, "xTicksList={\r\n\"5\\\" gauge\" 0.50,\r\n\"plain\" 1.00\r\n};"));
    TempSetupFile file(written);
    PlotFrame back;
    back.ReadSetup(file.Path());
    EXPECT_EQ(Texts(back.xTickLabels), (Words{"5\" gauge", "plain"}));
    EXPECT_EQ(Values(back.xTickValues), (Numbers{0.5, 1}));
}

TEST(PlotFrameWriting, ATrailingBackslashAndAnInfiniteTickStillReadBack) {
    PlotFrame frame;
    ReadFrame(frame, "yLabel=\"Age\";\r\nxTicksList={\"far\" 1e999, \"near\" 1};\r\n");
    WText folder;
    folder.text = "C:\\";
    frame.title.addAtTail(folder);
    TempSetupFile file(Written(frame));
    PlotFrame back;
    back.ReadSetup(file.Path());
    // The backslash keeps a blank after it so that the string can close.
    EXPECT_EQ(Texts(back.title), Words{"C:\\ "});
    EXPECT_EQ(Texts(back.yLabel), Words{"Age"});
    EXPECT_EQ(Values(back.xTickValues), (Numbers{HUGE_VAL, 1}));
}

} // namespace
