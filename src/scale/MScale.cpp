#include "scale/MScale.h"

#include "annotations/LLine.h"
#include "annotations/LRectangle.h"
#include "core/FormatNumber.h"
#include "core/NumberText.h"
#include "scale/MapScale.h"
#include "setup/DemlaSetup.h"
#include "setup/FontValue.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace {

// The default bar leaves this much of the page height free.
constexpr std::int32_t kPageHeightReserve = 800;

// Setup elements of the flag matrix are read into a buffer of this size.
constexpr std::size_t kFlagElementBuffer = 256;

// The hide bits that columns 0, 1 and 2 of a ScaleSetup row stand for.
constexpr std::uint32_t kColumnBits[] = {MScale::kHideLabel, MScale::kHideTick, MScale::kHideLine};

// Page positions come from files and dialogs: a sum beyond the 32-bit range
// saturates instead of wrapping round.
std::int32_t Saturate(std::int64_t value) {
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

// An integer key: element 0 cut toward zero. False when the key is absent,
// the field then keeping its value.
bool ReadInteger(DemlaSetup& reader, std::string_view key, std::int32_t& field) {
    if (reader.FindItem(key) == nullptr) {
        return false;
    }
    field = TruncateToInt32(reader.GetDouble(0, 0));
    return true;
}

LPoint PagePoint(double x, double y) {
    return LPoint(x, y, PageUnits, PageUnits);
}

void AppendKey(std::string& text, std::string_view key, std::int32_t value) {
    text += key;
    text += std::to_string(value);
    text += ";\r\n";
}

} // namespace

MScale::MScale(std::int32_t pageHeight)
    : ySize_(Saturate(std::int64_t{pageHeight} - kPageHeightReserve)) {
    labelText_.SetFont(FontRecord::DefaultTextFont());
    labelText_.SetTextColor(0x000000);
}

void MScale::Place(const LegendPlacementSource& plot) {
    if (appearance_ != 0) {
        return;
    }
    ySize_ = plot.ySize;
    xOrigin_ = Saturate(std::int64_t{plot.xOrigin} + plot.xSize + scaleMargin_);
    yOrigin_ = plot.yOrigin;
    frameLineWidth_ = plot.frameLineWidth;
    tickLength_ = plot.tickLength;
    tickWidth_ = plot.tickWidth;
    tickMargin_ = plot.tickMargin;
}

void MScale::SyncWithScale(const DMAT& scale) {
    const std::uint32_t count = BoundaryCount(scale);
    if (levelFlags_.GetCount() == count) {
        return;
    }
    LevelFlags cleared(count);
    cleared.Fill(0);
    levelFlags_ = std::move(cleared);
}

void MScale::SetPosition(std::int32_t xOrigin, std::int32_t yOrigin, std::int32_t xSize,
                         std::int32_t ySize) {
    xOrigin_ = xOrigin;
    yOrigin_ = yOrigin;
    xSize_ = xSize;
    ySize_ = ySize;
}

void MScale::SetTickFormat(const std::string& format) {
    tickFormat_ = format.substr(0, kMaxTickFormat);
}

void MScale::SetLabelFont(const FontRecord& font, std::uint32_t color) {
    labelText_.SetFont(font);
    labelText_.SetTextColor(color);
    placementFlags_ |= kLabelFontGiven;
}

