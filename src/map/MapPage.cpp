#include "map/MapPage.h"

#include "map/MapPainterFactory.h"
#include "render/CCSystem.h"
#include "render/FillGathering.h"
#include "render/ForwardingSurface.h"
#include "render/Surface.h"
#include "scale/MapScale.h"

namespace {

// Puts the view's page system back however the paint ends.
class PageSystemGuard {
public:
    explicit PageSystemGuard(PageCoordinateSystem& system) : system_(system), saved_(system) {}
    ~PageSystemGuard() { system_ = saved_; }
    PageSystemGuard(const PageSystemGuard&) = delete;
    PageSystemGuard& operator=(const PageSystemGuard&) = delete;

private:
    PageCoordinateSystem& system_;
    PageCoordinateSystem saved_;
};

void DrawPageOutline(Surface& surface, const CCSystem& coordinates, const PageSize& page) {
    LRectangle outline(0, 0, page.width, page.height);
    outline.SetCoordinateAttribute(PointAttribute::PageUnits);
    outline.SetBorderWidth(1.0);
    outline.SetPenStyle(PenStyle::Dot);
    outline.SetBorderColor(0);
    outline.SetFill(Brush::Hollow());
    outline.Draw(surface, &coordinates);
}

// Hands everything to the target surface, with the texts of a
// Windows-1252 file turned into UTF-8 on the way. It gathers when the
// target does, so a vector export of such a file keeps one shape per level.
class Windows1252TextSurface final : public ForwardingSurface, public FillGathering {
public:
    explicit Windows1252TextSurface(Surface& target)
        : ForwardingSurface(target), gathering_(dynamic_cast<FillGathering*>(&target)) {}

    void TextOut(std::int32_t x, std::int32_t y, std::string_view text) override {
        Target().TextOut(x, y, TextToUtf8(text, TextEncoding::Windows1252));
    }
    IntSize GetTextExtent(std::string_view text) override {
        return Target().GetTextExtent(TextToUtf8(text, TextEncoding::Windows1252));
    }
    bool BeginGathering() override { return gathering_ != nullptr && gathering_->BeginGathering(); }
    // Painters fill unions only on a surface that gathers, which this one
    // does only when its target does.
    void FillRects(std::span<const DeviceRect> rects, Brush brush) override {
        if (gathering_ != nullptr) {
            gathering_->FillRects(rects, brush);
        }
    }
    void EndGathering() override {
        if (gathering_ != nullptr) {
            gathering_->EndGathering();
        }
    }

private:
    FillGathering* gathering_;
};

void PaintContent(Surface& surface, PageCoordinateSystem& view, const MapPageContent& content,
                  const MapPageOptions& options) {
    PageSystemGuard guard(view);
    bool fitPlotArea = options.fitPlotArea;
    if (options.printing) {
        // A printout shows the whole sheet with everything on it.
        fitPlotArea = false;
        view = PageCoordinateSystem::FromDevice(surface);
    }

    const PlotFrame& frame = content.frame;
    const MapPlotRect plot{frame.xOrigin, frame.yOrigin, frame.xSize, frame.ySize};
    const CCSystem coordinates(frame.x1, frame.x2, frame.y1, frame.y2, plot.xOrigin,
                               static_cast<double>(plot.xOrigin) + plot.xSize, plot.yOrigin,
                               static_cast<double>(plot.yOrigin) + plot.ySize, view);

    if (!options.printing && options.pageOutline) {
        DrawPageOutline(surface, coordinates, options.page);
    }
    if (options.showMap) {
        const MapPaintInput input{content.levels, content.data, BoundaryCount(content.scale),
                                  content.colors, plot,         content.contours};
        if (options.cells && !options.printing) {
            options.cells(surface, view, input);
        } else {
            MakeMapPainter(content.mapType)->Draw(surface, view, input);
        }
        // Over the cells and their contours, under everything else, so a
        // generation can be followed across the classes.
        if (content.cohortLines != nullptr) {
            DrawCohortLines(surface, coordinates, *content.cohortLines,
                            CohortWeightsOf(AxisNamed(frame.xLabel), AxisNamed(frame.yLabel)));
        }
    }
    if (fitPlotArea) {
        return;
    }
    content.legend.Draw(surface, coordinates, content.scale, content.colors);
    content.frame.Draw(surface, coordinates);
    content.texts.List().ForEach([&](LText& text) { text.Draw(surface, &coordinates); });
    content.lines.List().ForEach([&](LLine& line) { line.Draw(surface, &coordinates); });
    content.rectangles.List().ForEach(
        [&](LRectangle& rectangle) { rectangle.Draw(surface, &coordinates); });
}

} // namespace

void PaintMapPage(Surface& surface, PageCoordinateSystem& view, const MapPageContent& content,
                  const MapPageOptions& options) {
    if (content.textEncoding == TextEncoding::Windows1252) {
        Windows1252TextSurface decoding(surface);
        PaintContent(decoding, view, content, options);
    } else {
        PaintContent(surface, view, content, options);
    }
}
