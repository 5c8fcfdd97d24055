#pragma once

#include "render/FontRecord.h"
#include "render/Geometry.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

// Colours everywhere are 32-bit values 0x00BBGGRR (red in the low byte).

// Pen style numbers, as setup files store them.
struct PenStyle {
    static constexpr std::int32_t Solid = 0;
    static constexpr std::int32_t Dash = 1;
    static constexpr std::int32_t Dot = 2;
    static constexpr std::int32_t DashDot = 3;
    static constexpr std::int32_t DashDotDot = 4;
    static constexpr std::int32_t Null = 5; // draws nothing
};

// Brush style numbers.
struct BrushStyle {
    static constexpr std::uint32_t Solid = 0;
    static constexpr std::uint32_t Hollow = 1; // fills nothing
    static constexpr std::uint32_t Hatched = 2;
};

// Hatch style numbers of hatched brushes.
struct HatchStyle {
    static constexpr std::int32_t Horizontal = 0;
    static constexpr std::int32_t Vertical = 1;
    static constexpr std::int32_t FDiagonal = 2; // lines from top left to bottom right
    static constexpr std::int32_t BDiagonal = 3; // lines from bottom left to top right
    static constexpr std::int32_t Cross = 4;
    static constexpr std::int32_t DiagCross = 5;
};

// Text alignment flags: the reference point of TextOut. One horizontal
// value combined with one vertical value. Center includes the Right bit, so
// compare the horizontal part as a whole (flags & HorizontalMask).
struct TextAlign {
    static constexpr std::uint32_t Left = 0;
    static constexpr std::uint32_t Right = 2;
    static constexpr std::uint32_t Center = 6;
    static constexpr std::uint32_t Top = 0;
    static constexpr std::uint32_t Bottom = 8;
    static constexpr std::uint32_t Baseline = 24;
    static constexpr std::uint32_t HorizontalMask = 6;
    static constexpr std::uint32_t VerticalMask = 24;
};

// Whether text output paints its background box. In opaque mode the gaps
// of hatched brushes and dashed pens take the background colour too.
struct BackgroundMode {
    static constexpr std::int32_t Transparent = 1;
    static constexpr std::int32_t Opaque = 2;
};

// Mapping modes; the drawing code works only in MapMode::Text, one logical
// unit per device pixel.
struct MapMode {
    static constexpr std::int32_t Text = 1;
    static constexpr std::int32_t LoMetric = 2;
    static constexpr std::int32_t HiMetric = 3;
    static constexpr std::int32_t LoEnglish = 4;
    static constexpr std::int32_t HiEnglish = 5;
    static constexpr std::int32_t Twips = 6;
    static constexpr std::int32_t Isotropic = 7;
    static constexpr std::int32_t Anisotropic = 8;
};

// Values GetDeviceCaps(DeviceCap::Technology) answers.
struct DeviceTechnology {
    static constexpr std::int32_t Plotter = 0;
    static constexpr std::int32_t RasterDisplay = 1;
    static constexpr std::int32_t RasterPrinter = 2;
    static constexpr std::int32_t RasterCamera = 3;
    static constexpr std::int32_t CharacterStream = 4;
    static constexpr std::int32_t Metafile = 5;
    static constexpr std::int32_t DisplayFile = 6;
};

// The raster operation for lines: XorPen makes drawing twice erase. It has
// no effect on metafiles and vector devices.
enum class RasterOp : std::int32_t { XorPen = 7, CopyPen = 13 };

// What GetDeviceCaps can be asked.
enum class DeviceCap : std::int32_t {
    Technology = 2,
    HorzRes = 8,     // width in pixels
    VertRes = 10,    // height in pixels
    LogPixelsX = 88, // pixels per inch along x
    LogPixelsY = 90, // pixels per inch along y
};

// A pen: style, width in device units (0 or less: the thinnest line the
// device draws) and colour.
struct Pen {
    std::int32_t style = PenStyle::Solid;
    std::int32_t width = 0;
    std::uint32_t color = 0;
    friend bool operator==(const Pen&, const Pen&) = default;
};

// A brush, as the Windows LOGBRUSH record holds it: style, colour and,
// for hatched brushes, the hatch style.
struct Brush {
    std::uint32_t style = BrushStyle::Solid;
    std::uint32_t color = 0;
    std::int32_t hatch = 0;

