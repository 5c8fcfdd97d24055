#include "RecordingSurface.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::string Number(std::int64_t value) {
    return std::to_string(value);
}

std::string PenStyleName(std::int32_t style) {
    switch (style) {
    case PenStyle::Solid:
        return "solid";
    case PenStyle::Dash:
        return "dash";
    case PenStyle::Dot:
        return "dot";
    case PenStyle::DashDot:
        return "dashdot";
    case PenStyle::DashDotDot:
        return "dashdotdot";
    case PenStyle::Null:
        return "null";
    default:
        return Number(style);
    }
}

std::string HatchName(std::int32_t hatch) {
    static const char* const names[] = {"horizontal", "vertical", "fdiagonal",
                                        "bdiagonal",  "cross",    "diagcross"};
    if (hatch >= 0 && hatch < 6) {
        return names[hatch];
    }
    return Number(hatch);
}

std::string AlignName(std::uint32_t flags) {
    std::string text;
    switch (flags & TextAlign::HorizontalMask) {
    case TextAlign::Right:
        text = "right";
        break;
    case TextAlign::Center:
        text = "center";
        break;
    case TextAlign::Left:
        text = "left";
        break;
    default: // the lone bit 4 has no name
        text = Number(flags & TextAlign::HorizontalMask);
        break;
    }
    switch (flags & TextAlign::VerticalMask) {
    case TextAlign::Bottom:
        text += "|bottom";
        break;
    case TextAlign::Baseline:
        text += "|baseline";
        break;
    case TextAlign::Top:
        text += "|top";
        break;
    default:
        text += "|" + Number(flags & TextAlign::VerticalMask);
        break;
    }
    const std::uint32_t rest = flags & ~(TextAlign::HorizontalMask | TextAlign::VerticalMask);
    if (rest != 0) {
        text += "+" + Number(rest);
    }
    return text;
}

std::string PointList(std::span<const IntPoint> points) {
    std::string text;
    for (const IntPoint& p : points) {
        text += " " + Number(p.x) + "," + Number(p.y);
    }
    return text;
}

const char* CapName(DeviceCap cap) {
    switch (cap) {
    case DeviceCap::Technology:
        return "technology";
    case DeviceCap::HorzRes:
        return "horzres";
    case DeviceCap::VertRes:
        return "vertres";
    case DeviceCap::LogPixelsX:
        return "logpixelsx";
    case DeviceCap::LogPixelsY:
        return "logpixelsy";
    }
    return "?";
}

// True when the log line records a call of the operation.
bool IsOperation(std::string_view line, std::string_view operation) {
    return line.starts_with(operation) &&
           (line.size() == operation.size() || line[operation.size()] == ' ');
}

} // namespace

RecordingSurface::RecordingSurface() {
    state_.brush = Brush::Solid(0xFFFFFF);
    caps_[DeviceCap::Technology] = DeviceTechnology::RasterDisplay;
    caps_[DeviceCap::HorzRes] = 800;
    caps_[DeviceCap::VertRes] = 600;
    caps_[DeviceCap::LogPixelsX] = 96;
    caps_[DeviceCap::LogPixelsY] = 96;
}

std::string RecordingSurface::FormatColor(std::uint32_t color) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%06x", static_cast<unsigned>(color));
    return buffer;
}

std::string RecordingSurface::FormatPen(const Pen& pen) {
    return PenStyleName(pen.style) + ":" + Number(pen.width) + ":" + FormatColor(pen.color);
}

std::string RecordingSurface::FormatBrush(const Brush& brush) {
    switch (brush.style) {
    case BrushStyle::Solid:
        return "solid:" + FormatColor(brush.color);
    case BrushStyle::Hollow:
        return "hollow";
    case BrushStyle::Hatched:
        return "hatched:" + HatchName(brush.hatch) + ":" + FormatColor(brush.color);
    default:
        return Number(brush.style) + ":" + Number(brush.hatch) + ":" + FormatColor(brush.color);
    }
}

std::string RecordingSurface::FormatFont(const DeviceFont& font) {
    std::string text = "{";
    for (int i = 0; i < FontRecord::kNumberCount; ++i) {
        text += Number(font.record.GetNumber(i)) + " ";
    }
    return text + "\"" + font.record.GetFaceName() + "\"}";
}

IntSize RecordingSurface::MeasureText(std::string_view text, std::int32_t fontHeight) {
    std::int64_t pixels = std::llabs(static_cast<std::int64_t>(fontHeight));
    if (pixels == 0) {
        pixels = 16;
    }
    const auto bytes = static_cast<std::int64_t>(text.size());
    return {static_cast<std::int32_t>((6 * pixels * bytes + 5) / 10),
            static_cast<std::int32_t>(pixels)};
}

