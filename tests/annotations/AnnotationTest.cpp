#include "annotations/LLine.h"
#include "annotations/LRectangle.h"
#include "annotations/LText.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

template <typename T>
T OnPage(T object) {
    object.SetCoordinateAttribute(PageUnits);
    return object;
}

// "Hi" anchored at page (1000, 500), in a box of w x h page units (pixels: half as many).
LText PageText(std::uint32_t horizontal, std::uint32_t vertical, double w = 200, double h = 100) {
    LText text = OnPage(LText(LPoint(1000, 500), LPoint(w, h), "Hi", {}));
    text.SetHorizontalAlignment(horizontal);
    text.SetVerticalAlignment(vertical);
    return text;
}

// 2000 x 1000 page units on 1000 x 500 pixels, and data 0..100 x 0..100
// over the whole page (20 page units per data unit along x, 10 along y).
class AnnotationTest : public ::testing::Test {
protected:
    AnnotationTest() {
        // Not the surface's defaults, so that restoring is told apart from resetting.
        FontRecord small;
        small.height = -9;
        surface.SelectPen(Pen{PenStyle::Dot, 3, 0x0a0b0c});
        surface.SelectBrush(Brush::Hatched(HatchStyle::Cross, 0x00ff00));
        surface.SelectFont(DeviceFont{small});
        surface.SetTextAlign(TextAlign::Right | TextAlign::Bottom);
        surface.SetBkMode(BackgroundMode::Transparent);
        surface.SetTextColor(0x111111);
        surface.SetBkColor(0x222222);
    }
    // Draws, checks that the surface is left as it was found, returns the log.
    Lines Draw(LGraphicObject& object, const CCSystem* coordinates = &chart) {
        surface.ClearLog();
        const RecordingSurface::State before = surface.CurrentState();
        object.Draw(surface, coordinates);
        EXPECT_EQ(surface.CurrentState(), before);
        return surface.Log();
    }
    void Hits(const LGraphicObject& object, std::vector<DoublePoint> in,
              std::vector<DoublePoint> out) {
        for (std::size_t i = 0; i < in.size() + out.size(); ++i) {
            const DoublePoint p = i < in.size() ? in[i] : out[i - in.size()];
            EXPECT_EQ(object.Contains(p, &chart), i < in.size()) << p.x << "," << p.y;
        }
    }
    // Where the text went out, and the box it recorded: "x y in left top width height".
    std::string Placed(LText&& text) { return Placed(text); }
    std::string Placed(LText& text) {
        Draw(text);
        const LText::DrawnBox& b = text.GetDrawnBox();
        return surface.DrawingCalls().back().substr(8, 7) + " in " + std::to_string(b.left) + " " +
               std::to_string(b.top) + " " + std::to_string(b.width) + " " +
               std::to_string(b.height);
    }

    static inline const PageCoordinateSystem page{0, 2000, 0, 1000, 0, 1000, 500, 0};
    static inline const CCSystem chart{0, 100, 0, 100, 0, 2000, 0, 1000, page};
    RecordingSurface surface;
};

TEST_F(AnnotationTest, TextIsPlacedInItsBoxAndRecordsWhereItWent) {
    EXPECT_EQ(Placed(PageText(TextAlign::Left, TextAlign::Baseline, 0, 0)),
              "500 250 in 500 233 25 21"); // 12 points at 0.5 pixels per page unit: 21 pixels
    EXPECT_EQ(
        Lines(surface.Log().begin() + 1, surface.Log().begin() + 6),
        (Lines{"SelectFont {-21 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"}", "SetTextAlign left|baseline",
               "SetBkMode opaque", "SetTextColor 0x000000", "SetBkColor 0xffffff"}));
    EXPECT_EQ(Placed(PageText(TextAlign::Center, TextAlign::Top)), "550 200 in 538 200 25 21");
    EXPECT_EQ(Placed(PageText(TextAlign::Right, TextAlign::Bottom)), "600 250 in 575 229 25 21");
    // 10 points: 17.6 pixels cut to 17. Rotated: the box is swapped and centred on the point.
    LText text = PageText(TextAlign::Center, TextAlign::Baseline);
    FontRecord font = FontRecord::DefaultTextFont();
    font.height = -10;
    font.escapement = 900;
    text.SetFont(font);
    EXPECT_EQ(Placed(text), "550 225 in 542 215 17 20");
    EXPECT_EQ(surface.Log()[1], "SelectFont {-17 0 900 0 400 0 0 0 0 0 0 2 0 \"Arial\"}");
    EXPECT_EQ(text.GetFont()->height, -10);
    const PageCoordinateSystem tiny(0, 2000, 0, 1000, 0, 40, 20, 0); // 0.02 pixels per unit
    const CCSystem distant(0, 100, 0, 100, 0, 2000, 0, 1000, tiny);
    EXPECT_EQ(Draw(text, &distant), Lines{"GetMapMode -> 1"}); // too small to show
    LText empty;
    EXPECT_TRUE(Draw(empty).empty());

    LText framed = PageText(TextAlign::Left, TextAlign::Bottom); // the frame first, over the box
    framed.SetFrame(FrameRecord{-1, PenStyle::Solid, 0, BrushStyle::Solid, 0x00ffff, 0});
    framed.SetBkMode(BackgroundMode::Transparent);
    Draw(framed);
    EXPECT_EQ(surface.DrawingCalls(),
              (Lines{"FillRect 500 200 600 250 brush=solid:0x00ffff", "TextOut 500 250 \"Hi\""}));
    Hits(framed, // its box is 500..525 x 229..250 pixels: the points strictly inside hit
         {{501, 230}, {524, 249}}, {{500, 240}, {525, 240}, {510, 229}, {510, 250}});
    LText copy; // assigning goes through the copy constructor, which copies the frame
    copy = framed;
    EXPECT_EQ(copy.GetText(), "Hi");
    EXPECT_EQ(copy.GetBkMode(), BackgroundMode::Transparent);
    ASSERT_NE(copy.GetFrame(), nullptr);
    EXPECT_EQ(copy.GetFrame()->GetFrameRecord(), framed.GetFrame()->GetFrameRecord());
    copy.GetFrame()->SetBorderWidth(9);
    EXPECT_EQ(framed.GetFrame()->GetBorderWidth(), -1);
}

