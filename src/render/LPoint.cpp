#include "render/LPoint.h"

LPoint::LPoint(double x, double y, PointAttribute xAttribute, PointAttribute yAttribute) {
    AddTerm(x, y, xAttribute, yAttribute);
}

void LPoint::SetAttributes(PointAttribute attribute) {
    xAttributes_.Fill(attribute);
    yAttributes_.Fill(attribute);
}

void LPoint::AddTerm(double x, double y, PointAttribute xAttribute, PointAttribute yAttribute) {
    xValues_.Append(x);
    yValues_.Append(y);
    xAttributes_.Append(xAttribute);
    yAttributes_.Append(yAttribute);
}
