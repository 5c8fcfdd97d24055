#pragma once

#include "render/Surface.h"

// A surface that passes every call on to another one; subclasses change
// the calls they override (how texts are spelled, what may be gathered).
class ForwardingSurface : public Surface {
public:
    explicit ForwardingSurface(Surface& target) : target_(target) {}

    Pen SelectPen(Pen pen) override { return target_.SelectPen(pen); }
    Brush SelectBrush(Brush brush) override { return target_.SelectBrush(brush); }
    DeviceFont SelectFont(DeviceFont font) override { return target_.SelectFont(font); }
    std::uint32_t SetTextAlign(std::uint32_t flags) override { return target_.SetTextAlign(flags); }
    std::int32_t SetBkMode(std::int32_t mode) override { return target_.SetBkMode(mode); }
    std::uint32_t SetTextColor(std::uint32_t color) override { return target_.SetTextColor(color); }
    std::uint32_t SetBkColor(std::uint32_t color) override { return target_.SetBkColor(color); }
    RasterOp SetROP2(RasterOp op) override { return target_.SetROP2(op); }
    void FillRect(const DeviceRect& rect, Brush brush) override { target_.FillRect(rect, brush); }
    void FillPolygon(std::span<const IntPoint> points, Brush brush) override {
        target_.FillPolygon(points, brush);
    }
    void MoveTo(std::int32_t x, std::int32_t y) override { target_.MoveTo(x, y); }
    void LineTo(std::int32_t x, std::int32_t y) override { target_.LineTo(x, y); }
    void Polyline(std::span<const IntPoint> points) override { target_.Polyline(points); }
    void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                   std::int32_t bottom) override {
        target_.Rectangle(left, top, right, bottom);
    }
    void TextOut(std::int32_t x, std::int32_t y, std::string_view text) override {
        target_.TextOut(x, y, text);
    }
    IntSize GetTextExtent(std::string_view text) override { return target_.GetTextExtent(text); }
    std::int32_t GetDeviceCaps(DeviceCap cap) override { return target_.GetDeviceCaps(cap); }
    std::int32_t GetMapMode() override { return target_.GetMapMode(); }

protected:
    Surface& Target() { return target_; }

private:
    Surface& target_;
};
