#include "render/PageCoordinateSystem.h"

#include "core/LException.h"
#include "render/RoundCoordinate.h"
#include "render/Surface.h"

#include <cmath>

namespace {

constexpr double kDefaultPageWidth = 2970.0;
constexpr double kDefaultPageHeight = 2100.0;
constexpr double kPageUnitsPerInch = 254.0;

bool IsUsableScale(double scale) {
    return std::isfinite(scale) && scale != 0.0;
}

} // namespace

PageCoordinateSystem::PageCoordinateSystem() {
    SetDeviceViewport(0.0, kDefaultPageWidth, 0.0, kDefaultPageHeight, 0, 1024, 720, 0);
}

PageCoordinateSystem::PageCoordinateSystem(double x1, double x2, double y1, double y2,
                                           std::int32_t left, std::int32_t right,
                                           std::int32_t bottom, std::int32_t top) {
    SetDeviceViewport(x1, x2, y1, y2, left, right, bottom, top);
}

PageCoordinateSystem::PageCoordinateSystem(const PageCoordinateSystem& other) {
    SetDeviceViewport(other.x1_, other.x2_, other.y1_, other.y2_, other.left_, other.right_,
                      other.bottom_, other.top_);
}

PageCoordinateSystem& PageCoordinateSystem::operator=(const PageCoordinateSystem& other) {
    if (this != &other) {
        SetDeviceViewport(other.x1_, other.x2_, other.y1_, other.y2_, other.left_, other.right_,
                          other.bottom_, other.top_);
    }
    return *this;
}

PageCoordinateSystem PageCoordinateSystem::FromDevice(Surface& surface) {
    const std::int32_t horzRes = surface.GetDeviceCaps(DeviceCap::HorzRes);
    const std::int32_t vertRes = surface.GetDeviceCaps(DeviceCap::VertRes);
    const std::int32_t logPixelsX = surface.GetDeviceCaps(DeviceCap::LogPixelsX);
    const std::int32_t logPixelsY = surface.GetDeviceCaps(DeviceCap::LogPixelsY);
    double width = 0.0;
    double height = 0.0;
    // A device that reports no resolution would divide by zero; such a page
    // counts as one that came out 0.
    if (logPixelsX > 0 && logPixelsY > 0) {
        width = static_cast<double>(horzRes) / logPixelsX * kPageUnitsPerInch;
        height = static_cast<double>(vertRes) / logPixelsY * kPageUnitsPerInch;
    }
    if (width == 0.0 || height == 0.0) {
        width = kDefaultPageWidth;
        height = kDefaultPageHeight;
    }
    return PageCoordinateSystem(0.0, width, 0.0, height, 0, horzRes, vertRes, 0);
}

void PageCoordinateSystem::SetDeviceViewport(double x1, double x2, double y1, double y2,
                                             std::int32_t left, std::int32_t right,
                                             std::int32_t bottom, std::int32_t top) {
    const double xScale = (static_cast<double>(right) - left) / (x2 - x1);
    const double yScale = (static_cast<double>(top) - bottom) / (y2 - y1);
    // Besides the order of the edges, the scales must be usable: a window of
    // infinite or denormal size would make every transform inf or NaN.
    const bool valid = x2 > x1 && y2 > y1 && left < right && bottom > top && std::isfinite(x1) &&
                       std::isfinite(y1) && IsUsableScale(xScale) && IsUsableScale(yScale);
    if (!valid) {
        throw LException("PageCoordinateSystem::SetDeviceViewport",
                         "x2 <= x1 || y2 <= y1 check failed");
    }
    x1_ = x1;
    x2_ = x2;
    y1_ = y1;
    y2_ = y2;
    left_ = left;
    right_ = right;
    bottom_ = bottom;
    top_ = top;
    xScale_ = xScale;
    xOffset_ = left - xScale * x1;
    yScale_ = yScale;
    yOffset_ = bottom - yScale * y1;
}

void PageCoordinateSystem::SetPageWindow(double x1, double x2, double y1, double y2) {
    SetDeviceViewport(x1, x2, y1, y2, left_, right_, bottom_, top_);
}

void PageCoordinateSystem::SetDeviceRect(std::int32_t left, std::int32_t right, std::int32_t bottom,
                                         std::int32_t top) {
    SetDeviceViewport(x1_, x2_, y1_, y2_, left, right, bottom, top);
}

IntPoint PageCoordinateSystem::PageToDevice(double x, double y) const {
    const DoublePoint exact = PageToDeviceExact(x, y);
    return {RoundCoordinate(exact.x), RoundCoordinate(exact.y)};
}

DoublePoint PageCoordinateSystem::PageToDeviceExact(double x, double y) const {
    return {xScale_ * x + xOffset_, yScale_ * y + yOffset_};
}

DoublePoint PageCoordinateSystem::DeviceToPage(std::int32_t x, std::int32_t y) const {
    return {(x - xOffset_) / xScale_, (y - yOffset_) / yScale_};
}

bool operator==(const PageCoordinateSystem& a, const PageCoordinateSystem& b) {
    return a.x1_ == b.x1_ && a.x2_ == b.x2_ && a.y1_ == b.y1_ && a.y2_ == b.y2_ &&
           a.left_ == b.left_ && a.right_ == b.right_ && a.bottom_ == b.bottom_ && a.top_ == b.top_;
}
