#pragma once

#include "render/Surface.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// A drawing surface that draws nothing and logs every call as one line,
// so that tests can assert exact call sequences.
//
// Log lines (numbers in decimal, colours as 0x plus at least six lower-case
// hex digits, e.g. 0x0000ff for red):
//   SelectPen <pen>                 pen   = <style>:<width>:<colour>
//   SelectBrush <brush>             brush = solid:<colour> | hollow
//                                           | hatched:<hatch>:<colour>
//   SelectFont <font>               font  = {<13 numbers> "<face>"}, the
//                                           height in device units
//   SetTextAlign <h>|<v>            h = left|right|center, v = top|bottom|baseline
//                                   (other bits follow as +<number>)
//   SetBkMode transparent|opaque, SetROP2 xor|copy
//   SetTextColor <colour>, SetBkColor <colour>
//   FillRect <left> <top> <right> <bottom> brush=<brush>
//   FillPolygon <x>,<y> <x>,<y> ... brush=<brush>
//   MoveTo <x> <y>, LineTo <x> <y>, Rectangle <left> <top> <right> <bottom>
//   Polyline <x>,<y> <x>,<y> ...
//   TextOut <x> <y> "<text>"
//   GetTextExtent "<text>" -> <width> <height>, GetMapMode -> <mode>
//   GetDeviceCaps technology|horzres|vertres|logpixelsx|logpixelsy -> <value>
// Pen styles print as solid, dash, dot, dashdot, dashdotdot, null; hatch
// styles as horizontal, vertical, fdiagonal, bdiagonal, cross, diagcross;
// any other value prints as its number.
//
// Text metric: with pixel height p = |selected font height| (16 when the
// height is 0), a text of n bytes measures 0.6 * p * n, rounded to the
// nearest whole pixel, by p.
//
// Device caps default to a 96-dpi raster display of 800 x 600 pixels, the
// map mode to MapMode::Text; both can be changed.
class RecordingSurface : public Surface {
public:
    // Everything a drawing routine must leave as it found it.
    struct State {
        Pen pen;
        Brush brush;
        DeviceFont font;
        std::uint32_t textAlign = TextAlign::Left | TextAlign::Top;
        std::int32_t bkMode = BackgroundMode::Opaque;
        std::uint32_t textColor = 0x000000;
        std::uint32_t bkColor = 0xFFFFFF;
        RasterOp rop2 = RasterOp::CopyPen;
        friend bool operator==(const State&, const State&) = default;
    };

    RecordingSurface();

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

    void SetDeviceCap(DeviceCap cap, std::int32_t value) { caps_[cap] = value; }
    void SetMapMode(std::int32_t mode) { mapMode_ = mode; }

    const std::vector<std::string>& Log() const { return log_; }
    // The log, one line each, lines joined by "\n".
    std::string Text() const;
    // Only the lines that draw (fills, lines, rectangles, text output).
    std::vector<std::string> DrawingCalls() const;
    // How many lines start with the operation's name.
    std::size_t Count(std::string_view operation) const;
    void ClearLog() { log_.clear(); }

    const State& CurrentState() const { return state_; }

    // The metric of GetTextExtent, for computing expected positions.
    static IntSize MeasureText(std::string_view text, std::int32_t fontHeight);

    static std::string FormatColor(std::uint32_t color);
    static std::string FormatPen(const Pen& pen);
    static std::string FormatBrush(const Brush& brush);
    static std::string FormatFont(const DeviceFont& font);

protected:
    // Adds a line to the log, for subclasses that record calls of their own.
    void Record(std::string line) { log_.push_back(std::move(line)); }

private:
    State state_;
    std::map<DeviceCap, std::int32_t> caps_;
    std::int32_t mapMode_ = MapMode::Text;
    std::vector<std::string> log_;
};
