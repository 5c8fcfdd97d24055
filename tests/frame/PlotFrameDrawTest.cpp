#include "FrameTestSupport.h"
#include "render/CCSystem.h"
#include "render/PageCoordinateSystem.h"
#include "support/RecordingSurface.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// A page of 3000 x 2000 page units on 1500 x 1000 pixels (half a pixel per
// page unit) and a plot of 2000 x 1200 page units at (400, 400) showing
// 0..100 on both axes: data (v, w) lands on device (200 + 10 v, 800 - 6 w).
// Default fonts are 21 pixels high there, so a label of n characters is
// round(12.6 n) pixels wide and its height h is 42 page units.
class PlotFrameDrawTest : public ::testing::Test {
protected:
    PlotFrameDrawTest() {
        frame.xOrigin = 400;
        frame.yOrigin = 400;
        frame.xSize = 2000;
        frame.ySize = 1200;
        frame.x2 = 100;
        frame.y2 = 100;
        frame.xFormat = "F0";
        frame.yFormat = "F0";
        PlotFrame::MakeNumericTicks(0, 100, 1, frame.xTickLabels, frame.xTickValues, "F0");
        PlotFrame::MakeNumericTicks(0, 100, 1, frame.yTickLabels, frame.yTickValues, "F0");
        AddLine(frame.title, "Main");
        AddLine(frame.xLabel, "Year");
        AddLine(frame.yLabel, "Age");
    }

    static void AddLine(MList<WText>& list, const std::string& text) {
        WText line;
        line.text = text;
        list.addAtTail(line);
    }

    // Draws the frame and checks that the surface is left as it was found.
    void Draw() {
        surface.ClearLog();
        const RecordingSurface::State before = surface.CurrentState();
        const CCSystem chart(frame.x1, frame.x2, frame.y1, frame.y2, frame.xOrigin,
                             frame.xOrigin + frame.xSize, frame.yOrigin,
                             frame.yOrigin + frame.ySize, page);
        frame.Draw(surface, chart);
        EXPECT_EQ(surface.CurrentState(), before);
    }

    // Each MoveTo and the LineTo after it as "x,y-x,y".
    Lines Segments() const {
        Lines segments;
        std::string from;
        for (const std::string& line : surface.Log()) {
            std::istringstream words(line);
            std::string op;
            int x = 0;
            int y = 0;
            words >> op >> x >> y;
            const std::string point = std::to_string(x) + "," + std::to_string(y);
            if (op == "MoveTo") {
                from = point;
            } else if (op == "LineTo") {
                segments.push_back(from + "-" + point);
            }
        }
        return segments;
    }

    Lines TextOuts() const {
        Lines texts;
        for (const std::string& line : surface.Log()) {
            if (line.starts_with("TextOut")) {
                texts.push_back(line);
            }
        }
        return texts;
    }

    bool HasText(const std::string& textOut) const {
        const Lines texts = TextOuts();
        return std::find(texts.begin(), texts.end(), textOut) != texts.end();
    }

    PageCoordinateSystem page{0, 3000, 0, 2000, 0, 1500, 1000, 0};
    RecordingSurface surface;
    PlotFrame frame;
};

const Lines kFrameRectangle = {"200,800-200,200", "200,200-1200,200", "1200,200-1200,800",
                               "1200,800-200,800"};

