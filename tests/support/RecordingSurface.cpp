#include "RecordingSurface.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

std::string Number(std::int64_t value) {
    return std::to_string(value);
}

// names[index] when it has one, else value as a number.
template <std::size_t N>
std::string NameOf(const char* const (&names)[N], std::int64_t index, std::int64_t value) {
    const bool named = static_cast<std::uint64_t>(index) < N && names[index] != nullptr;
    return named ? std::string(names[index]) : Number(value);
}

const char* const kPenStyles[] = {"solid", "dash", "dot", "dashdot", "dashdotdot", "null"};
const char* const kHatches[] = {"horizontal", "vertical", "fdiagonal",
                                "bdiagonal",  "cross",    "diagcross"};

std::string AlignName(std::uint32_t flags) {
    // Indexed by the horizontal part / 2 and the vertical part / 8; the
    // lone bits 4 and 16 have no name.
    static const char* const horizontal[] = {"left", "right", nullptr, "center"};
    static const char* const vertical[] = {"top", "bottom", nullptr, "baseline"};
    const std::uint32_t h = flags & TextAlign::HorizontalMask;
    const std::uint32_t v = flags & TextAlign::VerticalMask;
    const std::uint32_t rest = flags & ~(TextAlign::HorizontalMask | TextAlign::VerticalMask);
    return NameOf(horizontal, h / 2, h) + "|" + NameOf(vertical, v / 8, v) +
           (rest != 0 ? "+" + Number(rest) : "");
}

std::string PointList(std::span<const IntPoint> points) {
    std::string text;
    for (const IntPoint& p : points) {
        text += " " + Number(p.x) + "," + Number(p.y);
    }
    return text;
}

const char* CapName(DeviceCap cap) {
    static const std::map<DeviceCap, const char*> names = {{DeviceCap::Technology, "technology"},
                                                           {DeviceCap::HorzRes, "horzres"},
                                                           {DeviceCap::VertRes, "vertres"},
                                                           {DeviceCap::LogPixelsX, "logpixelsx"},
                                                           {DeviceCap::LogPixelsY, "logpixelsy"}};
    const auto found = names.find(cap);
    return found == names.end() ? "?" : found->second;
}

// True when the log line records a call of the operation.
bool IsOperation(std::string_view line, std::string_view operation) {
    return line.starts_with(operation) &&
           (line.size() == operation.size() || line[operation.size()] == ' ');
}

} // namespace

RecordingSurface::RecordingSurface() {
    state_.brush = Brush::Solid(0xFFFFFF);
    caps_ = {{DeviceCap::Technology, DeviceTechnology::RasterDisplay},
             {DeviceCap::HorzRes, 800},
             {DeviceCap::VertRes, 600},
             {DeviceCap::LogPixelsX, 96},
             {DeviceCap::LogPixelsY, 96}};
}

std::string RecordingSurface::FormatColor(std::uint32_t color) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%06x", static_cast<unsigned>(color));
    return buffer;
}

std::string RecordingSurface::FormatPen(const Pen& pen) {
    return NameOf(kPenStyles, pen.style, pen.style) + ":" + Number(pen.width) + ":" +
           FormatColor(pen.color);
}

std::string RecordingSurface::FormatBrush(const Brush& brush) {
    switch (brush.style) {
    case BrushStyle::Solid:
        return "solid:" + FormatColor(brush.color);
    case BrushStyle::Hollow:
        return "hollow";
    case BrushStyle::Hatched:
        return "hatched:" + NameOf(kHatches, brush.hatch, brush.hatch) + ":" +
               FormatColor(brush.color);
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
    const std::int64_t pixels = fontHeight == 0 ? 16 : std::llabs(std::int64_t{fontHeight});
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
    static const char* const names[] = {nullptr, "transparent", "opaque"};
    log_.push_back("SetBkMode " + NameOf(names, mode, mode));
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
    for (std::size_t i = 0; i < log_.size(); ++i) {
        text += (i == 0 ? "" : "\n") + log_[i];
    }
    return text;
}

std::vector<std::string> RecordingSurface::DrawingCalls() const {
    static const std::string_view drawing[] = {"FillRect", "FillPolygon", "FillRects", "MoveTo",
                                               "LineTo",   "Polyline",    "Rectangle", "TextOut"};
    std::vector<std::string> calls;
    std::ranges::copy_if(log_, std::back_inserter(calls), [](const std::string& line) {
        return std::ranges::any_of(drawing,
                                   [&](std::string_view op) { return IsOperation(line, op); });
    });
    return calls;
}

std::size_t RecordingSurface::Count(std::string_view operation) const {
    return static_cast<std::size_t>(std::ranges::count_if(
        log_, [&](const std::string& line) { return IsOperation(line, operation); }));
}