TEST_F(AnnotationTest, LinesAndRectanglesDrawAndHitTest) {
    LRectangle r = OnPage(LRectangle(100, 100, 300, 200)); // pixels 50, 400 .. 150, 450
    r.SetFill(Brush::Solid(0x0000ff));
    r.SetBorderWidth(-1);
    EXPECT_EQ(Draw(r), (Lines{"GetMapMode -> 1", "FillRect 50 400 150 450 brush=solid:0x0000ff"}));
    r.SetBorderWidth(7.2); // 3.6 pixels, rounded to 4; dashed and dotted borders are 1 pixel
    const char* const pens[] = {"solid:4", "dash:1", "dot:1", "dashdot:1", "dashdotdot:1"};
    for (std::int32_t style = PenStyle::Solid; style <= PenStyle::DashDotDot; ++style) {
        r.SetPenStyle(style);
        EXPECT_EQ(Draw(r)[1], std::string("SelectPen ") + pens[style] + ":0x000000");
    }
    EXPECT_EQ(surface.Log()[2], "SelectBrush solid:0x0000ff");
    r.GetA().SetX(101.4); // 50.7 pixels
    Draw(r);
    EXPECT_EQ(surface.DrawingCalls(), Lines{"Rectangle 51 400 150 450"});

    // A line cuts its ends and pen width toward zero, dashed or not: 50.7, 450 .. 150.5, 449.5.
    LLine line = OnPage(LLine(101.4, 100, 301, 101));
    line.SetWidth(7.2);
    line.SetPenStyle(PenStyle::Dash);
    line.SetColor(0x0000ff);
    EXPECT_EQ(Draw(line), (Lines{"GetMapMode -> 1", "SelectPen dash:3:0x0000ff", "MoveTo 50 450",
                                 "LineTo 150 449", "SelectPen dot:3:0x0a0b0c"}));
    LLine inData(50, 100, 100, 0);
    EXPECT_EQ(Draw(inData)[2], "MoveTo 500 0");

    surface.SetMapMode(MapMode::LoMetric); // only the text map mode is drawn in
    LText text = PageText(TextAlign::Left, TextAlign::Bottom);
    for (LGraphicObject* object : std::initializer_list<LGraphicObject*>{&text, &line, &r}) {
        EXPECT_EQ(Draw(*object), Lines{"GetMapMode -> 2"});
    }

    // A horizontal line takes 5 page units (or its width) either side, the
    // upper bound included, a vertical one half of that; ends never count.
    Hits(OnPage(LLine(300, 500, 100, 500)), {{200, 504}, {200, 505}}, {{200, 495}, {100, 500}});
    LLine thick = OnPage(LLine(100, 500, 300, 500));
    thick.SetWidth(20);
    Hits(thick, {{200, 519}}, {});
    Hits(OnPage(LLine(500, 100, 500, 300)), {{502.5, 200}}, {{504, 200}, {497.5, 200}, {500, 300}});
    Hits(OnPage(LLine(0, 0, 100, 100)), {{50, 53}}, {{50, 58}, {102, 103}}); // 2.1, 5.7 off
    Hits(OnPage(LLine(100, 100, 100, 100)), {}, {{100, 100}, {101, 100}});
    // Data corners go to the page: (200, 500) .. (1800, 500), (200, 100) .. (400, 200).
    Hits(LLine(10, 50, 90, 50), {{1000, 504}}, {{50, 52}});
    Hits(LRectangle(10, 10, 20, 20), {{300, 150}}, {{15, 15}});
    EXPECT_TRUE(LLine(10, 50, 90, 50).Contains({50, 52}, nullptr)); // by default data are page
    // A rectangle holds the points strictly inside, corners as stored.
    Hits(OnPage(LRectangle(100, 100, 300, 200)), {{200, 150}}, {{100, 150}, {200, 200}});
    Hits(OnPage(LRectangle(300, 200, 100, 100)), {}, {{200, 150}});
}

} // namespace
