#include "platform/EmfSurface.h"

#include "platform/FontMapping.h"
#include "render/RectOutline.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string_view>
#include <utility>
#include <vector>

// The library speaks the Win32 drawing calls under their own names; some
// of them are macros that would rename this file's own functions.
#include <libEMF/emf.h>
#undef TextOut
#undef min
#undef max

namespace {

// The library's reference screen: 1024 x 768 pixels on 320 x 240 mm, so one
// logical pixel is 0.3125 mm, 31.25 hundredths of a millimetre.
constexpr double kHundredthsOfMillimetrePerPixel = 31.25;

// The size of a metafile's header record and where it keeps the file size.
constexpr std::size_t kHeaderSize = 88;
constexpr std::size_t kHeaderBytesOffset = 48;

COLORREF ToColorRef(std::uint32_t color) {
    return static_cast<COLORREF>(color & 0x00FFFFFF);
}

// Whether the brush is one that paints (and so an object of its own); the
// others fill nothing.
bool PaintingBrush(const Brush& brush) {
    return brush.style == BrushStyle::Solid ||
           (brush.style == BrushStyle::Hatched && brush.hatch >= HatchStyle::Horizontal &&
            brush.hatch <= HatchStyle::DiagCross);
}

HBRUSH MakeBrush(const Brush& brush) {
    if (!PaintingBrush(brush)) {
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    LOGBRUSH record{};
    record.lbColor = ToColorRef(brush.color);
    record.lbStyle = brush.style == BrushStyle::Solid ? BS_SOLID : BS_HATCHED;
    record.lbHatch = static_cast<decltype(record.lbHatch)>(brush.hatch);
    return CreateBrushIndirect(&record);
}

HPEN MakePen(const Pen& pen) {
    if (pen.style == PenStyle::Null) {
        return static_cast<HPEN>(GetStockObject(NULL_PEN));
    }
    const bool known = pen.style >= PenStyle::Solid && pen.style <= PenStyle::DashDotDot;
    const bool dashed = known && pen.style != PenStyle::Solid;
    // Players draw widths 0 and 1 alike, but converters size the dashes of
    // a dashed pen by its width and lose them at width 0.
    const std::int32_t width = dashed && pen.width <= 1 ? 1 : std::max(pen.width, 0);
    return CreatePen(known ? pen.style : PS_SOLID, width, ToColorRef(pen.color));
}

std::uint32_t LittleEndianWord(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value =
            (value << 8) | static_cast<std::uint8_t>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return value;
}

// Whether the library wrote all of the metafile: a header record whose byte
// count is the size of what it wrote.
bool CompleteMetafile(std::string_view bytes) {
    return bytes.size() >= kHeaderSize && LittleEndianWord(bytes, 0) == 1 /* EMR_HEADER */ &&
           LittleEndianWord(bytes, kHeaderBytesOffset) == bytes.size();
}

} // namespace

// The device context, the memory stream it records into, and the objects
// this surface created and selected into it (0: a stock object is
// selected, nothing to delete).
struct EmfSurface::Recorder {
    HDC dc = 0;
    FILE* stream = nullptr;
    char* buffer = nullptr;
    std::size_t size = 0;
    HPEN pen = 0;
    HBRUSH brush = 0;
    HFONT font = 0;

    // The fills gathered per run of fills of one colour: their corners,
    // and the corner count of each polygon, in drawing order.
    struct Gathered {
        std::uint32_t color = 0;
        std::vector<POINT> corners;
        std::vector<INT> counts;
    };
    bool gathering = false;
    std::vector<Gathered> gathered;

    // Keeps a solid fill of polygons (counts[k] corners each) for
    // EndGathering; false when it is to be drawn now.
    bool Gather(const std::vector<POINT>& points, std::span<const INT> counts, const Brush& fill) {
        if (!gathering || fill.style != BrushStyle::Solid) {
            return false;
        }
        if (gathered.empty() || gathered.back().color != fill.color) {
            gathered.push_back({fill.color, {}, {}});
        }
        Gathered& target = gathered.back();
        target.corners.insert(target.corners.end(), points.begin(), points.end());
        target.counts.insert(target.counts.end(), counts.begin(), counts.end());
        return true;
    }

