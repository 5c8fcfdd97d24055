#include "AnnotationTestSupport.h"
#include "annotations/LLine.h"
#include "annotations/LRectangle.h"
#include "annotations/LText.h"

namespace {

LLine PageLine(double ax, double ay, double bx, double by, double width = 0) {
    LLine line(ax, ay, bx, by);
    line.SetCoordinateAttribute(PageUnits);
    line.SetWidth(width);
    return line;
}

TEST_F(AnnotationTest, LineHitTolerance) {
    const LLine horizontal = PageLine(300, 500, 100, 500); // ends in either order
    EXPECT_TRUE(horizontal.Contains({200, 504}, &chart));
    EXPECT_TRUE(horizontal.Contains({200, 505}, &chart));
    EXPECT_FALSE(horizontal.Contains({200, 495}, &chart));
    EXPECT_FALSE(horizontal.Contains({100, 500}, &chart));
    EXPECT_TRUE(PageLine(100, 500, 300, 500, 20).Contains({200, 519}, &chart));

    const LLine vertical = PageLine(500, 100, 500, 300);
    EXPECT_FALSE(vertical.Contains({504, 200}, &chart));
    EXPECT_TRUE(vertical.Contains({502.5, 200}, &chart));
    EXPECT_FALSE(vertical.Contains({497.5, 200}, &chart));
    EXPECT_FALSE(vertical.Contains({500, 300}, &chart));

    const LLine sloped = PageLine(0, 0, 100, 100);
    EXPECT_TRUE(sloped.Contains({50, 53}, &chart));    // 2.1 units off
    EXPECT_FALSE(sloped.Contains({50, 58}, &chart));   // 5.7 units off
    EXPECT_FALSE(sloped.Contains({102, 103}, &chart)); // beyond the end

    const LLine point = PageLine(100, 100, 100, 100);
    EXPECT_FALSE(point.Contains({100, 100}, &chart));
    EXPECT_FALSE(point.Contains({101, 100}, &chart));
}

TEST_F(AnnotationTest, HitTestsConvertDataCornersToThePage) {
    const LLine line(10, 50, 90, 50); // page (200, 500) .. (1800, 500)
    EXPECT_TRUE(line.Contains({1000, 504}, &chart));
    EXPECT_FALSE(line.Contains({50, 52}, &chart));
    EXPECT_TRUE(line.Contains({50, 52}, nullptr)); // default: data = page

    const LRectangle rectangle(10, 10, 20, 20); // page (200, 100) .. (400, 200)
    EXPECT_TRUE(rectangle.IsArea());
    EXPECT_TRUE(rectangle.Contains({300, 150}, &chart));
    EXPECT_FALSE(rectangle.Contains({15, 15}, &chart));
}

TEST_F(AnnotationTest, RectangleAndTextBoundsAreStrict) {
    LRectangle rectangle(100, 100, 300, 200);
    rectangle.SetCoordinateAttribute(PageUnits);
    EXPECT_TRUE(rectangle.Contains({200, 150}, &chart));
    EXPECT_FALSE(rectangle.Contains({100, 150}, &chart));
    EXPECT_FALSE(rectangle.Contains({200, 200}, &chart));
    LRectangle reversed(300, 200, 100, 100); // corners taken as stored
    reversed.SetCoordinateAttribute(PageUnits);
    EXPECT_FALSE(reversed.Contains({200, 150}, &chart));

    LText text(LPoint(1000, 500, PageUnits, PageUnits), LPoint(0, 0, PageUnits, PageUnits), "Hi",
               {});
    EXPECT_FALSE(text.IsArea());
    text.SetVerticalAlignment(TextAlign::Baseline);
    Draw(text); // box left 500, top 233, 25 x 21 device units
    EXPECT_TRUE(text.Contains({510, 240}, nullptr));
    EXPECT_TRUE(text.Contains({524, 253}, nullptr));
    EXPECT_FALSE(text.Contains({500, 240}, nullptr));
    EXPECT_FALSE(text.Contains({510, 254}, nullptr));
}

TEST_F(AnnotationTest, CopiesAreDeep) {
    LText original(LPoint(1, 2), LPoint(30, 40), "text", FontRecord::DefaultTextFont());
    original.SetFrame(FrameRecord{2.5, PenStyle::Dot, 0xff, BrushStyle::Hatched, 0xff00, 3});
    original.SetOwnerField2(7);
    original.SetBkMode(BackgroundMode::Transparent);

    LText copy(original);
    LText assigned;
    assigned = original;
    for (LText* text : {&copy, &assigned}) {
        EXPECT_EQ(text->GetText(), "text");
        EXPECT_EQ(text->GetOwnerField2(), 7u);
        EXPECT_EQ(text->GetBkMode(), BackgroundMode::Transparent);
        ASSERT_NE(text->GetFrame(), nullptr);
        EXPECT_NE(text->GetFrame(), original.GetFrame());
        EXPECT_EQ(text->GetFrame()->GetFrameRecord(), original.GetFrame()->GetFrameRecord());
        text->GetFrame()->SetBorderWidth(9);
        text->SetFont(std::nullopt);
        text->GetA().SetX(99);
    }
    EXPECT_EQ(original.GetFrame()->GetBorderWidth(), 2.5);
    EXPECT_EQ(original.GetFont(), FontRecord::DefaultTextFont());
    EXPECT_EQ(original.GetA().GetX(), 1);
    EXPECT_EQ(original.GetFrame()->GetB().GetY(), 42); // anchor plus box

    LText defaults;
    EXPECT_EQ(defaults.EffectiveFont(), FontRecord::DefaultTextFont());
    EXPECT_EQ(defaults.GetBkColor(), 0xFFFFFFu);
    EXPECT_EQ(defaults.GetVerticalAlignment(), TextAlign::Bottom);
    EXPECT_EQ(defaults.GetA().GetXAttribute(), DataUnits);
}

} // namespace