TEST_F(PlotFrameDrawTest, DefaultFrameDrawsTicksLabelsTextsAndRectangleInOrder) {
    Draw();
    const Lines expectedSegments = {// x ticks below the plot, pointing out
                                    "200,800-200,815", "700,800-700,815", "1200,800-1200,815",
                                    // y ticks on both sides, pointing out
                                    "200,800-185,800", "1200,800-1215,800", "200,500-185,500",
                                    "1200,500-1215,500", "200,200-185,200", "1200,200-1215,200",
                                    // the frame rectangle
                                    kFrameRectangle[0], kFrameRectangle[1], kFrameRectangle[2],
                                    kFrameRectangle[3]};
    EXPECT_EQ(Segments(), expectedSegments);

    const Lines expectedTexts = {
        // x labels: tick length and gap below the plot
        "TextOut 200 830 \"0\"", "TextOut 700 830 \"50\"", "TextOut 1200 830 \"100\"",
        // y labels: right-aligned left of the ticks
        "TextOut 170 800 \"0\"", "TextOut 170 500 \"50\"", "TextOut 170 200 \"100\"",
        // title on the plot's top edge
        "TextOut 700 185 \"Main\"",
        // x label box: its top 80 + 30 + 42 + 30 below the plot (page 218)
        "TextOut 700 906 \"Year\"",
        // y label box: 130 + 76 (widest y label) + 30 + 30 left of the plot
        "TextOut 82 500 \"Age\""};
    EXPECT_EQ(TextOuts(), expectedTexts);
    EXPECT_EQ(surface.Count("SetTextAlign center|top"), 3u);
    EXPECT_EQ(surface.Count("SetTextAlign right|baseline"), 3u);

    const CCSystem chart(0, 100, 0, 100, 400, 2400, 400, 1600, page);
    std::int32_t width = 0;
    std::int32_t height = 0;
    frame.DrawXTicks(surface, chart, width, height);
    EXPECT_EQ(width, 38); // "100"
    EXPECT_EQ(height, 21);
}

TEST_F(PlotFrameDrawTest, WithoutXTicksTheXLabelSitsItsMarginBelowThePlot) {
    frame.xTicksSetup = 0;
    Draw();
    EXPECT_EQ(Segments().size(), 6u + 4u); // y ticks and the rectangle
    EXPECT_FALSE(HasText("TextOut 700 830 \"50\""));
    // Box from page 260 to 320: its top edge 80 below the plot.
    EXPECT_TRUE(HasText("TextOut 700 855 \"Year\"")) << surface.Text();
    EXPECT_TRUE(frame.GetTextRects(BottomXTickLabels).IsEmpty());
}

TEST_F(PlotFrameDrawTest, TicksPointingInAddNoTickLength) {
    frame.xTicksSetup = TicksSetup::FirstTicks | TicksSetup::FirstLabels | TicksSetup::In;
    Draw();
    EXPECT_EQ(Segments()[1], "700,800-700,785");
    EXPECT_TRUE(HasText("TextOut 700 815 \"50\""));
    EXPECT_TRUE(HasText("TextOut 700 891 \"Year\"")) << surface.Text();

    // Ticks and labels on top, pointing out, push the title up by the tick
    // length, the gap and the label height; the x label loses them all.
    frame.xTicksSetup = TicksSetup::SecondTicks | TicksSetup::SecondLabels;
    Draw();
    EXPECT_EQ(Segments()[1], "700,200-700,185");
    EXPECT_TRUE(HasText("TextOut 700 170 \"50\""));
    EXPECT_TRUE(HasText("TextOut 700 134 \"Main\"")) << surface.Text();
    EXPECT_TRUE(HasText("TextOut 700 855 \"Year\""));
    EXPECT_EQ(frame.GetTextRects(TopXTickLabels).GetCount(), 3u);
}