    // Fills polygons (counts[k] corners each) as one PolyPolygon, with a
    // temporary brush and the null pen, then selects the surface's own pen
    // and brush back.
    void DrawPolygons(const POINT* points, const INT* counts, std::size_t polygons,
                      const Brush& fill) {
        HBRUSH temporary = MakeBrush(fill);
        HGDIOBJ previousBrush = SelectObject(dc, temporary);
        HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));
        if (polygons == 1) {
            Polygon(dc, points, counts[0]);
        } else {
            PolyPolygon(dc, points, counts, static_cast<UINT>(polygons));
        }
        SelectObject(dc, previousPen);
        SelectObject(dc, previousBrush);
        DeleteObject(temporary);
    }

    // One PolyPolygon per run of one colour; its polygons may overlap, and
    // the winding rule adds them up.
    void DrawGathered() {
        for (const Gathered& fills : gathered) {
            DrawPolygons(fills.corners.data(), fills.counts.data(), fills.counts.size(),
                         Brush::Solid(fills.color));
        }
        gathered.clear();
    }

    void FillPolygons(const std::vector<POINT>& points, std::span<const INT> counts,
                      const Brush& fill) {
        if (!PaintingBrush(fill) || counts.empty() || Gather(points, counts, fill)) {
            return;
        }
        DrawPolygons(points.data(), counts.data(), counts.size(), fill);
    }

    // Selects the object and deletes the one it replaces, if it was ours.
    template <typename Handle>
    void Replace(Handle& current, Handle created, bool owned) {
        SelectObject(dc, created);
        if (current != 0) {
            DeleteObject(current);
        }
        current = owned ? created : 0;
    }

    // Selects stock objects back, deletes ours and closes the metafile;
    // false with the cause when the library could not write all of it.
    bool Finish(std::string& reason) {
        if (dc == 0) {
            return false;
        }
        SelectObject(dc, GetStockObject(BLACK_PEN));
        SelectObject(dc, GetStockObject(WHITE_BRUSH));
        SelectObject(dc, GetStockObject(SYSTEM_FONT));
        for (HGDIOBJ object :
             {static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(brush), static_cast<HGDIOBJ>(font)}) {
            if (object != 0) {
                DeleteObject(object);
            }
        }
        pen = 0;
        brush = 0;
        font = 0;
        bool complete = true;
        // The library reports a failed write by throwing.
        try {
            HENHMETAFILE metafile = CloseEnhMetaFileWithFILE(dc);
            if (metafile != 0) {
                DeleteEnhMetaFile(metafile);
            } else {
                complete = false;
            }
        } catch (const std::exception& e) {
            reason = e.what();
            complete = false;
        }
        dc = 0;
        return CloseStream() && complete;
    }

    bool CloseStream() {
        if (stream == nullptr) {
            return false;
        }
        const bool closed = std::fflush(stream) == 0 && !std::ferror(stream);
        std::fclose(stream);
        stream = nullptr;
        return closed;
    }

    ~Recorder() {
        if (stream != nullptr) {
            std::fclose(stream);
        }
        std::free(buffer);
    }
};

EmfSurface::EmfSurface(std::int32_t width, std::int32_t height, std::int32_t dotsPerInch)
    : recorder_(std::make_unique<Recorder>()), width_(width), height_(height),
      dotsPerInch_(dotsPerInch) {
    qfont_ = ToQFont(font_);
    if (width <= 0 || height <= 0) {
        return;
    }
    recorder_->stream = open_memstream(&recorder_->buffer, &recorder_->size);
    if (recorder_->stream == nullptr) {
        return;
    }
    const RECT frame{0, 0, static_cast<LONG>(std::llround(width * kHundredthsOfMillimetrePerPixel)),
                     static_cast<LONG>(std::llround(height * kHundredthsOfMillimetrePerPixel))};
    recorder_->dc = CreateEnhMetaFileWithFILEA(0, recorder_->stream, &frame, nullptr);
    if (recorder_->dc != 0) {
        // Cell polygons are filled by the winding rule; nothing else
        // depends on the fill mode.
        SetPolyFillMode(recorder_->dc, WINDING);
    }
}

