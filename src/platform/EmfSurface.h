#pragma once

#include "render/FillGathering.h"
#include "render/Surface.h"

#include <QFont>

#include <cstdint>
#include <memory>
#include <string>

// The drawing surface that records an enhanced-metafile file. The picture
// is width x height logical pixels of the library's reference screen
// (1024 x 768 pixels on 320 x 240 mm), one logical unit per pixel; the
// frame written into the header is that size, so players show the picture
// at width x height pixels of that screen. GetDeviceCaps answers a raster
// display of width x height pixels at the given resolution.
//
// Text extents come from Qt's metrics of the same mapped font, and each
// text carries its character advances, so a player lays texts out as the
// image surface does; Qt must have a QGuiApplication for that. Until a font
// is selected, texts are measured in Qt's default font and drawn in the
// player's.
//
// The metafile has no raster operations: SetROP2 is remembered but
// everything draws plainly. FillRect and FillPolygon become polygons drawn
// with the null pen and the brush (winding rule).
//
// The metafile is recorded in memory; Finish hands over its bytes, and the
// caller writes them where they belong (a file, the clipboard).
//
// While gathering (see FillGathering), each run of solid fills of one
// colour becomes one PolyPolygon record.
class EmfSurface : public Surface, public FillGathering {
public:
    // Starts the recording. When it cannot start (a size that is not
    // positive, no memory), IsOpen() is false and drawing does nothing.
    EmfSurface(std::int32_t width, std::int32_t height, std::int32_t dotsPerInch = 96);
    // Ends the recording if Finish() was not called.
    ~EmfSurface() override;
    EmfSurface(const EmfSurface&) = delete;
    EmfSurface& operator=(const EmfSurface&) = delete;

    bool IsOpen() const;
    // Finishes the metafile and puts its bytes into bytes; false, with the
    // cause in *reason when given, when the recording never started or the
    // library could not complete it. Drawing afterwards does nothing.
    bool Finish(std::string& bytes, std::string* reason = nullptr);

    Pen SelectPen(Pen pen) override;
    Brush SelectBrush(Brush brush) override;
    DeviceFont SelectFont(DeviceFont font) override;
    std::uint32_t SetTextAlign(std::uint32_t flags) override;
    std::int32_t SetBkMode(std::int32_t mode) override;
    std::uint32_t SetTextColor(std::uint32_t color) override;
    std::uint32_t SetBkColor(std::uint32_t color) override;
    RasterOp SetROP2(RasterOp op) override;
    void FillRect(const DeviceRect& rect, Brush brush) override;
    void FillPolygon(std::span<const IntPoint> points, Brush brush) override;
    void MoveTo(std::int32_t x, std::int32_t y) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void Polyline(std::span<const IntPoint> points) override;
    void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                   std::int32_t bottom) override;
    void TextOut(std::int32_t x, std::int32_t y, std::string_view text) override;
    IntSize GetTextExtent(std::string_view text) override;
    std::int32_t GetDeviceCaps(DeviceCap cap) override;
    std::int32_t GetMapMode() override;

    bool BeginGathering() override;
    void EndGathering() override;
    void FillRects(std::span<const DeviceRect> rects, Brush brush) override;

private:
    // The library's handles and records stay out of this header.
    struct Recorder;

    std::unique_ptr<Recorder> recorder_;
    std::int32_t width_;
    std::int32_t height_;
    std::int32_t dotsPerInch_;

    Pen pen_;
    Brush brush_ = Brush::Solid(0xFFFFFF);
    DeviceFont font_;
    QFont qfont_;
    std::uint32_t textAlign_ = TextAlign::Left | TextAlign::Top;
    std::int32_t bkMode_ = BackgroundMode::Opaque;
    std::uint32_t textColor_ = 0x000000;
    std::uint32_t bkColor_ = 0xFFFFFF;
    RasterOp rop2_ = RasterOp::CopyPen;
};
