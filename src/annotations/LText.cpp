#include "annotations/LText.h"

#include "render/RoundCoordinate.h"

namespace {

// One typographic point in page units (tenths of a millimetre).
constexpr double kPageUnitsPerPoint = 3.5277777777777777;

// a - b without overflow: device coordinates may already be clamped to the
// ends of the 32-bit range.
std::int32_t Minus(std::int32_t a, double b) {
    return TruncateCoordinate(a - b);
}

} // namespace

LText::LText(const LPoint& anchor, const LPoint& box, std::optional<std::string> text,
             std::optional<FontRecord> font)
    : LGraphicObject(anchor, box), text_(std::move(text)), font_(std::move(font)) {}

LText::LText(const LText& other)
    : LGraphicObject(other), text_(other.text_), font_(other.font_), textColor_(other.textColor_),
      bkColor_(other.bkColor_), horizontalAlignment_(other.horizontalAlignment_),
      verticalAlignment_(other.verticalAlignment_), bkMode_(other.bkMode_),
      frame_(other.frame_ ? std::make_unique<LRectangle>(*other.frame_) : nullptr),
      drawnBox_(other.drawnBox_) {}

LText& LText::operator=(const LText& other) {
    if (this != &other) {
        LText copy(other);
        *this = std::move(copy);
    }
    return *this;
}

const FontRecord& LText::EffectiveFont() const {
    static const FontRecord defaultFont = FontRecord::DefaultTextFont();
    return font_ ? *font_ : defaultFont;
}

void LText::SetFrame(const std::optional<FrameRecord>& record) {
    if (!record) {
        frame_.reset();
        return;
    }
    LPoint corner = GetA();
    corner.SetX(corner.GetX() + GetB().GetX());
    corner.SetY(corner.GetY() + GetB().GetY());
    auto frame = std::make_unique<LRectangle>();
    frame->SetA(GetA());
    frame->SetB(corner);
    frame->SetFrameRecord(*record);
    frame_ = std::move(frame);
}

void LText::Draw(Surface& surface, const CCSystem* coordinates) {
    if (!text_) {
        return;
    }
    if (surface.GetMapMode() != MapMode::Text) {
        return;
    }
    if (frame_) {
        frame_->Draw(surface, coordinates);
    }
    const CCSystem& system = CoordinatesOrDefault(coordinates);
    const DoublePoint anchor = system.TransToDevice(GetA());
    const DoubleSize box = system.ExtentToDevice(GetB());

    const FontRecord& font = EffectiveFont();
    const std::int32_t deviceHeight =
        TruncateCoordinate(font.height * kPageUnitsPerPoint * system.GetPageSystem().YScale());
    if (deviceHeight == 0) {
        return; // too small to show at this zoom
    }

    double x = anchor.x;
    double y = anchor.y;
    if (horizontalAlignment_ == TextAlign::Right) {
        x += box.width;
    } else if (horizontalAlignment_ == TextAlign::Center) {
        x += box.width / 2;
    }
    if (verticalAlignment_ == TextAlign::Top) {
        y -= box.height;
    } else if (verticalAlignment_ == TextAlign::Baseline) {
        y -= box.height / 2;
    }

    const ScopedFont selectedFont(surface, DeviceFont::FromRecord(font, deviceHeight));
    const ScopedTextAlign align(surface, horizontalAlignment_ | verticalAlignment_);
    const ScopedBkMode bkMode(surface, bkMode_);
    const ScopedTextColor textColor(surface, textColor_);
    const ScopedBkColor bkColor(surface, bkColor_);

    const IntSize extent = surface.GetTextExtent(*text_);
    const std::int32_t ix = RoundCoordinate(x);
    const std::int32_t iy = RoundCoordinate(y);

    DrawnBox drawn{ix, iy, extent.width, extent.height};
    if (font.escapement == 0) {
        if (horizontalAlignment_ == TextAlign::Right) {
            drawn.left = Minus(ix, extent.width);
        } else if (horizontalAlignment_ == TextAlign::Center) {
            drawn.left = Minus(ix, extent.width / 2);
        }
        if (verticalAlignment_ == TextAlign::Bottom) {
            drawn.top = Minus(iy, extent.height);
        } else if (verticalAlignment_ == TextAlign::Baseline) {
            drawn.top = Minus(iy, 0.8 * extent.height);
        }
    } else {
        // A rotated text's extent runs along its own direction; the box is
        // taken as the swapped size centred on the reference point.
        drawn.width = extent.height;
        drawn.height = extent.width;
        drawn.left = Minus(ix, drawn.width / 2);
        drawn.top = Minus(iy, drawn.height / 2);
    }
    drawnBox_ = drawn;

    surface.TextOut(ix, iy, *text_);
}

bool LText::Contains(const DoublePoint& point, const CCSystem* /*coordinates*/) const {
    const double left = drawnBox_.left;
    const double top = drawnBox_.top;
    return left < point.x && point.x < left + drawnBox_.width && top < point.y &&
           point.y < top + drawnBox_.height;
}
