#pragma once

#include "core/MVector.h"
#include "render/PointAttribute.h"

#include <cstdint>

// A point whose coordinates each carry an attribute saying how to read
// them (page units, data units, a plot edge, a fraction of the plot).
// Index i of the four lists is one term; the first term places the point
// and later terms move it (see CCSystem::TransToDevice). Every point the
// program makes has exactly one term.
class LPoint {
public:
    // One term: (0.0, 0.0) in data units.
    LPoint() : LPoint(0.0, 0.0) {}
    LPoint(double x, double y, PointAttribute xAttribute = DataUnits,
           PointAttribute yAttribute = DataUnits);

    // The first term.
    double GetX() const { return xValues_[xValues_.GetLowerBound()]; }
    double GetY() const { return yValues_[yValues_.GetLowerBound()]; }
    PointAttribute GetXAttribute() const { return xAttributes_[xAttributes_.GetLowerBound()]; }
    PointAttribute GetYAttribute() const { return yAttributes_[yAttributes_.GetLowerBound()]; }
    void SetX(double x) { xValues_[xValues_.GetLowerBound()] = x; }
    void SetY(double y) { yValues_[yValues_.GetLowerBound()] = y; }
    void SetXAttribute(PointAttribute a) { xAttributes_[xAttributes_.GetLowerBound()] = a; }
    void SetYAttribute(PointAttribute a) { yAttributes_[yAttributes_.GetLowerBound()] = a; }
    // Gives both coordinates of every term the same attribute.
    void SetAttributes(PointAttribute attribute);

    // Appends a term that moves the point.
    void AddTerm(double x, double y, PointAttribute xAttribute, PointAttribute yAttribute);

    MVector<double>& XValues() { return xValues_; }
    MVector<double>& YValues() { return yValues_; }
    MVector<PointAttribute>& XAttributes() { return xAttributes_; }
    MVector<PointAttribute>& YAttributes() { return yAttributes_; }
    const MVector<double>& XValues() const { return xValues_; }
    const MVector<double>& YValues() const { return yValues_; }
    const MVector<PointAttribute>& XAttributes() const { return xAttributes_; }
    const MVector<PointAttribute>& YAttributes() const { return yAttributes_; }

private:
    MVector<double> xValues_;
    MVector<double> yValues_;
    MVector<PointAttribute> xAttributes_;
    MVector<PointAttribute> yAttributes_;
};
