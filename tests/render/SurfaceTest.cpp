#include "render/Surface.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

namespace {

TEST(SurfaceTest, ScopedSelectionsRestoreInReverseOrder) {
    RecordingSurface surface;
    const RecordingSurface::State initial = surface.CurrentState();
    {
        const ScopedPen pen(surface, Pen{PenStyle::Dot, 2, 0x0000FF});
        const ScopedBrush brush(surface, Brush::Hatched(HatchStyle::Cross, 0x00FF00));
        const ScopedTextAlign align(surface, TextAlign::Center | TextAlign::Baseline);
        const ScopedROP2 rop(surface, RasterOp::XorPen);
        EXPECT_EQ(pen.Previous(), initial.pen);
    }
    EXPECT_EQ(surface.CurrentState(), initial);
    EXPECT_EQ(surface.Text(), "SelectPen dot:2:0x0000ff\nSelectBrush hatched:cross:0x00ff00\n"
                              "SetTextAlign center|baseline\nSetROP2 xor\nSetROP2 copy\n"
                              "SetTextAlign left|top\nSelectBrush solid:0xffffff\n"
                              "SelectPen solid:0:0x000000");
}

TEST(SurfaceTest, RecordingSurfaceLogsCallsAndMeasuresWithItsFixedMetric) {
    RecordingSurface surface;
    surface.SelectFont(DeviceFont::FromRecord(FontRecord::DefaultTextFont(), -20));
    const IntPoint triangle[] = {{0, 0}, {10, 0}, {10, 10}};
    surface.FillPolygon(triangle, Brush::Solid(0x123456));
    surface.FillRect({1, 2, 3, 4}, Brush::Hollow());
    EXPECT_EQ(surface.GetTextExtent("abc"), (IntSize{36, 20}));
    EXPECT_EQ(surface.GetDeviceCaps(DeviceCap::Technology), DeviceTechnology::RasterDisplay);
    EXPECT_EQ(surface.Text(), "SelectFont {-20 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"}\n"
                              "FillPolygon 0,0 10,0 10,10 brush=solid:0x123456\n"
                              "FillRect 1 2 3 4 brush=hollow\nGetTextExtent \"abc\" -> 36 20\n"
                              "GetDeviceCaps technology -> 1");
    // Widths round to the nearest pixel; a font of height 0 measures as 16.
    EXPECT_EQ(RecordingSurface::MeasureText("x", 25), (IntSize{15, 25}));
    EXPECT_EQ(RecordingSurface::MeasureText("xy", 0), (IntSize{19, 16}));
}

} // namespace
