#pragma once

#include "render/Geometry.h"
#include "render/LPoint.h"
#include "render/PageCoordinateSystem.h"

#include <cstdint>

// The chart coordinate system: maps the plot's data rectangle onto its
// rectangle on the page, and through the page system it is chained to on
// to the device. Built afresh for every paint and hit test; the page system
// is borrowed and must outlive it.
class CCSystem {
public:
    // Throws LException when the data or the page rectangle is empty or
    // reversed (or not finite).
    CCSystem(double x1, double x2, double y1, double y2, double px1, double px2, double py1,
             double py2, const PageCoordinateSystem& pageSystem);
    // A temporary page system would leave the chain dangling.
    CCSystem(double, double, double, double, double, double, double, double,
             const PageCoordinateSystem&&) = delete;

    DoublePoint DataToPage(double x, double y) const;
    DoublePoint PageToData(double px, double py) const;
    DoublePoint DataToDevice(double x, double y) const;
    DoublePoint DeviceToData(std::int32_t x, std::int32_t y) const;

    // The device position of an attributed point; throws LException for an
    // attribute outside 0..7, and the MVector index error when the point's
    // lists are empty or shorter than its x values.
    DoublePoint TransToDevice(const LPoint& point) const;
    // The same, each coordinate rounded by RoundCoordinate.
    IntPoint TransToDeviceRounded(const LPoint& point) const;
    // A size held in a point, in device units: the distance, per axis, of
    // the point from a zero point with the same first attributes.
    DoubleSize ExtentToDevice(const LPoint& point) const;

    const PageCoordinateSystem& GetPageSystem() const { return *pageSystem_; }
    double GetX1() const { return x1_; }
    double GetX2() const { return x2_; }
    double GetY1() const { return y1_; }
    double GetY2() const { return y2_; }
    // Page units per data unit.
    double GetXScale() const { return xScale_; }
    double GetYScale() const { return yScale_; }

private:
    // The data value an attribute names (the value itself for DataUnits).
    double DataValue(PointAttribute attribute, double xValue, double yValue, double ownValue) const;
    // The length in data units that a later term adds along its axis.
    double DataLength(PointAttribute attribute, double xValue, double yValue,
                      double ownValue) const;

    const PageCoordinateSystem* pageSystem_;
    double xScale_;
    double xOffset_;
    double yOffset_;
    double yScale_;
    double x1_;
    double x2_;
    double y1_;
    double y2_;
};
