#pragma once

#include "annotations/FrameRecord.h"
#include "annotations/LGraphicObject.h"
#include "annotations/LRectangle.h"
#include "render/FontRecord.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// A single line of text placed in a box: A is the box's lower-left corner
// (the anchor), B its size. A box of (0, 0) aligns the text on the anchor.
class LText : public LGraphicObject {
public:
    // Where the last drawing put the text, in device units.
    struct DrawnBox {
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
        friend bool operator==(const DrawnBox&, const DrawnBox&) = default;
    };

    LText() = default;
    LText(const LPoint& anchor, const LPoint& box, std::optional<std::string> text,
          std::optional<FontRecord> font);
    LText(const LText& other);
    LText& operator=(const LText& other);
    LText(LText&&) noexcept = default;
    LText& operator=(LText&&) noexcept = default;
    ~LText() override = default;

    // The device point hits strictly inside the box of the last drawing.
    bool Contains(const DoublePoint& point, const CCSystem* coordinates) const override;
    void Draw(Surface& surface, const CCSystem* coordinates) override;

    const LPoint& GetAnchor() const { return GetA(); }
    const LPoint& GetBox() const { return GetB(); }
    void SetAnchor(const LPoint& anchor) { SetA(anchor); }
    void SetBox(const LPoint& box) { SetB(box); }

    // No text: the object draws nothing.
    const std::optional<std::string>& GetText() const { return text_; }
    void SetText(std::optional<std::string> text) { text_ = std::move(text); }
    // No font: the text uses FontRecord::DefaultTextFont(). Heights are in
    // typographic points.
    const std::optional<FontRecord>& GetFont() const { return font_; }
    void SetFont(std::optional<FontRecord> font) { font_ = std::move(font); }
    // The font the text is drawn with.
    const FontRecord& EffectiveFont() const;

    std::uint32_t GetTextColor() const { return textColor_; }
    void SetTextColor(std::uint32_t color) { textColor_ = color; }
    std::uint32_t GetBkColor() const { return bkColor_; }
    void SetBkColor(std::uint32_t color) { bkColor_ = color; }
    // TextAlign::Left, Right or Center.
    std::uint32_t GetHorizontalAlignment() const { return horizontalAlignment_; }
    void SetHorizontalAlignment(std::uint32_t alignment) { horizontalAlignment_ = alignment; }
    // TextAlign::Top, Bottom or Baseline (the middle of the box).
    std::uint32_t GetVerticalAlignment() const { return verticalAlignment_; }
    void SetVerticalAlignment(std::uint32_t alignment) { verticalAlignment_ = alignment; }
    // BackgroundMode::Opaque or Transparent.
    std::int32_t GetBkMode() const { return bkMode_; }
    void SetBkMode(std::int32_t mode) { bkMode_ = mode; }

    // Replaces the frame by a rectangle over the text's box (from the
    // anchor to the anchor plus the box size) with the record's outline and
    // fill; no record removes the frame. The frame keeps that area when the
    // anchor or box change later.
    void SetFrame(const std::optional<FrameRecord>& record);
    const LRectangle* GetFrame() const { return frame_.get(); }
    LRectangle* GetFrame() { return frame_.get(); }

    const DrawnBox& GetDrawnBox() const { return drawnBox_; }

private:
    std::optional<std::string> text_;
    std::optional<FontRecord> font_;
    std::uint32_t textColor_ = 0x000000;
    std::uint32_t bkColor_ = 0xFFFFFF;
    std::uint32_t horizontalAlignment_ = TextAlign::Left;
    std::uint32_t verticalAlignment_ = TextAlign::Bottom;
    std::int32_t bkMode_ = BackgroundMode::Opaque;
    std::unique_ptr<LRectangle> frame_;
    DrawnBox drawnBox_;
};