    static Brush Solid(std::uint32_t color) { return {BrushStyle::Solid, color, 0}; }
    static Brush Hollow() { return {BrushStyle::Hollow, 0, 0}; }
    static Brush Hatched(std::int32_t hatch, std::uint32_t color) {
        return {BrushStyle::Hatched, color, hatch};
    }
    friend bool operator==(const Brush&, const Brush&) = default;
};

// A font selected into a surface: a stored record whose height has been
// turned into device pixels (negative: character height; positive: cell
// height; 0: the device's default size).
struct DeviceFont {
    FontRecord record;

    static DeviceFont FromRecord(const FontRecord& stored, std::int32_t deviceHeight) {
        DeviceFont font{stored};
        font.record.height = deviceHeight;
        return font;
    }
    friend bool operator==(const DeviceFont&, const DeviceFont&) = default;
};

// The drawing surface: a window, printer, image or metafile. Every drawing
// routine leaves it as it found it: whatever it selects, it selects the
// previous value back before returning (the Scoped helpers below do this).
// Selections must not throw, so that restoring is safe from destructors.
//
// A fresh surface holds a black solid pen of width 0, a white solid brush,
// the device's default font, alignment Left | Top, an opaque background,
// black text on white and the CopyPen raster operation.
class Surface {
public:
    virtual ~Surface() = default;

    // Selections and settings; each returns the value in force before.
    virtual Pen SelectPen(Pen pen) = 0;
    virtual Brush SelectBrush(Brush brush) = 0;
    virtual DeviceFont SelectFont(DeviceFont font) = 0;
    virtual std::uint32_t SetTextAlign(std::uint32_t flags) = 0;
    virtual std::int32_t SetBkMode(std::int32_t mode) = 0;
    virtual std::uint32_t SetTextColor(std::uint32_t color) = 0;
    virtual std::uint32_t SetBkColor(std::uint32_t color) = 0;
    virtual RasterOp SetROP2(RasterOp op) = 0;

    // Fills left <= x < right, top <= y < bottom with the brush, without
    // touching the selections; an empty or reversed rectangle fills nothing.
    virtual void FillRect(const DeviceRect& rect, Brush brush) = 0;
    // Fills the closed polygon through the points (3 or 4 of them in the
    // program's use) with the brush, by the winding rule.
    virtual void FillPolygon(std::span<const IntPoint> points, Brush brush) = 0;
    virtual void MoveTo(std::int32_t x, std::int32_t y) = 0;
    // A segment with the selected pen from the current position; the end
    // point is not painted and becomes the current position.
    virtual void LineTo(std::int32_t x, std::int32_t y) = 0;
    // Connected segments with the selected pen.
    virtual void Polyline(std::span<const IntPoint> points) = 0;
    // Outline with the selected pen, interior with the selected brush; the
    // corners may come in either order.
    virtual void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom) = 0;
    // One line of text (bytes) at the reference point that the text
    // alignment names, in the selected font and text colour, on a
    // background box when the background mode is Opaque.
    virtual void TextOut(std::int32_t x, std::int32_t y, std::string_view text) = 0;
    // Width and height of the text in the selected font, device units.
    virtual IntSize GetTextExtent(std::string_view text) = 0;
    virtual std::int32_t GetDeviceCaps(DeviceCap cap) = 0;
    virtual std::int32_t GetMapMode() = 0;
};

// Selects a value for the lifetime of the helper and selects the previous
// value back when it goes.
template <typename Value, Value (Surface::*Select)(Value)>
class ScopedSelection {
public:
    ScopedSelection(Surface& surface, Value value)
        : surface_(surface), previous_((surface.*Select)(std::move(value))) {}
    ~ScopedSelection() { (surface_.*Select)(std::move(previous_)); }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

    const Value& Previous() const { return previous_; }

private:
    Surface& surface_;
    Value previous_;
};

using ScopedPen = ScopedSelection<Pen, &Surface::SelectPen>;
using ScopedBrush = ScopedSelection<Brush, &Surface::SelectBrush>;
using ScopedFont = ScopedSelection<DeviceFont, &Surface::SelectFont>;
using ScopedTextAlign = ScopedSelection<std::uint32_t, &Surface::SetTextAlign>;
using ScopedBkMode = ScopedSelection<std::int32_t, &Surface::SetBkMode>;
using ScopedTextColor = ScopedSelection<std::uint32_t, &Surface::SetTextColor>;
using ScopedBkColor = ScopedSelection<std::uint32_t, &Surface::SetBkColor>;
using ScopedROP2 = ScopedSelection<RasterOp, &Surface::SetROP2>;