bool MScale::Read(DemlaSetup& reader, const std::string& fileName,
                  const LegendPlacementSource& plot) {
    if (!reader.FindSection(fileName, "MAP.SCALE")) {
        return false;
    }
    if (ReadInteger(reader, "ScaleMargin", scaleMargin_)) {
        Place(plot);
    } else {
        ReadInteger(reader, "xOrigin", xOrigin_);
        ReadInteger(reader, "yOrigin", yOrigin_);
        ReadInteger(reader, "xSize", xSize_);
        ReadInteger(reader, "ySize", ySize_);
        // Without a margin to follow the plot by, the legend keeps whatever
        // position it has now as its own.
        placementFlags_ |= kExplicitPosition;
    }
    ReadInteger(reader, "FrameLineWidth", frameLineWidth_);
    ReadInteger(reader, "TickLength", tickLength_);
    ReadInteger(reader, "TickWidth", tickWidth_);
    ReadInteger(reader, "TickMargin", tickMargin_);

    std::int32_t appearance = appearance_;
    if (ReadInteger(reader, "Appearance", appearance)) {
        // Only zero and non-zero mean anything; a value outside 16 bits must
        // not wrap round to 0 and switch the automatic placement back on.
        appearance_ = appearance >= 0 && appearance <= 0xFFFF
                          ? static_cast<std::uint16_t>(appearance)
                          : std::uint16_t{0xFFFF};
    }
    if (reader.FindItem("TickFormat") != nullptr) {
        if (const char* format = reader.GetLiteral(0, 0)) {
            SetTickFormat(format);
        }
    }
    if (reader.FindItem("Visible") != nullptr) {
        visible_ = reader.GetBool(0, 0);
    }
    if (reader.FindItem("LabelFont") != nullptr) {
        // A font item cut short raises before anything is changed.
        FontRecord font = labelText_.EffectiveFont();
        ReadFontValue(reader, font);
        labelText_.SetFont(font);
        placementFlags_ |= kLabelFontGiven;
    }
    return true;
}

bool MScale::ReadScaleSetup(DemlaSetup& reader, const DMAT& scale) {
    const std::optional<std::string>& section = reader.GetSectionName();
    if (!section || *section != "MAP.SCALE" || reader.FindItem("ScaleSetup") == nullptr) {
        return false;
    }
    const std::uint32_t count = BoundaryCount(scale);
    if (reader.GetRows() != count) {
        return false;
    }
    // The elements are read in order rather than by position: looking each
    // one up afresh would scan the value again for every cell.
    const std::uint32_t columns = reader.GetColumns();
    LevelFlags flags(count);
    flags.Fill(0);
    std::string element;
    reader.ItemIterator(nullptr);
    bool more = true;
    for (std::uint32_t row = 0; row < count && more; ++row) {
        for (std::uint32_t column = 0; column < columns; ++column) {
            more = reader.ItemIterator(&element, kFlagElementBuffer);
            if (!more) {
                break; // fewer elements than the braces promise: the rest read as 0
            }
            reader.CheckElementType(ttNumber);
            const double value = ParseDouble(element.data(), element.data() + element.size());
            if (column < 3 && TruncateToInt32(value) == 1) {
                flags[row] |= kColumnBits[column];
            }
        }
    }
    levelFlags_ = std::move(flags);
    return true;
}

void MScale::Write(std::string& text) const {
    if ((placementFlags_ & kExplicitPosition) == 0) {
        AppendKey(text, "ScaleMargin=", scaleMargin_);
        AppendKey(text, "/@ xOrigin=", xOrigin_);
        AppendKey(text, "/@ yOrigin=", yOrigin_);
        AppendKey(text, "/@ xSize=", xSize_);
        AppendKey(text, "/@ ySize=", ySize_);
    } else {
        AppendKey(text, "/@ ScaleMargin=", scaleMargin_);
        AppendKey(text, "xOrigin=", xOrigin_);
        AppendKey(text, "yOrigin=", yOrigin_);
        AppendKey(text, "xSize=", xSize_);
        AppendKey(text, "ySize=", ySize_);
    }
    if ((placementFlags_ & kLabelFontGiven) != 0) {
        text += "LabelFont=" + FontValueText(labelText_.EffectiveFont()) + ";\r\n\r\n";
    }
    AppendKey(text, "FrameLineWidth=", frameLineWidth_);
    AppendKey(text, "TickLength=", tickLength_);
    AppendKey(text, "TickWidth=", tickWidth_);
    AppendKey(text, "TickMargin=", tickMargin_);
    text += "TickFormat=" + tickFormat_ + ";\r\n";
    AppendKey(text, "Appearance=", appearance_);
    text += visible_ ? "Visible=Yes;\r\n" : "Visible=No;\r\n";
}

void MScale::DrawLine(Surface& surface, const CCSystem& coordinates, double x1, double y1,
                      double x2, double y2, std::int32_t width) const {
    LLine line;
    line.SetA(PagePoint(x1, y1));
    line.SetB(PagePoint(x2, y2));
    line.SetWidth(width);
    line.Draw(surface, &coordinates);
}

