#pragma once

#include "annotations/LGraphicObject.h"

#include <cstdint>

// A straight segment from A to B.
class LLine : public LGraphicObject {
public:
    LLine() = default;
    // A = (ax, ay), B = (bx, by), in data units.
    LLine(double ax, double ay, double bx, double by);

    // The page point hits within the line's width (5 page units for the
    // thinnest line) of the segment; see the .cpp for the exact bounds.
    bool Contains(const DoublePoint& point, const CCSystem* coordinates) const override;
    void Draw(Surface& surface, const CCSystem* coordinates) override;

    // Page units; 0 draws the thinnest line.
    double GetWidth() const { return width_; }
    void SetWidth(double width) { width_ = width; }
    std::int32_t GetPenStyle() const { return penStyle_; }
    void SetPenStyle(std::int32_t style) { penStyle_ = style; }
    std::uint32_t GetColor() const { return color_; }
    void SetColor(std::uint32_t color) { color_ = color; }

private:
    double width_ = 0.0;
    std::int32_t penStyle_ = PenStyle::Solid;
    std::uint32_t color_ = 0;
};
