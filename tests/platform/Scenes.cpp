#include "Scenes.h"

#include "annotations/LLine.h"
#include "annotations/LRectangle.h"
#include "annotations/LText.h"
#include "map/MapPainterFactory.h"
#include "render/PageCoordinateSystem.h"
#include "scale/LRGBColorVect.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

constexpr std::uint32_t kRed = 0x0000FF, kGreen = 0x008000, kBlue = 0xFF0000;
constexpr std::uint32_t kGrey = 0xC0C0C0, kYellow = 0x00FFFF;

void Line(Surface& surface, int x1, int y1, int x2, int y2) {
    surface.MoveTo(x1, y1);
    surface.LineTo(x2, y2);
}

void DrawShapes(Surface& surface) {
    // The grey band shows which fills leave the background alone.
    surface.FillRect({0, 40, 320, 72}, Brush::Solid(kGrey));
    const Brush brushes[] = {Brush::Solid(kRed),
                             Brush::Hollow(),
                             Brush::Hatched(HatchStyle::Horizontal, kBlue),
                             Brush::Hatched(HatchStyle::Vertical, kBlue),
                             Brush::Hatched(HatchStyle::FDiagonal, kGreen),
                             Brush::Hatched(HatchStyle::BDiagonal, kGreen),
                             Brush::Hatched(HatchStyle::Cross, kRed),
                             Brush::Hatched(HatchStyle::DiagCross, kRed)};
    for (int i = 0; i < 8; ++i) {
        const ScopedBrush selected(surface, brushes[i]);
        surface.Rectangle(8 + 38 * i, 10, 38 + 38 * i, 60);
    }
    surface.FillRect({8, 64, 84, 76}, Brush::Hatched(HatchStyle::Cross, kBlue));
    {
        const ScopedBkMode transparent(surface, BackgroundMode::Transparent);
        surface.FillRect({236, 64, 312, 76}, Brush::Hatched(HatchStyle::DiagCross, kBlue));
    }
    for (std::int32_t style = PenStyle::Solid; style <= PenStyle::Null; ++style) {
        const ScopedPen pen(surface, Pen{style, 0, 0});
        Line(surface, 8, 86 + 8 * style, 150, 86 + 8 * style);
    }
    int y = 86;
    for (std::int32_t width : {1, 2, 3, 5, 8}) {
        const ScopedPen pen(surface, Pen{PenStyle::Solid, width, kBlue});
        Line(surface, 170, y, 300, y + 4);
        y += 11;
    }
    // Map cells: rectangles, and squares cut into two triangles.
    const std::uint32_t colours[] = {0xF0E0C0, 0xC09060, 0x806040, 0x402010};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const int x = 8 + 12 * column;
            const int y = 140 + 12 * row;
            surface.FillRect({x, y, x + 12, y + 12}, Brush::Solid(colours[(row + column) % 4]));
            const IntPoint upper[] = {{x + 52, y}, {x + 64, y}, {x + 64, y + 12}};
            const IntPoint lower[] = {{x + 52, y}, {x + 64, y + 12}, {x + 52, y + 12}};
            surface.FillPolygon(upper, Brush::Solid(colours[(row + column) % 4]));
            surface.FillPolygon(lower, Brush::Solid(colours[(row + column + 1) % 4]));
        }
    }
    const IntPoint star[] = {{140, 140}, {158, 195}, {110, 160}, {170, 160}, {122, 195}};
    surface.FillPolygon(star, Brush::Solid(kGreen));
    const IntPoint zigzag[] = {{180, 190}, {195, 150}, {210, 190}, {225, 150}, {240, 190}};
    {
        const ScopedPen pen(surface, Pen{PenStyle::Solid, 2, kRed});
        surface.Polyline(zigzag);
    }
    // Exclusive-or lines over a box: one drawn once, one twice.
    surface.FillRect({250, 150, 310, 190}, Brush::Solid(kBlue));
    const ScopedROP2 rop(surface, RasterOp::XorPen);
    const ScopedPen pen(surface, Pen{PenStyle::Solid, 3, 0xFFFFFF});
    Line(surface, 245, 160, 315, 160);
    Line(surface, 245, 180, 315, 180);
    Line(surface, 245, 180, 315, 180);
}

LText PageText(double x, double y, double w, double h, const char* text, std::uint32_t horizontal,
               std::uint32_t vertical) {
    LText label(LPoint(x, y), LPoint(w, h), std::string(text), std::nullopt);
    label.SetCoordinateAttribute(PageUnits);
    label.SetHorizontalAlignment(horizontal);
    label.SetVerticalAlignment(vertical);
    label.SetBkMode(BackgroundMode::Transparent);
    return label;
}

