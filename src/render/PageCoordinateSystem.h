#pragma once

#include "render/Geometry.h"

#include <cstdint>

class Surface;

// Maps a window on the page (tenths of a millimetre, y upwards) onto a
// device viewport (pixels, y downwards). The page's lower edge y1 lands on
// the viewport's bottom, its larger device y.
class PageCoordinateSystem {
public:
    // An A4 sheet in landscape on a 1024 x 720 pixel device, the page a
    // view starts with.
    PageCoordinateSystem();
    PageCoordinateSystem(double x1, double x2, double y1, double y2, std::int32_t left,
                         std::int32_t right, std::int32_t bottom, std::int32_t top);
    PageCoordinateSystem(const PageCoordinateSystem& other);
    PageCoordinateSystem& operator=(const PageCoordinateSystem& other);

    // The page a printer or metafile device holds: its size in page units
    // from HORZRES / LOGPIXELSX and VERTRES / LOGPIXELSY (A4 landscape when
    // either comes out 0), mapped onto the whole device.
    static PageCoordinateSystem FromDevice(Surface& surface);

    // Throws LException when the window or the viewport is empty or
    // reversed (or not finite); the previous mapping then stays in force.
    void SetDeviceViewport(double x1, double x2, double y1, double y2, std::int32_t left,
                           std::int32_t right, std::int32_t bottom, std::int32_t top);
    void SetPageWindow(double x1, double x2, double y1, double y2);
    void SetDeviceRect(std::int32_t left, std::int32_t right, std::int32_t bottom,
                       std::int32_t top);

    // Whole device pixels, each coordinate rounded by RoundCoordinate.
    // Integer page coordinates convert exactly to double, so one form serves both.
    IntPoint PageToDevice(double x, double y) const;
    DoublePoint PageToDeviceExact(double x, double y) const;
    DoublePoint DeviceToPage(std::int32_t x, std::int32_t y) const;

    double GetX1() const { return x1_; }
    double GetX2() const { return x2_; }
    double GetY1() const { return y1_; }
    double GetY2() const { return y2_; }
    std::int32_t GetLeft() const { return left_; }
    std::int32_t GetRight() const { return right_; }
    std::int32_t GetBottom() const { return bottom_; }
    std::int32_t GetTop() const { return top_; }

    // Device units per page unit along x.
    double XScale() const { return xScale_; }
    // Device units per page unit along y, as a positive number.
    double YScale() const { return -yScale_; }
    // The mean of the two; line widths in page units are scaled by it.
    double MeanScale() const { return (xScale_ - yScale_) * 0.5; }

    friend bool operator==(const PageCoordinateSystem& a, const PageCoordinateSystem& b);

private:
    double x1_ = 0.0;
    double x2_ = 0.0;
    double y1_ = 0.0;
    double y2_ = 0.0;
    std::int32_t left_ = 0;
    std::int32_t right_ = 0;
    std::int32_t bottom_ = 0;
    std::int32_t top_ = 0;
    double xScale_ = 0.0;
    double xOffset_ = 0.0;
    double yOffset_ = 0.0;
    double yScale_ = 0.0; // negative: page y grows upwards, device y downwards
};
