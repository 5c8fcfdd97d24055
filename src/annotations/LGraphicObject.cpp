#include "annotations/LGraphicObject.h"

void LGraphicObject::SetCoordinateAttribute(PointAttribute attribute) {
    a_.SetAttributes(attribute);
    b_.SetAttributes(attribute);
}

const CCSystem& LGraphicObject::DefaultCoordinates() {
    static const PageCoordinateSystem page(0.0, 2970.0, 0.0, 2100.0, 0, 800, 600, 0);
    static const CCSystem coordinates(0.0, 2970.0, 0.0, 2100.0, 0.0, 2970.0, 0.0, 2100.0, page);
    return coordinates;
}

void LGraphicObject::CornersOnPage(const CCSystem& coordinates, DoublePoint& a,
                                   DoublePoint& b) const {
    a = {a_.GetX(), a_.GetY()};
    b = {b_.GetX(), b_.GetY()};
    if (a_.GetXAttribute() == DataUnits) {
        a = coordinates.DataToPage(a.x, a.y);
        b = coordinates.DataToPage(b.x, b.y);
    }
}