void DrawAnnotations(Surface& surface) {
    // 800 x 480 page units on 400 x 240 pixels: 12-point texts are 21
    // pixels high.
    const PageCoordinateSystem page(0, 800, 0, 480, 0, 400, 240, 0);
    const CCSystem chart(0, 800, 0, 480, 0, 800, 0, 480, page);
    LRectangle hatched(20, 250, 260, 460);
    hatched.SetFrameRecord(
        {4, PenStyle::Solid, kBlue, BrushStyle::Hatched, kGreen, HatchStyle::DiagCross});
    LRectangle fillOnly(300, 250, 380, 460);
    fillOnly.SetFrameRecord({-1, PenStyle::Solid, 0, BrushStyle::Solid, kYellow, 0});
    LLine dashed(20, 230, 780, 230);
    dashed.SetPenStyle(PenStyle::DashDot);
    dashed.SetColor(kRed);
    LLine thick(420, 20, 780, 200);
    thick.SetWidth(6);
    thick.SetColor(kGreen);
    for (LGraphicObject* object :
         std::initializer_list<LGraphicObject*>{&hatched, &fillOnly, &dashed, &thick}) {
        object->SetCoordinateAttribute(PageUnits);
        object->Draw(surface, &chart);
    }

    // Texts with an empty box stand on their anchor, marked with a cross.
    LText framed = PageText(40, 300, 200, 100, "Framed", TextAlign::Center, TextAlign::Baseline);
    framed.SetFrame(FrameRecord{2, PenStyle::Solid, 0, BrushStyle::Hollow, 0, 0});
    framed.SetBkMode(BackgroundMode::Opaque);
    framed.SetBkColor(kYellow);
    FontRecord font = FontRecord::DefaultTextFont();
    font.weight = 700;
    font.italic = 1;
    framed.SetFont(font);
    LText turned = PageText(60, 40, 0, 0, "Turned 30", TextAlign::Left, TextAlign::Baseline);
    font = FontRecord::DefaultTextFont();
    font.escapement = 300;
    turned.SetFont(font);
    turned.SetTextColor(kBlue);
    LText texts[] = {
        PageText(440, 440, 0, 0, "Left top", TextAlign::Left, TextAlign::Top),
        PageText(760, 360, 0, 0, "Right bottom", TextAlign::Right, TextAlign::Bottom),
        PageText(600, 290, 0, 0, "Centre base", TextAlign::Center, TextAlign::Baseline), framed,
        turned};
    const ScopedPen pen(surface, Pen{PenStyle::Solid, 0, kRed});
    for (LText& text : texts) {
        text.Draw(surface, &chart);
        if (text.GetBox().GetX() == 0.0) {
            const IntPoint p = chart.TransToDeviceRounded(text.GetAnchor());
            Line(surface, p.x - 4, p.y, p.x + 5, p.y);
            Line(surface, p.x, p.y - 4, p.x, p.y + 5);
        }
    }
}

// A smooth surface in six levels, with a missing cell inside and one on
// the border, painted over a 240 x 200 picture, with or without contours.
template <std::uint32_t MapType, bool Contours = true>
void DrawMap(Surface& surface) {
    constexpr std::uint32_t kRows = 10, kColumns = 12, kBoundaries = 5;
    DMAT data(kRows, kColumns);
    WMAT levels(kRows, kColumns);
    for (std::uint32_t r = 0; r < kRows; ++r) {
        for (std::uint32_t c = 0; c < kColumns; ++c) {
            const double value = std::sin(r * 0.35) * 2.0 + c * 0.3;
            data.Set(r, c, value);
            levels.Set(r, c, static_cast<std::uint16_t>(std::clamp(value + 1.0, 0.0, 5.0)));
        }
    }
    for (const auto& [r, c] : {std::pair{4u, 5u}, std::pair{0u, 11u}}) {
        data.SetMissing(r, c);
        levels.Set(r, c, kBoundaries + 1);
    }
    LRGBColorVect colors;
    for (std::uint32_t color :
         {0xF0F0FFu, 0xA0C8FFu, 0x50A0FFu, 0x2060E0u, 0x1030A0u, 0x101060u, kGrey}) {
        colors.Append(color);
    }
    MakeMapPainter(MapType)->Draw(
        surface, PageCoordinateSystem(0, 2400, 0, 2000, 0, 240, 200, 0),
        {levels, data, kBoundaries, colors, {200, 200, 2000, 1600}, {Contours, 10.0, 0x000000}});
}

} // namespace

const std::vector<Scene>& MapScenesWithoutContours() {
    static const std::vector<Scene> scenes = {{"rectangle", 240, 200, &DrawMap<0, false>},
                                              {"triangle", 240, 200, &DrawMap<1, false>},
                                              {"ltriangle", 240, 200, &DrawMap<2, false>},
                                              {"hparallelogram", 240, 200, &DrawMap<3, false>},
                                              {"hlparallelogram", 240, 200, &DrawMap<4, false>},
                                              {"vparallelogram", 240, 200, &DrawMap<5, false>},
                                              {"vlparallelogram", 240, 200, &DrawMap<6, false>}};
    return scenes;
}

const std::vector<Scene>& MapScenes() {
    static const std::vector<Scene> scenes = {{"map-rectangle", 240, 200, &DrawMap<0>},
                                              {"map-triangle", 240, 200, &DrawMap<1>},
                                              {"map-ltriangle", 240, 200, &DrawMap<2>},
                                              {"map-hparallelogram", 240, 200, &DrawMap<3>},
                                              {"map-hlparallelogram", 240, 200, &DrawMap<4>},
                                              {"map-vparallelogram", 240, 200, &DrawMap<5>},
                                              {"map-vlparallelogram", 240, 200, &DrawMap<6>}};
    return scenes;
}

const std::vector<Scene>& AllScenes() {
    static const std::vector<std::string> texts = {"Left top", "Right bottom", "Centre base",
                                                   "Framed", "Turned 30"};
    static const std::vector<Scene> scenes = {{"shapes", 320, 200, &DrawShapes},
                                              {"annotations", 400, 240, &DrawAnnotations, texts}};
    return scenes;
}
