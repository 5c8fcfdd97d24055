#include "render/CCSystem.h"

#include "core/LException.h"
#include "render/RoundCoordinate.h"

#include <cmath>

namespace {

bool IsUsableScale(double scale) {
    return std::isfinite(scale) && scale != 0.0;
}

void CheckAttribute(PointAttribute attribute) {
    if (attribute > RelativeY) {
        throw LException("CCSystem::TransToDevice", "Wrong attribute");
    }
}

} // namespace

CCSystem::CCSystem(double x1, double x2, double y1, double y2, double px1, double px2, double py1,
                   double py2, const PageCoordinateSystem& pageSystem)
    : pageSystem_(&pageSystem), xScale_((px2 - px1) / (x2 - x1)), xOffset_(px1 - xScale_ * x1),
      yOffset_(0.0), yScale_((py2 - py1) / (y2 - y1)), x1_(x1), x2_(x2), y1_(y1), y2_(y2) {
    yOffset_ = py1 - yScale_ * y1;
    const bool valid = x2 > x1 && y2 > y1 && px2 > px1 && py2 > py1 && IsUsableScale(xScale_) &&
                       IsUsableScale(yScale_) && std::isfinite(xOffset_) && std::isfinite(yOffset_);
    if (!valid) {
        throw LException("CCSystem :: CCSystem", "parameter check failed");
    }
}

DoublePoint CCSystem::DataToPage(double x, double y) const {
    return {xScale_ * x + xOffset_, yScale_ * y + yOffset_};
}

DoublePoint CCSystem::PageToData(double px, double py) const {
    return {(px - xOffset_) / xScale_, (py - yOffset_) / yScale_};
}

DoublePoint CCSystem::DataToDevice(double x, double y) const {
    const DoublePoint page = DataToPage(x, y);
    return pageSystem_->PageToDeviceExact(page.x, page.y);
}

DoublePoint CCSystem::DeviceToData(std::int32_t x, std::int32_t y) const {
    const DoublePoint page = pageSystem_->DeviceToPage(x, y);
    return PageToData(page.x, page.y);
}

double CCSystem::DataValue(PointAttribute attribute, double xValue, double yValue,
                           double ownValue) const {
    switch (attribute) {
    case DataXMin:
        return x1_;
    case DataXMax:
        return x2_;
    case DataYMin:
        return y1_;
    case DataYMax:
        return y2_;
    case RelativeX:
        return x1_ + xValue * (x2_ - x1_);
    case RelativeY:
        return y1_ + yValue * (y2_ - y1_);
    default:
        return ownValue;
    }
}

double CCSystem::DataLength(PointAttribute attribute, double xValue, double yValue,
                            double ownValue) const {
    switch (attribute) {
    case RelativeX:
        return xValue * (x2_ - x1_);
    case RelativeY:
        return yValue * (y2_ - y1_);
    default:
        return DataValue(attribute, xValue, yValue, ownValue);
    }
}

// The first term places the point. Every later term is an offset from
// there, read as a length along the axis it stands on:
//   - PageUnits: the value in page units, times the page system's scale;
//   - DataUnits: the value in data units, times the data-to-page scale of
//     that axis, times the page system's scale;
//   - RelativeX / RelativeY: that fraction of the plot's data range;
//   - DataXMin .. DataYMax: the named data quantity taken as a length.
// A positive offset moves the point right along x and up along y (device y
// decreases), so x and y follow the same rule.
DoublePoint CCSystem::TransToDevice(const LPoint& point) const {
    const MVector<double>& xs = point.XValues();
    const MVector<double>& ys = point.YValues();
    const MVector<PointAttribute>& xAttributes = point.XAttributes();
    const MVector<PointAttribute>& yAttributes = point.YAttributes();
    const PageCoordinateSystem& page = *pageSystem_;

    DoublePoint result;
    const std::uint32_t first = xs.GetLowerBound();
    for (std::uint32_t i = first;; ++i) {
        // Reading the lists at i raises the MVector error when one is empty
        // or shorter than the x values.
        const double xValue = xs[i];
        const double yValue = ys[i];
        const PointAttribute xAttribute = xAttributes[i];
        const PointAttribute yAttribute = yAttributes[i];
        CheckAttribute(xAttribute);
        CheckAttribute(yAttribute);
        if (i == first) {
            result.x = xAttribute == PageUnits
                           ? page.PageToDeviceExact(xValue, 0.0).x
                           : DataToDevice(DataValue(xAttribute, xValue, yValue, xValue), 0.0).x;
            result.y = yAttribute == PageUnits
                           ? page.PageToDeviceExact(0.0, yValue).y
                           : DataToDevice(0.0, DataValue(yAttribute, xValue, yValue, yValue)).y;
        } else {
            result.x += xAttribute == PageUnits ? xValue * page.XScale()
                                                : DataLength(xAttribute, xValue, yValue, xValue) *
                                                      xScale_ * page.XScale();
            result.y -= yAttribute == PageUnits ? yValue * page.YScale()
                                                : DataLength(yAttribute, xValue, yValue, yValue) *
                                                      yScale_ * page.YScale();
        }
        if (i == xs.GetUpperBound()) {
            break;
        }
    }
    return result;
}

IntPoint CCSystem::TransToDeviceRounded(const LPoint& point) const {
    const DoublePoint exact = TransToDevice(point);
    return {RoundCoordinate(exact.x), RoundCoordinate(exact.y)};
}

DoubleSize CCSystem::ExtentToDevice(const LPoint& point) const {
    const LPoint zero(0.0, 0.0, point.GetXAttribute(), point.GetYAttribute());
    const DoublePoint end = TransToDevice(point);
    const DoublePoint origin = TransToDevice(zero);
    return {std::fabs(end.x - origin.x), std::fabs(end.y - origin.y)};
}
