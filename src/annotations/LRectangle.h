#pragma once

#include "annotations/FrameRecord.h"
#include "annotations/LGraphicObject.h"

#include <cstdint>

// The rectangle with corners A (lower left) and B (upper right).
class LRectangle : public LGraphicObject {
public:
    LRectangle() = default;
    // A = (ax, ay), B = (bx, by), in data units.
    LRectangle(double ax, double ay, double bx, double by);

    bool IsArea() const override { return true; }
    // The page point hits strictly inside A..B (corners as stored).
    bool Contains(const DoublePoint& point, const CCSystem* coordinates) const override;
    void Draw(Surface& surface, const CCSystem* coordinates) override;
    // A rectangle that fills nothing is seen only as its outline, and is
    // hit only near it: a page point within tolerance (page units, for x
    // and y) of a side, on either side of it, the bound included.
    bool IsHollow() const { return fill_.style == BrushStyle::Hollow; }
    bool OutlineContains(const DoublePoint& point, const CCSystem* coordinates,
                         const DoublePoint& tolerance) const;

    // Page units; negative: fill only, no outline.
    double GetBorderWidth() const { return borderWidth_; }
    void SetBorderWidth(double width) { borderWidth_ = width; }
    std::int32_t GetPenStyle() const { return penStyle_; }
    void SetPenStyle(std::int32_t style) { penStyle_ = style; }
    std::uint32_t GetBorderColor() const { return borderColor_; }
    void SetBorderColor(std::uint32_t color) { borderColor_ = color; }
    const Brush& GetFill() const { return fill_; }
    void SetFill(const Brush& fill) { fill_ = fill; }

    // The outline and fill settings as one record, and back.
    FrameRecord GetFrameRecord() const;
    void SetFrameRecord(const FrameRecord& record);

private:
    double borderWidth_ = 0.0;
    std::int32_t penStyle_ = PenStyle::Solid;
    std::uint32_t borderColor_ = 0;
    Brush fill_{BrushStyle::Solid, 0, 0};
};
