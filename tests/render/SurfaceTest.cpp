#include "render/Surface.h"
#include "render/FontRecord.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(FontRecordTest, DefaultTextFontAndRecordOrder) {
    const FontRecord font = FontRecord::DefaultTextFont();
    const int expected[FontRecord::kNumberCount] = {-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 2, 0};
    for (int i = 0; i < FontRecord::kNumberCount; ++i) {
        EXPECT_EQ(font.GetNumber(i), expected[i]) << i;
    }
    EXPECT_EQ(font.GetFaceName(), "Arial");

    FontRecord record;
    record.SetNumber(5, 0x101); // a one-byte field keeps the low byte
    record.SetNumber(12, -1);
    record.SetNumber(13, 7); // past the record: ignored
    EXPECT_EQ(record.italic, 1);
    EXPECT_EQ(record.GetNumber(12), 255);
    record.SetFaceName(std::string(40, 'x'));
    EXPECT_EQ(record.GetFaceName().size(), 31u);
}

TEST(SurfaceTest, ScopedSelectionsRestoreInReverseOrder) {
    RecordingSurface surface;
    const RecordingSurface::State initial = surface.CurrentState();
    {
        const ScopedPen pen(surface, Pen{PenStyle::Dot, 2, 0x0000FF});
        const ScopedBrush brush(surface, Brush::Hatched(HatchStyle::Cross, 0x00FF00));
        const ScopedTextAlign align(surface, TextAlign::Center | TextAlign::Baseline);
        const ScopedROP2 rop(surface, RasterOp::XorPen);
        EXPECT_EQ(pen.Previous(), initial.pen);
        EXPECT_EQ(surface.CurrentState().rop2, RasterOp::XorPen);
    }
    EXPECT_EQ(surface.CurrentState(), initial);
    const std::vector<std::string> expected = {
        "SelectPen dot:2:0x0000ff",
        "SelectBrush hatched:cross:0x00ff00",
        "SetTextAlign center|baseline",
        "SetROP2 xor",
        "SetROP2 copy",
        "SetTextAlign left|top",
        "SelectBrush solid:0xffffff",
        "SelectPen solid:0:0x000000",
    };
    EXPECT_EQ(surface.Log(), expected);
}

TEST(SurfaceTest, RecordingSurfaceLogsCallsAndMeasuresWithItsFixedMetric) {
    RecordingSurface surface;
    surface.SelectFont(DeviceFont::FromRecord(FontRecord::DefaultTextFont(), -20));
    const IntPoint triangle[] = {{0, 0}, {10, 0}, {10, 10}};
    surface.FillPolygon(triangle, Brush::Solid(0x123456));
    surface.FillRect({1, 2, 3, 4}, Brush::Hollow());
    surface.Rectangle(1, 2, 3, 4);
    EXPECT_EQ(surface.GetTextExtent("abc"), (IntSize{36, 20}));
    EXPECT_EQ(surface.GetDeviceCaps(DeviceCap::Technology), DeviceTechnology::RasterDisplay);
    surface.SetMapMode(MapMode::LoMetric);
    EXPECT_EQ(surface.GetMapMode(), MapMode::LoMetric);
    EXPECT_EQ(surface.Text(), "SelectFont {-20 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"}\n"
                              "FillPolygon 0,0 10,0 10,10 brush=solid:0x123456\n"
                              "FillRect 1 2 3 4 brush=hollow\n"
                              "Rectangle 1 2 3 4\n"
                              "GetTextExtent \"abc\" -> 36 20\n"
                              "GetDeviceCaps technology -> 1\n"
                              "GetMapMode -> 2");
    EXPECT_EQ(surface.Count("FillRect"), 1u);
    EXPECT_EQ(surface.DrawingCalls().size(), 3u);
    // Widths round to the nearest pixel; a font of height 0 measures as 16.
    EXPECT_EQ(RecordingSurface::MeasureText("x", 25), (IntSize{15, 25}));
    EXPECT_EQ(RecordingSurface::MeasureText("xy", 0), (IntSize{19, 16}));
}

} // namespace
