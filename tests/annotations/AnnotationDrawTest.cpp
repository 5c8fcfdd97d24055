#include "AnnotationTestSupport.h"
#include "annotations/LLine.h"
#include "annotations/LRectangle.h"
#include "annotations/LText.h"

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

LText PageText(double x, double y, double w, double h, std::uint32_t horizontal,
               std::uint32_t vertical) {
    LText text(LPoint(x, y, PageUnits, PageUnits), LPoint(w, h, PageUnits, PageUnits), "Hi", {});
    text.SetHorizontalAlignment(horizontal);
    text.SetVerticalAlignment(vertical);
    return text;
}

LRectangle PageRectangle(double borderWidth, std::int32_t penStyle) {
    LRectangle rectangle(100, 100, 300, 200); // device 50, 400 .. 150, 450
    rectangle.SetCoordinateAttribute(PageUnits);
    rectangle.SetBorderWidth(borderWidth);
    rectangle.SetPenStyle(penStyle);
    rectangle.SetFill(Brush::Solid(0x0000ff));
    return rectangle;
}

std::string Find(const Lines& log, const std::string& prefix) {
    const auto found = std::find_if(log.begin(), log.end(),
                                    [&](const std::string& l) { return l.starts_with(prefix); });
    return found == log.end() ? std::string() : *found;
}

TEST_F(AnnotationTest, TextWithAnEmptyBoxStandsOnItsBaselineAtTheAnchor) {
    LText text = PageText(1000, 500, 0, 0, TextAlign::Left, TextAlign::Baseline);
    const Lines expected = {
        "GetMapMode -> 1",
        "SelectFont {-21 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"}", // 12 pt at 0.5
        "SetTextAlign left|baseline",
        "SetBkMode opaque",
        "SetTextColor 0x000000",
        "SetBkColor 0xffffff",
        "GetTextExtent \"Hi\" -> 25 21",
        "TextOut 500 250 \"Hi\"",
        "SetBkColor 0x222222",
        "SetTextColor 0x111111",
        "SetBkMode transparent",
        "SetTextAlign right|bottom",
        "SelectFont {-9 0 0 0 0 0 0 0 0 0 0 0 0 \"Courier\"}",
    };
    EXPECT_EQ(Draw(text), expected);
    EXPECT_EQ(text.GetDrawnBox(), (LText::DrawnBox{500, 233, 25, 21}));
}

TEST_F(AnnotationTest, TextIsPlacedInItsBoxAndRecordsWhereItWent) {
    // Box 200 x 100 page units = 100 x 50 device units above the anchor.
    LText centreTop = PageText(1000, 500, 200, 100, TextAlign::Center, TextAlign::Top);
    EXPECT_EQ(Find(Draw(centreTop), "TextOut"), "TextOut 550 200 \"Hi\"");
    EXPECT_EQ(centreTop.GetDrawnBox(), (LText::DrawnBox{538, 200, 25, 21}));

    LText rightBottom = PageText(1000, 500, 200, 100, TextAlign::Right, TextAlign::Bottom);
    EXPECT_EQ(Find(Draw(rightBottom), "TextOut"), "TextOut 600 250 \"Hi\"");
    EXPECT_EQ(rightBottom.GetDrawnBox(), (LText::DrawnBox{575, 229, 25, 21}));

    // A rotated text: swapped size, centred on the reference point.
    LText rotated = PageText(1000, 500, 200, 100, TextAlign::Center, TextAlign::Baseline);
    FontRecord upwards = FontRecord::DefaultTextFont();
    upwards.escapement = 900;
    rotated.SetFont(upwards);
    EXPECT_EQ(Find(Draw(rotated), "TextOut"), "TextOut 550 225 \"Hi\"");
    EXPECT_EQ(rotated.GetDrawnBox(), (LText::DrawnBox{540, 213, 21, 25}));
}

TEST_F(AnnotationTest, FontHeightFollowsTheZoomAndTinyTextVanishes) {
    LText text = PageText(1000, 500, 0, 0, TextAlign::Left, TextAlign::Bottom);
    FontRecord tenPoint = FontRecord::DefaultTextFont();
    tenPoint.height = -10;
    text.SetFont(tenPoint);
    EXPECT_EQ(Find(Draw(text), "SelectFont"),
              "SelectFont {-17 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"}");
    EXPECT_EQ(text.GetFont()->height, -10); // the stored record keeps points
    const LText::DrawnBox drawn = text.GetDrawnBox();

    const PageCoordinateSystem tiny(0, 2000, 0, 1000, 0, 40, 20, 0); // 0.02 per unit
    const CCSystem distant(0, 100, 0, 100, 0, 2000, 0, 1000, tiny);
    EXPECT_EQ(Draw(text, &distant), Lines{"GetMapMode -> 1"});
    EXPECT_EQ(text.GetDrawnBox(), drawn);
}