void MScale::Draw(Surface& surface, const CCSystem& coordinates, const DMAT& scale,
                  const LRGBColorVect& colors) {
    // Labels of a hidden legend cannot be clicked: forget the old boxes
    // whether or not anything is drawn.
    labelBoxes_.Flush();
    if (!visible_) {
        return;
    }
    const std::uint32_t boundaries = BoundaryCount(scale);
    const std::uint64_t levels = std::uint64_t{boundaries} + 1;
    const double step = ySize_ / static_cast<double>(levels);
    const double left = xOrigin_;
    const double right = left + xSize_;
    const double bottom = yOrigin_;

    // The missing colour is not shown; a table too short for every level
    // paints the levels it has colours for.
    const std::uint64_t painted = std::min<std::uint64_t>(levels, colors.GetCount());
    for (std::uint64_t i = 0; i < painted; ++i) {
        LRectangle box;
        box.SetA(PagePoint(left, bottom + static_cast<double>(i) * step));
        box.SetB(PagePoint(right, bottom + static_cast<double>(i + 1) * step));
        box.SetBorderWidth(-1);
        box.SetFill(Brush::Solid(colors.Level(static_cast<std::uint32_t>(i))));
        box.Draw(surface, &coordinates);
    }

    // Flags left over from another scale say nothing about this one.
    const bool useFlags = levelFlags_.GetCount() == boundaries;
    const auto flagsOf = [this](std::uint32_t boundary) {
        return levelFlags_[levelFlags_.GetLowerBound() + boundary];
    };
    // The boxes are sized once: growing the vector label by label would copy
    // it whole for every label.
    std::uint32_t labels = 0;
    for (std::uint32_t boundary = 0; boundary < boundaries; ++boundary) {
        if (!useFlags || (flagsOf(boundary) & kHideLabel) == 0) {
            ++labels;
        }
    }
    labelBoxes_ = MVector<LOrgSize>(labels);
    std::uint32_t labelIndex = 0;
    const double tickEnd = right + tickLength_;
    const double labelX = tickEnd + tickMargin_;
    for (std::uint64_t i = 1; i < levels; ++i) {
        const auto boundary = static_cast<std::uint32_t>(i - 1);
        const double y = bottom + static_cast<double>(i) * step;
        const std::uint32_t flags = useFlags ? flagsOf(boundary) : 0;
        if ((flags & kHideLine) == 0) {
            DrawLine(surface, coordinates, left, y, right, y, frameLineWidth_);
        }
        if ((flags & kHideTick) == 0) {
            DrawLine(surface, coordinates, right, y, tickEnd, y, tickWidth_);
        }
        if ((flags & kHideLabel) == 0) {
            LText label(PagePoint(labelX, y), PagePoint(0, 0),
                        FormatNumber(scale.Get(boundary, 0), tickFormat_), labelText_.GetFont());
            label.SetTextColor(labelText_.GetTextColor());
            label.SetHorizontalAlignment(TextAlign::Left);
            label.SetVerticalAlignment(TextAlign::Baseline);
            label.Draw(surface, &coordinates);
            const LText::DrawnBox& drawn = label.GetDrawnBox();
            labelBoxes_[labelIndex++] = {drawn.left, drawn.top, drawn.width, drawn.height};
        }
    }

    const double top = bottom + ySize_;
    DrawLine(surface, coordinates, left, bottom, left, top, frameLineWidth_);
    DrawLine(surface, coordinates, left, top, right, top, frameLineWidth_);
    DrawLine(surface, coordinates, right, top, right, bottom, frameLineWidth_);
    DrawLine(surface, coordinates, right, bottom, left, bottom, frameLineWidth_);
}

std::optional<std::uint32_t> MScale::HitLabel(const IntPoint& point) const {
    for (std::uint32_t i = 0; i < labelBoxes_.GetCount(); ++i) {
        const LOrgSize& box = labelBoxes_[labelBoxes_.GetLowerBound() + i];
        const std::int64_t x = point.x;
        const std::int64_t y = point.y;
        if (box.left < x && x < std::int64_t{box.left} + box.width && box.top < y &&
            y < std::int64_t{box.top} + box.height) {
            return i;
        }
    }
    return std::nullopt;
}