Pen RecordingSurface::SelectPen(Pen pen) {
    log_.push_back("SelectPen " + FormatPen(pen));
    return std::exchange(state_.pen, pen);
}

Brush RecordingSurface::SelectBrush(Brush brush) {
    log_.push_back("SelectBrush " + FormatBrush(brush));
    return std::exchange(state_.brush, brush);
}

DeviceFont RecordingSurface::SelectFont(DeviceFont font) {
    log_.push_back("SelectFont " + FormatFont(font));
    return std::exchange(state_.font, std::move(font));
}

std::uint32_t RecordingSurface::SetTextAlign(std::uint32_t flags) {
    log_.push_back("SetTextAlign " + AlignName(flags));
    return std::exchange(state_.textAlign, flags);
}

std::int32_t RecordingSurface::SetBkMode(std::int32_t mode) {
    const std::string name = mode == BackgroundMode::Transparent ? "transparent"
                             : mode == BackgroundMode::Opaque    ? "opaque"
                                                                 : Number(mode);
    log_.push_back("SetBkMode " + name);
    return std::exchange(state_.bkMode, mode);
}

std::uint32_t RecordingSurface::SetTextColor(std::uint32_t color) {
    log_.push_back("SetTextColor " + FormatColor(color));
    return std::exchange(state_.textColor, color);
}

std::uint32_t RecordingSurface::SetBkColor(std::uint32_t color) {
    log_.push_back("SetBkColor " + FormatColor(color));
    return std::exchange(state_.bkColor, color);
}

RasterOp RecordingSurface::SetROP2(RasterOp op) {
    const std::string name = op == RasterOp::XorPen    ? "xor"
                             : op == RasterOp::CopyPen ? "copy"
                                                       : Number(static_cast<std::int32_t>(op));
    log_.push_back("SetROP2 " + name);
    return std::exchange(state_.rop2, op);
}

void RecordingSurface::FillRect(const DeviceRect& rect, Brush brush) {
    log_.push_back("FillRect " + Number(rect.left) + " " + Number(rect.top) + " " +
                   Number(rect.right) + " " + Number(rect.bottom) + " brush=" + FormatBrush(brush));
}

void RecordingSurface::FillPolygon(std::span<const IntPoint> points, Brush brush) {
    log_.push_back("FillPolygon" + PointList(points) + " brush=" + FormatBrush(brush));
}

void RecordingSurface::MoveTo(std::int32_t x, std::int32_t y) {
    log_.push_back("MoveTo " + Number(x) + " " + Number(y));
}

void RecordingSurface::LineTo(std::int32_t x, std::int32_t y) {
    log_.push_back("LineTo " + Number(x) + " " + Number(y));
}

void RecordingSurface::Polyline(std::span<const IntPoint> points) {
    log_.push_back("Polyline" + PointList(points));
}

void RecordingSurface::Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                                 std::int32_t bottom) {
    log_.push_back("Rectangle " + Number(left) + " " + Number(top) + " " + Number(right) + " " +
                   Number(bottom));
}

void RecordingSurface::TextOut(std::int32_t x, std::int32_t y, std::string_view text) {
    log_.push_back("TextOut " + Number(x) + " " + Number(y) + " \"" + std::string(text) + "\"");
}

IntSize RecordingSurface::GetTextExtent(std::string_view text) {
    const IntSize size = MeasureText(text, state_.font.record.height);
    log_.push_back("GetTextExtent \"" + std::string(text) + "\" -> " + Number(size.width) + " " +
                   Number(size.height));
    return size;
}

std::int32_t RecordingSurface::GetDeviceCaps(DeviceCap cap) {
    const auto found = caps_.find(cap);
    const std::int32_t value = found == caps_.end() ? 0 : found->second;
    log_.push_back(std::string("GetDeviceCaps ") + CapName(cap) + " -> " + Number(value));
    return value;
}

std::int32_t RecordingSurface::GetMapMode() {
    log_.push_back("GetMapMode -> " + Number(mapMode_));
    return mapMode_;
}

std::string RecordingSurface::Text() const {
    std::string text;
    for (const std::string& line : log_) {
        if (!text.empty()) {
            text += "\n";
        }
        text += line;
    }
    return text;
}

std::vector<std::string> RecordingSurface::DrawingCalls() const {
    static const std::string_view drawing[] = {"FillRect", "FillPolygon", "MoveTo", "LineTo",
                                               "Polyline", "Rectangle",   "TextOut"};
    std::vector<std::string> calls;
    for (const std::string& line : log_) {
        for (std::string_view op : drawing) {
            if (IsOperation(line, op)) {
                calls.push_back(line);
                break;
            }
        }
    }
    return calls;
}

std::size_t RecordingSurface::Count(std::string_view operation) const {
    std::size_t count = 0;
    for (const std::string& line : log_) {
        if (IsOperation(line, operation)) {
            ++count;
        }
    }
    return count;
}