TEST_F(AnnotationTest, NothingIsDrawnOutsideTextMapModeOrWithoutText) {
    LText empty;
    EXPECT_TRUE(Draw(empty).empty());

    surface.SetMapMode(MapMode::LoMetric);
    LText text = PageText(1000, 500, 0, 0, TextAlign::Left, TextAlign::Bottom);
    LLine line(0, 0, 50, 50);
    LRectangle rectangle = PageRectangle(0, PenStyle::Solid);
    EXPECT_EQ(Draw(text), Lines{"GetMapMode -> 2"});
    EXPECT_EQ(Draw(line), Lines{"GetMapMode -> 2"});
    EXPECT_EQ(Draw(rectangle), Lines{"GetMapMode -> 2"});
}

TEST_F(AnnotationTest, RectangleOutlineAndFill) {
    LRectangle fillOnly = PageRectangle(-1, PenStyle::Solid);
    EXPECT_EQ(Draw(fillOnly),
              (Lines{"GetMapMode -> 1", "FillRect 50 400 150 450 brush=solid:0x0000ff"}));

    LRectangle thin = PageRectangle(0, PenStyle::Solid);
    const Lines expected = {
        "GetMapMode -> 1",
        "SelectPen solid:0:0x000000",
        "SelectBrush solid:0x0000ff",
        "Rectangle 50 400 150 450",
        "SelectBrush hatched:cross:0x00ff00",
        "SelectPen dot:3:0x0a0b0c",
    };
    EXPECT_EQ(Draw(thin), expected);

    // 7.2 page units at 0.5 make 3.6 pixels: rounded to 4; dashed: 1.
    LRectangle wide = PageRectangle(7.2, PenStyle::Solid);
    EXPECT_EQ(Find(Draw(wide), "SelectPen"), "SelectPen solid:4:0x000000");
    const char* const dashedNames[] = {"dash", "dot", "dashdot", "dashdotdot"};
    for (std::int32_t style = PenStyle::Dash; style <= PenStyle::DashDotDot; ++style) {
        LRectangle dashed = PageRectangle(7.2, style);
        EXPECT_EQ(Find(Draw(dashed), "SelectPen"),
                  std::string("SelectPen ") + dashedNames[style - 1] + ":1:0x000000");
    }

    // Corners are rounded; on the default system data equal page units.
    LRectangle data(297, 210, 594, 420);
    data.SetFill(Brush::Hollow());
    EXPECT_EQ(Find(Draw(data, nullptr), "Rectangle"), "Rectangle 80 480 160 540");
    LRectangle offGrid = PageRectangle(0, PenStyle::Solid);
    offGrid.GetA().SetX(101.4); // device 50.7
    EXPECT_EQ(Find(Draw(offGrid), "Rectangle"), "Rectangle 51 400 150 450");
}

TEST_F(AnnotationTest, LineTruncatesItsEndsAndKeepsItsWidthWhenDashed) {
    LLine line(101.4, 100, 301, 101); // device 50.7, 450 .. 150.5, 449.5
    line.SetCoordinateAttribute(PageUnits);
    line.SetWidth(7.2);
    line.SetPenStyle(PenStyle::Dash);
    line.SetColor(0x0000ff);
    const Lines expected = {
        "GetMapMode -> 1", "SelectPen dash:3:0x0000ff", "MoveTo 50 450",
        "LineTo 150 449",  "SelectPen dot:3:0x0a0b0c",
    };
    EXPECT_EQ(Draw(line), expected);

    LLine data(50, 100, 100, 0); // data units on the plot
    EXPECT_EQ(Draw(data)[2], "MoveTo 500 0");
}

TEST_F(AnnotationTest, TextFrameIsDrawnFirstOverTheTextsBox) {
    LText text = PageText(100, 100, 200, 100, TextAlign::Left, TextAlign::Bottom);
    text.SetFrame(FrameRecord{-1, PenStyle::Solid, 0, BrushStyle::Solid, 0x00ffff, 0});
    ASSERT_NE(text.GetFrame(), nullptr);
    EXPECT_EQ(text.GetFrame()->GetB().GetX(), 300);
    EXPECT_EQ(text.GetFrame()->GetB().GetYAttribute(), PageUnits);
    Draw(text);
    EXPECT_EQ(surface.DrawingCalls(),
              (Lines{"FillRect 50 400 150 450 brush=solid:0x00ffff", "TextOut 50 450 \"Hi\""}));
    text.SetFrame(std::nullopt);
    EXPECT_EQ(text.GetFrame(), nullptr);
}

} // namespace