EmfSurface::~EmfSurface() {
    std::string ignored;
    recorder_->Finish(ignored);
}

bool EmfSurface::IsOpen() const {
    return recorder_->dc != 0;
}

bool EmfSurface::Finish(std::string& bytes, std::string* reason) {
    std::string cause;
    if (!IsOpen()) {
        cause = "the metafile could not be recorded";
    } else if (!recorder_->Finish(cause) ||
               !CompleteMetafile(std::string_view(recorder_->buffer, recorder_->size))) {
        if (cause.empty()) {
            cause = "the metafile could not be completed";
        }
    } else {
        bytes.assign(recorder_->buffer, recorder_->size);
        return true;
    }
    if (reason != nullptr) {
        *reason = cause;
    }
    return false;
}

Pen EmfSurface::SelectPen(Pen pen) {
    if (IsOpen() && !(pen == pen_)) {
        recorder_->Replace(recorder_->pen, MakePen(pen), pen.style != PenStyle::Null);
    }
    return std::exchange(pen_, pen);
}

Brush EmfSurface::SelectBrush(Brush brush) {
    if (IsOpen() && !(brush == brush_)) {
        recorder_->Replace(recorder_->brush, MakeBrush(brush), PaintingBrush(brush));
    }
    return std::exchange(brush_, brush);
}

DeviceFont EmfSurface::SelectFont(DeviceFont font) {
    qfont_ = ToQFont(font);
    if (IsOpen() && !(font == font_)) {
        const FontRecord& record = font.record;
        LOGFONTA logFont{};
        // The em height that the text was measured with, so that a player
        // shows the same size whatever the face's cell proportions.
        logFont.lfHeight = -qfont_.pixelSize();
        logFont.lfWidth = record.width;
        logFont.lfEscapement = record.escapement;
        // Glyphs stand upright on the turned baseline, as they do on the
        // image surface, whatever graphics mode the player uses.
        logFont.lfOrientation = record.escapement;
        logFont.lfWeight = record.weight;
        logFont.lfItalic = record.italic;
        logFont.lfUnderline = record.underline;
        logFont.lfStrikeOut = record.strikeOut;
        logFont.lfCharSet = record.charSet;
        logFont.lfOutPrecision = record.outPrecision;
        logFont.lfClipPrecision = record.clipPrecision;
        logFont.lfQuality = record.quality;
        logFont.lfPitchAndFamily = record.pitchAndFamily;
        const std::string& face = record.GetFaceName();
        std::memcpy(logFont.lfFaceName, face.data(),
                    std::min(face.size(), sizeof logFont.lfFaceName - 1));
        recorder_->Replace(recorder_->font, CreateFontIndirectA(&logFont), true);
    }
    return std::exchange(font_, std::move(font));
}

std::uint32_t EmfSurface::SetTextAlign(std::uint32_t flags) {
    if (IsOpen()) {
        ::SetTextAlign(recorder_->dc, flags);
    }
    return std::exchange(textAlign_, flags);
}

std::int32_t EmfSurface::SetBkMode(std::int32_t mode) {
    if (IsOpen()) {
        ::SetBkMode(recorder_->dc, mode);
    }
    return std::exchange(bkMode_, mode);
}

std::uint32_t EmfSurface::SetTextColor(std::uint32_t color) {
    if (IsOpen()) {
        ::SetTextColor(recorder_->dc, ToColorRef(color));
    }
    return std::exchange(textColor_, color);
}

std::uint32_t EmfSurface::SetBkColor(std::uint32_t color) {
    if (IsOpen()) {
        ::SetBkColor(recorder_->dc, ToColorRef(color));
    }
    return std::exchange(bkColor_, color);
}

RasterOp EmfSurface::SetROP2(RasterOp op) {
    return std::exchange(rop2_, op);
}