TEST_F(PlotFrameDrawTest, RightYLabelsTakeNoRoomFromTheYLabel) {
    frame.yTicksSetup = TicksSetup::FirstTicks | TicksSetup::SecondTicks;
    Draw();
    const std::string withoutLabels = TextOuts().back();
    EXPECT_EQ(withoutLabels, "TextOut 135 500 \"Age\"");

    frame.yTicksSetup |= TicksSetup::SecondLabels;
    Draw();
    EXPECT_EQ(TextOuts().back(), withoutLabels);
    EXPECT_TRUE(HasText("TextOut 1230 500 \"50\""));
    EXPECT_EQ(surface.Count("SetTextAlign left|baseline"), 3u);

    const CCSystem chart(0, 100, 0, 100, 400, 2400, 400, 1600, page);
    std::int32_t width = -1;
    std::int32_t height = -1;
    frame.DrawYTicks(surface, chart, width, height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

TEST_F(PlotFrameDrawTest, TitleLinesStackUpwards) {
    AddLine(frame.title, "Sub");
    frame.titleMargin = 10;
    Draw();
    EXPECT_TRUE(HasText("TextOut 700 180 \"Main\""));
    EXPECT_TRUE(HasText("TextOut 700 150 \"Sub\"")); // one text frame height (30 px) up
    EXPECT_EQ(frame.GetTextRects(TitleLines).GetCount(), 2u);
}

TEST_F(PlotFrameDrawTest, GridLinesOnlyStrictlyInsideTheRangeAndDrawnLast) {
    frame.xGridLines = true;
    frame.xGridLineColor = 0x00ff00;
    frame.xGridLineType = PenStyle::Dash;
    frame.yGridLines = true;
    frame.yGridLineColor = 0xff0000;
    frame.yGridLineType = PenStyle::Dot;
    frame.yGridLineWidth = 4; // 2 pixels
    Draw();
    // Ticks at 0 and 100 keep their tick and label but get no grid line.
    EXPECT_EQ(surface.Count("SelectPen dash:0:0x00ff00"), 1u);
    EXPECT_EQ(surface.Count("SelectPen dot:2:0xff0000"), 1u);
    const Lines segments = Segments();
    ASSERT_EQ(segments.size(), 3u + 6u + 4u + 2u);
    EXPECT_EQ(segments[13], "700,800-700,200");
    EXPECT_EQ(segments[14], "200,500-1200,500");
    EXPECT_TRUE(HasText("TextOut 200 830 \"0\""));
    EXPECT_TRUE(HasText("TextOut 1200 830 \"100\""));
}

TEST_F(PlotFrameDrawTest, AnInvisibleFrameDrawsNothing) {
    Draw();
    ASSERT_FALSE(frame.GetTextRects(TitleLines).IsEmpty());
    frame.visible = false;
    frame.xGridLines = true;
    Draw();
    EXPECT_TRUE(surface.Log().empty()) << surface.Text();
    int kind = -1;
    std::uint32_t index = 0;
    EXPECT_FALSE(frame.FindFrameText({700, 830}, kind, index));

    frame.visible = true;
    frame.xGridLines = false;
    frame.frameRectangleVisible = 0;
    Draw();
    EXPECT_EQ(Segments().size(), 9u);
}

TEST_F(PlotFrameDrawTest, FindFrameTextSearchesInOrderWithStrictBounds) {
    // Title line 0 laid over the bottom x label "50" (box 688..713 x
    // 830..851); line 0 covers 813..834, line 1 ("Sub") 783..804.
    frame.title[0].text = "50";
    AddLine(frame.title, "Sub");
    frame.titleMargin = -1290;
    Draw();
    int kind = -1;
    std::uint32_t index = 99;
    EXPECT_TRUE(frame.FindFrameText({700, 832}, kind, index));
    EXPECT_EQ(kind, TitleLines);
    EXPECT_EQ(index, 0u);
    EXPECT_TRUE(frame.FindFrameText({700, 790}, kind, index));
    EXPECT_EQ(kind, TitleLines);
    EXPECT_EQ(index, 1u);
    EXPECT_TRUE(frame.FindFrameText({700, 845}, kind, index));
    EXPECT_EQ(kind, BottomXTickLabels);
    EXPECT_EQ(index, 1u);
    EXPECT_TRUE(frame.FindFrameText({689, 845}, kind, index));
    EXPECT_TRUE(frame.FindFrameText({712, 850}, kind, index));
    EXPECT_TRUE(frame.FindFrameText({160, 495}, kind, index));
    EXPECT_EQ(kind, LeftYTickLabels);
    EXPECT_EQ(index, 1u);

    kind = -1;
    EXPECT_FALSE(frame.FindFrameText({688, 845}, kind, index));
    EXPECT_FALSE(frame.FindFrameText({713, 845}, kind, index));
    EXPECT_FALSE(frame.FindFrameText({700, 851}, kind, index));
    EXPECT_FALSE(frame.FindFrameText({700, 600}, kind, index));
    EXPECT_EQ(kind, -1);
}

} // namespace
