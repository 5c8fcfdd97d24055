#pragma once

#include "render/CCSystem.h"
#include "render/Geometry.h"
#include "render/LPoint.h"
#include "render/Surface.h"

#include <cstdint>

// A graphic object drawn over the map: a line, a rectangle or a text, on
// the page or in the plot's data coordinates. Each has two points, A and B,
// whose meaning the kind of object gives.
class LGraphicObject {
public:
    virtual ~LGraphicObject() = default;

    // True for objects that cover an area (rectangles).
    virtual bool IsArea() const { return false; }
    // Hit test. Lines and rectangles take a page point, texts a device
    // point. Without coordinates the default system is used.
    virtual bool Contains(const DoublePoint& point, const CCSystem* coordinates) const = 0;
    // Draws on the surface, only when its map mode is MapMode::Text, and
    // leaves its selections as it found them. Without coordinates the
    // default system is used.
    virtual void Draw(Surface& surface, const CCSystem* coordinates) = 0;

    const LPoint& GetA() const { return a_; }
    const LPoint& GetB() const { return b_; }
    LPoint& GetA() { return a_; }
    LPoint& GetB() { return b_; }
    void SetA(const LPoint& a) { a_ = a; }
    void SetB(const LPoint& b) { b_ = b; }
    // Gives all four coordinates of A and B the same attribute (PageUnits
    // for objects on the page, DataUnits for objects in the plot).
    void SetCoordinateAttribute(PointAttribute attribute);

    // Two fields kept for whoever owns the object; the objects never read them.
    std::uint32_t GetOwnerField1() const { return ownerField1_; }
    std::uint32_t GetOwnerField2() const { return ownerField2_; }
    void SetOwnerField1(std::uint32_t value) { ownerField1_ = value; }
    void SetOwnerField2(std::uint32_t value) { ownerField2_ = value; }

    // The system used when none is given: data coordinates equal to the
    // A4 landscape page (0..2970 x 0..2100), shown on an 800 x 600 device.
    static const CCSystem& DefaultCoordinates();

protected:
    LGraphicObject() = default;
    LGraphicObject(const LPoint& a, const LPoint& b) : a_(a), b_(b) {}
    LGraphicObject(const LGraphicObject&) = default;
    LGraphicObject& operator=(const LGraphicObject&) = default;
    LGraphicObject(LGraphicObject&&) noexcept = default;
    LGraphicObject& operator=(LGraphicObject&&) noexcept = default;

    static const CCSystem& CoordinatesOrDefault(const CCSystem* coordinates) {
        return coordinates != nullptr ? *coordinates : DefaultCoordinates();
    }
    // A and B in page units: converted from data units when A's x
    // coordinate is in data units, as stored otherwise.
    void CornersOnPage(const CCSystem& coordinates, DoublePoint& a, DoublePoint& b) const;

private:
    std::uint32_t ownerField1_ = 0;
    std::uint32_t ownerField2_ = 0;
    LPoint a_;
    LPoint b_;
};
