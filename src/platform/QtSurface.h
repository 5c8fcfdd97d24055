#pragma once

#include "render/FillGathering.h"
#include "render/Surface.h"

#include <QFont>
#include <QList>
#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QRectF>

#include <cstdint>
#include <utility>
#include <vector>

class QPainter;
class QRect;

// The drawing surface on a QPainter the caller owns and has begun on a
// device: an image, a widget, an SVG or PDF generator, a printer. The
// painter's own settings are saved on construction and restored on
// destruction.
//
// Pixels follow the device-context rules: FillRect covers
// left <= x < right, top <= y < bottom; polygons cover the pixels whose
// centres lie inside them; lines, outlines and fills are drawn without
// antialiasing, so neighbouring cells meet without a seam and one-pixel
// lines stay crisp; only text is antialiased. On vector devices lines run
// through pixel centres (half a unit in), so a one-unit line covers exactly
// its row of pixels when the file is shown at its own size.
//
// Pens: solid, dash, dot, dash-dot, dash-dot-dot and null; width 0 is the
// thinnest line the device draws (a hairline on vector devices). Dashed
// styles use the device-context patterns (dash 18 on 6 off, dot 3 on 3
// off, ...) and draw solid when wider than one unit, as the device
// context does. Wide solid pens have round caps and joins.
//
// Hatched brushes draw 8 x 8 pixel hatches in the brush colour; in opaque
// background mode the gaps take the background colour, in transparent mode
// they are left alone (the gaps of dashed lines likewise). HatchStyle
// FDiagonal lines run from the top left down to the bottom right of the
// screen and BDiagonal ones from the bottom left up to the top right, as a
// device context draws HS_FDIAGONAL and HS_BDIAGONAL.
//
// Texts: the reference point is the left, right or centre of the text cell
// and its top, bottom or baseline; escapement turns the text counter-
// clockwise about the reference point; in opaque mode the cell is painted
// with the background colour first.
//
// XorPen makes pen drawing and Rectangle exclusive-or with the device where
// the paint engine can (raster devices); elsewhere it draws plainly.
//
// On vector devices the surface gathers (see FillGathering): consecutive
// solid fills of one colour into one path, solid segments of one pen into
// one path.
class QtSurface : public Surface, public FillGathering {
public:
    explicit QtSurface(QPainter& painter,
                       std::int32_t technology = DeviceTechnology::RasterDisplay);
    ~QtSurface() override;
    QtSurface(const QtSurface&) = delete;
    QtSurface& operator=(const QtSurface&) = delete;

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
    // Whether fills and segments are gathered now rather than drawn.
    bool Gathers() const { return gathering_ && vectorDevice_; }
    struct GatheredFills;
    // The gathered fills that a solid brush joins; nothing when the brush
    // is not one that is gathered.
    GatheredFills* GatheredFillsOf(const Brush& brush);
    // Adds a solid fill to its colour's path; false when the brush is not
    // one that is gathered.
    bool GatherFill(const QPainterPath& path, const QRectF& rect, const Brush& brush);
    // Strokes the gathered segments with their pen.
    void FlushSegments();
    // Strokes the path with the selected pen (and the raster operation).
    void StrokePath(const QPainterPath& path);
    // Fills the path (winding rule) or, when the path is empty, the
    // rectangle, with the brush and the background rules for hatches.
    void FillShape(const QPainterPath& path, const QRect& rect, const Brush& brush);
    void ApplyRasterOp(bool xorAllowed);

    QPainter& painter_;
    std::int32_t technology_;
    bool vectorDevice_;
    bool canXor_;

    Pen pen_;
    // The Qt pen of pen_, made once per selection: map contours draw
    // hundreds of thousands of segments with one pen.
    QPen qpen_;
    Brush brush_ = Brush::Solid(0xFFFFFF);
    DeviceFont font_;
    QFont qfont_;
    std::uint32_t textAlign_ = TextAlign::Left | TextAlign::Top;
    std::int32_t bkMode_ = BackgroundMode::Opaque;
    std::uint32_t textColor_ = 0x000000;
    std::uint32_t bkColor_ = 0xFFFFFF;
    RasterOp rop2_ = RasterOp::CopyPen;
    QPoint position_;

    bool gathering_ = false;
    // The fills of one colour: rectangles (most cells) and other shapes.
    struct GatheredFills {
        std::uint32_t color = 0;
        QList<QRectF> rects;
        QPainterPath shapes;
        // The unions of rectangles as the rings of their outlines; for a
        // PDF file, those that take fewer bytes as rectangles also as
        // these, in case no other shape comes. Two unions never merely
        // abut, so they need not share one fill.
        QPainterPath unionShapes;
        QList<QRectF> unionRects;
        QPainterPath unionRectShapes;
    };
    // One entry per run of fills of one colour, in drawing order.
    std::vector<GatheredFills> fills_;
    // The PDF engine writes rectangles natively and compactly, and one
    // fill for all of them; other engines take one path. Two fills that
    // share a side would show a seam there, so a PDF fill of rectangles
    // holds all the shapes they may touch.
    bool pdfDevice_ = false;
    QPainterPath segments_;
};
