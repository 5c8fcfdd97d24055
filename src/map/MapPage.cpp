#include "map/MapPage.h"

#include "map/MapPainterFactory.h"
#include "render/CCSystem.h"
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
// Windows-1252 file turned into UTF-8 on the way.
class Windows1252TextSurface final : public Surface {
public:
    explicit Windows1252TextSurface(Surface& target) : target_(target) {}

    Pen SelectPen(Pen pen) override { return target_.SelectPen(pen); }
    Brush SelectBrush(Brush brush) override { return target_.SelectBrush(brush); }
    DeviceFont SelectFont(DeviceFont font) override { return target_.SelectFont(font); }
    std::uint32_t SetTextAlign(std::uint32_t flags) override { return target_.SetTextAlign(flags); }
    std::int32_t SetBkMode(std::int32_t mode) override { return target_.SetBkMode(mode); }
    std::uint32_t SetTextColor(std::uint32_t color) override { return target_.SetTextColor(color); }
    std::uint32_t SetBkColor(std::uint32_t color) override { return target_.SetBkColor(color); }
    RasterOp SetROP2(RasterOp op) override { return target_.SetROP2(op); }
    void FillRect(const DeviceRect& rect, Brush brush) override { target_.FillRect(rect, brush); }
    void FillPolygon(std::span<const IntPoint> points, Brush brush) override {
        target_.FillPolygon(points, brush);
    }
    void MoveTo(std::int32_t x, std::int32_t y) override { target_.MoveTo(x, y); }
    void LineTo(std::int32_t x, std::int32_t y) override { target_.LineTo(x, y); }
    void Polyline(std::span<const IntPoint> points) override { target_.Polyline(points); }
    void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                   std::int32_t bottom) override {
        target_.Rectangle(left, top, right, bottom);
    }
    void TextOut(std::int32_t x, std::int32_t y, std::string_view text) override {
        target_.TextOut(x, y, TextToUtf8(text, TextEncoding::Windows1252));
    }
    IntSize GetTextExtent(std::string_view text) override {
        return target_.GetTextExtent(TextToUtf8(text, TextEncoding::Windows1252));
    }
    std::int32_t GetDeviceCaps(DeviceCap cap) override { return target_.GetDeviceCaps(cap); }
    std::int32_t GetMapMode() override { return target_.GetMapMode(); }

private:
    Surface& target_;
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
        MakeMapPainter(content.mapType)->Draw(surface, view, input);
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
