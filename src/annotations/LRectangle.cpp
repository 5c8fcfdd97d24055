#include "annotations/LRectangle.h"

#include <cmath>

#include "render/RoundCoordinate.h"

LRectangle::LRectangle(double ax, double ay, double bx, double by)
    : LGraphicObject(LPoint(ax, ay), LPoint(bx, by)) {}

void LRectangle::Draw(Surface& surface, const CCSystem* coordinates) {
    if (surface.GetMapMode() != MapMode::Text) {
        return;
    }
    const CCSystem& system = CoordinatesOrDefault(coordinates);
    const IntPoint a = system.TransToDeviceRounded(GetA());
    const IntPoint b = system.TransToDeviceRounded(GetB());
    if (borderWidth_ < 0.0) {
        surface.FillRect(DeviceRect{a.x, b.y, b.x, a.y}, fill_);
        return;
    }
    std::int32_t penWidth = RoundCoordinate(system.GetPageSystem().MeanScale() * borderWidth_);
    // Dashed and dotted borders are drawn one pixel wide whatever their
    // width: wider pens cannot draw those patterns on every device.
    if (penStyle_ >= PenStyle::Dash && penStyle_ <= PenStyle::DashDotDot) {
        penWidth = 1;
    }
    const ScopedPen pen(surface, Pen{penStyle_, penWidth, borderColor_});
    const ScopedBrush brush(surface, fill_);
    surface.Rectangle(a.x, b.y, b.x, a.y);
}

bool LRectangle::Contains(const DoublePoint& point, const CCSystem* coordinates) const {
    DoublePoint a;
    DoublePoint b;
    CornersOnPage(CoordinatesOrDefault(coordinates), a, b);
    return a.x < point.x && point.x < b.x && a.y < point.y && point.y < b.y;
}

bool LRectangle::OutlineContains(const DoublePoint& point, const CCSystem* coordinates,
                                 const DoublePoint& tolerance) const {
    DoublePoint a;
    DoublePoint b;
    CornersOnPage(CoordinatesOrDefault(coordinates), a, b);
    const double left = std::fmin(a.x, b.x);
    const double right = std::fmax(a.x, b.x);
    const double bottom = std::fmin(a.y, b.y);
    const double top = std::fmax(a.y, b.y);
    const double tx = tolerance.x;
    const double ty = tolerance.y;
    const bool withinX = left - tx <= point.x && point.x <= right + tx;
    const bool withinY = bottom - ty <= point.y && point.y <= top + ty;
    const bool nearSide = std::fabs(point.x - left) <= tx || std::fabs(point.x - right) <= tx;
    const bool nearEnd = std::fabs(point.y - bottom) <= ty || std::fabs(point.y - top) <= ty;
    return (nearSide && withinY) || (nearEnd && withinX);
}

FrameRecord LRectangle::GetFrameRecord() const {
    return {borderWidth_, penStyle_, borderColor_, fill_.style, fill_.color, fill_.hatch};
}

void LRectangle::SetFrameRecord(const FrameRecord& record) {
    borderWidth_ = record.borderWidth;
    penStyle_ = record.penStyle;
    borderColor_ = record.penColor;
    fill_ = Brush{record.fillStyle, record.fillColor, record.hatchStyle};
}