void EmfSurface::FillRect(const DeviceRect& rect, Brush brush) {
    if (!IsOpen() || rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    // A polygon's interior leaves out its right and bottom edges, just as
    // FillRect does.
    const INT corners = 4;
    recorder_->FillPolygons({{rect.left, rect.top},
                             {rect.right, rect.top},
                             {rect.right, rect.bottom},
                             {rect.left, rect.bottom}},
                            {&corners, 1}, brush);
}

void EmfSurface::FillPolygon(std::span<const IntPoint> points, Brush brush) {
    if (!IsOpen() || points.size() < 3) {
        return;
    }
    std::vector<POINT> corners;
    corners.reserve(points.size());
    for (const IntPoint& p : points) {
        corners.push_back({p.x, p.y});
    }
    const auto count = static_cast<INT>(corners.size());
    recorder_->FillPolygons(corners, {&count, 1}, brush);
}

void EmfSurface::FillRects(std::span<const DeviceRect> rects, Brush brush) {
    if (!IsOpen()) {
        return;
    }
    const Outline outline = OutlineOfRects(rects);
    std::vector<POINT> points;
    points.reserve(outline.corners.size());
    for (const IntPoint& corner : outline.corners) {
        points.push_back({corner.x, corner.y});
    }
    const std::vector<INT> counts(outline.counts.begin(), outline.counts.end());
    recorder_->FillPolygons(points, counts, brush);
}

void EmfSurface::MoveTo(std::int32_t x, std::int32_t y) {
    if (IsOpen()) {
        MoveToEx(recorder_->dc, x, y, nullptr);
    }
}

// Lines of the null pen only move the current position: some converters
// would draw them anyway.
void EmfSurface::LineTo(std::int32_t x, std::int32_t y) {
    if (!IsOpen()) {
        return;
    }
    if (pen_.style == PenStyle::Null) {
        MoveToEx(recorder_->dc, x, y, nullptr);
    } else {
        ::LineTo(recorder_->dc, x, y);
    }
}

void EmfSurface::Polyline(std::span<const IntPoint> points) {
    if (!IsOpen() || points.size() < 2 || pen_.style == PenStyle::Null) {
        return;
    }
    std::vector<POINT> corners;
    corners.reserve(points.size());
    for (const IntPoint& p : points) {
        corners.push_back({p.x, p.y});
    }
    ::Polyline(recorder_->dc, corners.data(), static_cast<INT>(corners.size()));
}

void EmfSurface::Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom) {
    if (IsOpen()) {
        ::Rectangle(recorder_->dc, left, top, right, bottom);
    }
}

void EmfSurface::TextOut(std::int32_t x, std::int32_t y, std::string_view text) {
    if (!IsOpen() || text.empty()) {
        return;
    }
    // The advance of every character as Qt measures it, so that a player
    // spaces the text as the image surface does. The record holds UTF-16
    // code units, so every character survives.
    const QString string = TextToQString(text);
    const QFontMetrics metrics(qfont_);
    std::vector<INT> advances(static_cast<std::size_t>(string.size()));
    std::vector<WCHAR> units(advances.size());
    int before = 0;
    for (qsizetype i = 0; i < string.size(); ++i) {
        const int after = metrics.horizontalAdvance(string.left(i + 1));
        advances[static_cast<std::size_t>(i)] = after - before;
        units[static_cast<std::size_t>(i)] = static_cast<WCHAR>(string[i].unicode());
        before = after;
    }
    ExtTextOutW(recorder_->dc, x, y, 0, nullptr, units.data(), static_cast<UINT>(units.size()),
                advances.data());
}

IntSize EmfSurface::GetTextExtent(std::string_view text) {
    return PlaceText(qfont_, TextToQString(text), textAlign_).Extent();
}

std::int32_t EmfSurface::GetDeviceCaps(DeviceCap cap) {
    switch (cap) {
    case DeviceCap::Technology:
        // The reference device is a screen; a view paints a metafile as it
        // paints its window.
        return DeviceTechnology::RasterDisplay;
    case DeviceCap::HorzRes:
        return width_;
    case DeviceCap::VertRes:
        return height_;
    case DeviceCap::LogPixelsX:
    case DeviceCap::LogPixelsY:
        return dotsPerInch_;
    }
    return 0;
}

bool EmfSurface::BeginGathering() {
    recorder_->gathering = IsOpen();
    return recorder_->gathering;
}

void EmfSurface::EndGathering() {
    recorder_->gathering = false;
    if (IsOpen()) {
        recorder_->DrawGathered();
    }
}

std::int32_t EmfSurface::GetMapMode() {
    return MapMode::Text;
}
