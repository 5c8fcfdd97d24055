#pragma once

#include "annotations/LText.h"
#include "core/DMAT.h"
#include "core/MVector.h"
#include "render/CCSystem.h"
#include "render/FontRecord.h"
#include "render/Geometry.h"
#include "render/Surface.h"
#include "scale/LRGBColorVect.h"
#include "scale/LevelFlags.h"

#include <cstdint>
#include <optional>
#include <string>

class DemlaSetup;

// A rectangle as an origin and a size, in device units (y downwards): where
// one legend label was drawn.
struct LOrgSize {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const LOrgSize&, const LOrgSize&) = default;
};

// The few plot-frame values the legend follows when it is linked to the
// plot, in page units. The document fills it from its plot frame.
struct LegendPlacementSource {
    std::int32_t xOrigin = 0;
    std::int32_t yOrigin = 0;
    std::int32_t xSize = 0;
    std::int32_t ySize = 0;
    std::int32_t frameLineWidth = 0;
    std::int32_t tickLength = 0;
    std::int32_t tickWidth = 0;
    // The frame's y label gap: the y axis, like the legend, has horizontal
    // ticks with their labels beside them, so its gap between tick end and
    // label is the one that matches the legend's TickMargin. The x gap and
    // the two label shifts have no counterpart in the legend.
    std::int32_t tickMargin = 0;
};

// The colour-scale legend beside the map: one box per scale level (level 0
// at the bottom), and at every boundary between two levels an internal
// line, a tick and a number label, each of which the level flags can hide;
// a frame goes round the bar. Positions and sizes are page units (tenths of
// a millimetre, y upwards).
//
// The legend either follows the plot frame (Place puts it ScaleMargin to
// the right of the plot, as tall as the plot) or stands where its setup
// keys or the property sheet put it.
class MScale {
public:
    // Placement flags.
    static constexpr std::uint16_t kExplicitPosition = 1; // position given, not following
    static constexpr std::uint16_t kLabelFontGiven = 2;   // the label font is written back

    // Level flags, one per boundary.
    static constexpr std::uint32_t kHideLabel = 1;
    static constexpr std::uint32_t kHideTick = 2;
    static constexpr std::uint32_t kHideLine = 4;

    static constexpr std::size_t kMaxTickFormat = 15;

    // The default bar is as tall as the page less 800 page units.
    explicit MScale(std::int32_t pageHeight = 2100);

    MScale(const MScale&) = default;
    MScale& operator=(const MScale&) = default;
    MScale(MScale&&) noexcept = default;
    MScale& operator=(MScale&&) noexcept = default;
    ~MScale() = default;

    // Follows the plot: the bar stands ScaleMargin right of the plot, as
    // tall as the plot, and takes the frame's line and tick settings. Does
    // nothing while Appearance is not 0.
    void Place(const LegendPlacementSource& plot);

    // After the number of boundaries changed: flags of another count become
    // one 0 per boundary (everything shown); equal counts are kept.
    void SyncWithScale(const DMAT& scale);

    // Reads the legend keys of [MAP.SCALE] of the file; a ScaleMargin key
    // places the legend with plot at once. False when the file has no such
    // section. Setup errors propagate as DemlaSetupException; the keys read
    // before the error keep their new values.
    bool Read(DemlaSetup& reader, const std::string& fileName, const LegendPlacementSource& plot);

    // Reads the ScaleSetup key from the section loaded in reader (which must
    // be [MAP.SCALE]) once the final number of boundaries is known. The
    // flags are replaced only when the key has one row per boundary; returns
    // whether they were.
    bool ReadScaleSetup(DemlaSetup& reader, const DMAT& scale);

    // Appends the legend keys, each line ending "\r\n".
    void Write(std::string& text) const;

    // Draws boxes, internal lines, ticks, labels and frame, and records the
    // device box of every label drawn. colors holds the level colours
    // (missing colour last); a box whose level has no entry in the table is
    // left out rather than painted with a colour that is not there.
    void Draw(Surface& surface, const CCSystem& coordinates, const DMAT& scale,
              const LRGBColorVect& colors);

    // The index (in drawing order) of the first label of the last drawing
    // whose box holds the device point strictly inside, or none.
    std::optional<std::uint32_t> HitLabel(const IntPoint& point) const;

    std::int32_t GetXOrigin() const { return xOrigin_; }
    std::int32_t GetYOrigin() const { return yOrigin_; }
    std::int32_t GetXSize() const { return xSize_; }
    std::int32_t GetYSize() const { return ySize_; }
    void SetPosition(std::int32_t xOrigin, std::int32_t yOrigin, std::int32_t xSize,
                     std::int32_t ySize);

    std::int32_t GetFrameLineWidth() const { return frameLineWidth_; }
    void SetFrameLineWidth(std::int32_t width) { frameLineWidth_ = width; }
    std::int32_t GetTickLength() const { return tickLength_; }
    void SetTickLength(std::int32_t length) { tickLength_ = length; }
    std::int32_t GetTickWidth() const { return tickWidth_; }
    void SetTickWidth(std::int32_t width) { tickWidth_ = width; }
    std::int32_t GetTickMargin() const { return tickMargin_; }
    void SetTickMargin(std::int32_t margin) { tickMargin_ = margin; }
    std::int32_t GetScaleMargin() const { return scaleMargin_; }
    void SetScaleMargin(std::int32_t margin) { scaleMargin_ = margin; }

    const std::string& GetTickFormat() const { return tickFormat_; }
    // Keeps the first kMaxTickFormat characters.
    void SetTickFormat(const std::string& format);

    LevelFlags& GetLevelFlags() { return levelFlags_; }
    const LevelFlags& GetLevelFlags() const { return levelFlags_; }

    std::uint16_t GetAppearance() const { return appearance_; }
    void SetAppearance(std::uint16_t appearance) { appearance_ = appearance; }
    std::uint16_t GetPlacementFlags() const { return placementFlags_; }
    void SetPlacementFlags(std::uint16_t flags) { placementFlags_ = flags; }

    // The label font (heights in points) and text colour.
    const FontRecord& GetLabelFont() const { return labelText_.EffectiveFont(); }
    std::uint32_t GetLabelColor() const { return labelText_.GetTextColor(); }
    // A font chosen for the labels; it is written back from now on.
    void SetLabelFont(const FontRecord& font, std::uint32_t color);

    bool IsVisible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

    const MVector<LOrgSize>& GetLabelBoxes() const { return labelBoxes_; }

private:
    void DrawLine(Surface& surface, const CCSystem& coordinates, double x1, double y1, double x2,
                  double y2, std::int32_t width) const;

    std::int32_t xOrigin_ = 1000;
    std::int32_t yOrigin_ = 400;
    std::int32_t xSize_ = 100;
    std::int32_t ySize_ = 1300;
    std::int32_t frameLineWidth_ = 0;
    std::int32_t tickLength_ = 30;
    std::int32_t tickWidth_ = 0;
    std::int32_t tickMargin_ = 50;
    std::int32_t scaleMargin_ = 100;
    std::string tickFormat_ = "F4";
    LevelFlags levelFlags_;
    std::uint16_t appearance_ = 0;
    std::uint16_t placementFlags_ = 0;
    MVector<LOrgSize> labelBoxes_;
    // Carries only the label font and text colour.
    LText labelText_;
    bool visible_ = true;
};
