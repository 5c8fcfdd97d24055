#include "platform/QtSurface.h"

#include "platform/FontMapping.h"
#include "render/RectOutline.h"

#include <QBrush>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <utility>

namespace {

// Rectangle edges beyond this are off any device; clamping them keeps
// Qt's integer rectangles from overflowing.
constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 24;

int ClampCoordinate(std::int64_t value) {
    return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

bool IsDashed(std::int32_t style) {
    return style >= PenStyle::Dash && style <= PenStyle::DashDotDot;
}

// A dashed style is drawn only by pens of at most one unit; wider ones draw
// solid lines.
bool DrawsDashes(const Pen& pen) {
    return IsDashed(pen.style) && pen.width <= 1;
}

// The device context's patterns for one-unit pens: dash, gap, dash, gap...
QList<qreal> DashPattern(std::int32_t style) {
    switch (style) {
    case PenStyle::Dash:
        return {18, 6};
    case PenStyle::Dot:
        return {3, 3};
    case PenStyle::DashDot:
        return {9, 6, 3, 6};
    default: // dash-dot-dot
        return {9, 3, 3, 3, 3, 3};
    }
}

// The same pattern shifted so that it draws exactly the gaps of the
// original: the gaps become the dashes.
QList<qreal> GapPattern(const QList<qreal>& pattern) {
    QList<qreal> gaps(pattern.begin() + 1, pattern.end());
    gaps.push_back(pattern.front());
    return gaps;
}

QPen BasicPen(const Pen& pen, std::uint32_t color) {
    QPen result(ToQColor(color));
    if (pen.width <= 0) {
        result.setWidth(0);
        result.setCosmetic(true);
    } else {
        result.setWidth(pen.width);
    }
    if (pen.width <= 1) {
        // A flat end leaves the end point of a thin line unpainted.
        result.setCapStyle(Qt::FlatCap);
        result.setJoinStyle(Qt::MiterJoin);
    } else {
        result.setCapStyle(Qt::RoundCap);
        result.setJoinStyle(Qt::RoundJoin);
    }
    return result;
}

QPen ToQPen(const Pen& pen) {
    QPen result = BasicPen(pen, pen.color);
    if (DrawsDashes(pen)) {
        result.setDashPattern(DashPattern(pen.style));
    }
    return result;
}

// The pen that paints the gaps of a dashed pen in the background colour.
QPen GapPen(const Pen& pen, std::uint32_t bkColor) {
    const QList<qreal> pattern = DashPattern(pen.style);
    QPen result = BasicPen(pen, bkColor);
    result.setDashPattern(GapPattern(pattern));
    qreal total = 0;
    for (qreal length : pattern) {
        total += length;
    }
    result.setDashOffset(total - pattern.front());
    return result;
}

bool HatchPattern(std::int32_t hatch, Qt::BrushStyle& style) {
    switch (hatch) {
    case HatchStyle::Horizontal:
        style = Qt::HorPattern;
        return true;
    case HatchStyle::Vertical:
        style = Qt::VerPattern;
        return true;
    case HatchStyle::FDiagonal:
        style = Qt::FDiagPattern; // top left to bottom right
        return true;
    case HatchStyle::BDiagonal:
        style = Qt::BDiagPattern; // bottom left to top right
        return true;
    case HatchStyle::Cross:
        style = Qt::CrossPattern;
        return true;
    case HatchStyle::DiagCross:
        style = Qt::DiagCrossPattern;
        return true;
    default:
        return false;
    }
}

} // namespace

QtSurface::QtSurface(QPainter& painter, std::int32_t technology)
    : painter_(painter), technology_(technology) {
    painter_.save();
    const QPaintEngine* engine = painter_.paintEngine();
    const QPaintEngine::Type type = engine != nullptr ? engine->type() : QPaintEngine::Raster;
    vectorDevice_ = type != QPaintEngine::Raster && type != QPaintEngine::OpenGL2;
    pdfDevice_ = type == QPaintEngine::Pdf;
    canXor_ = engine != nullptr && engine->hasFeature(QPaintEngine::RasterOpModes);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.setBrushOrigin(0, 0);
    qfont_ = ToQFont(font_);
    qpen_ = ToQPen(pen_);
}

QtSurface::~QtSurface() {
    painter_.restore();
}

Pen QtSurface::SelectPen(Pen pen) {
    if (!(pen == pen_)) {
        FlushSegments();
    }
    qpen_ = ToQPen(pen);
    return std::exchange(pen_, pen);
}

Brush QtSurface::SelectBrush(Brush brush) {
    return std::exchange(brush_, brush);
}

DeviceFont QtSurface::SelectFont(DeviceFont font) {
    qfont_ = ToQFont(font);
    return std::exchange(font_, std::move(font));
}

std::uint32_t QtSurface::SetTextAlign(std::uint32_t flags) {
    return std::exchange(textAlign_, flags);
}

std::int32_t QtSurface::SetBkMode(std::int32_t mode) {
    return std::exchange(bkMode_, mode);
}

std::uint32_t QtSurface::SetTextColor(std::uint32_t color) {
    return std::exchange(textColor_, color);
}

std::uint32_t QtSurface::SetBkColor(std::uint32_t color) {
    return std::exchange(bkColor_, color);
}

RasterOp QtSurface::SetROP2(RasterOp op) {
    return std::exchange(rop2_, op);
}

void QtSurface::ApplyRasterOp(bool xorAllowed) {
    const bool useXor = xorAllowed && canXor_ && rop2_ == RasterOp::XorPen;
    painter_.setCompositionMode(useXor ? QPainter::RasterOp_SourceXorDestination
                                       : QPainter::CompositionMode_SourceOver);
}

void QtSurface::StrokePath(const QPainterPath& path) {
    if (pen_.style == PenStyle::Null) {
        return;
    }
    ApplyRasterOp(true);
    painter_.setBrush(Qt::NoBrush);
    if (DrawsDashes(pen_) && bkMode_ == BackgroundMode::Opaque) {
        painter_.setPen(GapPen(pen_, bkColor_));
        painter_.drawPath(path);
    }
    painter_.setPen(ToQPen(pen_));
    painter_.drawPath(path);
    ApplyRasterOp(false);
}

void QtSurface::FillShape(const QPainterPath& path, const QRect& rect, const Brush& brush) {
    const auto fill = [&](const QBrush& qbrush) {
        if (path.isEmpty()) {
            painter_.fillRect(rect, qbrush);
        } else {
            painter_.fillPath(path, qbrush);
        }
    };
    switch (brush.style) {
    case BrushStyle::Solid:
        fill(QBrush(ToQColor(brush.color)));
        break;
    case BrushStyle::Hatched: {
        Qt::BrushStyle pattern = Qt::NoBrush;
        if (!HatchPattern(brush.hatch, pattern)) {
            break; // no such hatch: the brush could not be made
        }
        if (bkMode_ == BackgroundMode::Opaque) {
            fill(QBrush(ToQColor(bkColor_)));
        }
        fill(QBrush(ToQColor(brush.color), pattern));
        break;
    }
    default: // hollow, or a style no brush can have
        break;
    }
}

bool QtSurface::BeginGathering() {
    gathering_ = true;
    return vectorDevice_;
}

void QtSurface::EndGathering() {
    gathering_ = false;
    if (!fills_.empty()) {
        ApplyRasterOp(false);
        painter_.setPen(Qt::NoPen);
        for (GatheredFills& fills : fills_) {
            const QBrush brush(ToQColor(fills.color));
            painter_.setBrush(brush);
            if (pdfDevice_ && fills.shapes.isEmpty() && fills.rects.isEmpty()) {
                painter_.drawRects(fills.unionRects);
                painter_.fillPath(fills.unionShapes, brush);
            } else if (pdfDevice_ && fills.shapes.isEmpty() && fills.unionShapes.isEmpty() &&
                       fills.unionRects.isEmpty()) {
                painter_.drawRects(fills.rects);
            } else {
                QPainterPath all = std::move(fills.shapes);
                all.addPath(fills.unionShapes);
                all.addPath(fills.unionRectShapes);
                for (const QRectF& rect : fills.rects) {
                    all.addRect(rect);
                }
                painter_.fillPath(all, brush);
            }
        }
        fills_.clear();
    }
    FlushSegments();
}

QtSurface::GatheredFills* QtSurface::GatheredFillsOf(const Brush& brush) {
    if (!Gathers() || brush.style != BrushStyle::Solid) {
        return nullptr;
    }
    if (fills_.empty() || fills_.back().color != brush.color) {
        fills_.push_back({brush.color, {}, {}, {}, {}, {}});
        fills_.back().shapes.setFillRule(Qt::WindingFill);
        fills_.back().unionShapes.setFillRule(Qt::WindingFill);
        fills_.back().unionRectShapes.setFillRule(Qt::WindingFill);
    }
    return &fills_.back();
}

bool QtSurface::GatherFill(const QPainterPath& path, const QRectF& rect, const Brush& brush) {
    GatheredFills* gathered = GatheredFillsOf(brush);
    if (gathered == nullptr) {
        return false;
    }
    if (path.isEmpty()) {
        gathered->rects.push_back(rect);
    } else {
        gathered->shapes.addPath(path);
    }
    return true;
}

void QtSurface::FlushSegments() {
    if (segments_.isEmpty()) {
        return;
    }
    const QPainterPath path = std::exchange(segments_, QPainterPath());
    StrokePath(path);
}

void QtSurface::FillRect(const DeviceRect& rect, Brush brush) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    const int left = ClampCoordinate(rect.left);
    const int top = ClampCoordinate(rect.top);
    const int right = ClampCoordinate(rect.right);
    const int bottom = ClampCoordinate(rect.bottom);
    if (GatherFill(QPainterPath(), QRectF(left, top, right - left, bottom - top), brush)) {
        return;
    }
    FillShape(QPainterPath(), QRect(left, top, right - left, bottom - top), brush);
}

void QtSurface::FillPolygon(std::span<const IntPoint> points, Brush brush) {
    if (points.size() < 3) {
        return;
    }
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const IntPoint& p : points) {
        polygon << QPointF(p.x, p.y);
    }
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addPolygon(polygon);
    path.closeSubpath();
    if (GatherFill(path, QRectF(), brush)) {
        return;
    }
    FillShape(path, QRect(), brush);
}

void QtSurface::FillRects(std::span<const DeviceRect> rects, Brush brush) {
    GatheredFills* gathered = GatheredFillsOf(brush);
    if (gathered == nullptr) {
        for (const DeviceRect& rect : rects) {
            FillRect(rect, brush);
        }
        return;
    }
    const Outline outline = OutlineOfRects(rects);
    // A PDF rectangle takes about as many bytes as two corners of a ring.
    const bool asRects =
        pdfDevice_ && 2 * rects.size() < outline.corners.size() + outline.counts.size();
    if (asRects) {
        for (const DeviceRect& rect : rects) {
            const int left = ClampCoordinate(rect.left);
            const int top = ClampCoordinate(rect.top);
            gathered->unionRects.push_back(QRectF(left, top, ClampCoordinate(rect.right) - left,
                                                  ClampCoordinate(rect.bottom) - top));
        }
    }
    QPainterPath& rings = asRects ? gathered->unionRectShapes : gathered->unionShapes;
    const auto at = [](IntPoint corner) {
        return QPointF(ClampCoordinate(corner.x), ClampCoordinate(corner.y));
    };
    std::size_t first = 0;
    for (const std::int32_t count : outline.counts) {
        const std::span<const IntPoint> ring(outline.corners.data() + first,
                                             static_cast<std::size_t>(count));
        first += static_cast<std::size_t>(count);
        rings.moveTo(at(ring[0]));
        for (const IntPoint& corner : ring.subspan(1)) {
            rings.lineTo(at(corner));
        }
        rings.closeSubpath();
    }
}

void QtSurface::MoveTo(std::int32_t x, std::int32_t y) {
    position_ = QPoint(x, y);
}

void QtSurface::LineTo(std::int32_t x, std::int32_t y) {
    const bool plain = pen_.style != PenStyle::Null && !DrawsDashes(pen_) &&
                       !(canXor_ && rop2_ == RasterOp::XorPen);
    if (plain && Gathers()) {
        // A segment that goes on from the last one continues its line.
        const QPointF from(position_.x() + 0.5, position_.y() + 0.5);
        if (segments_.isEmpty() || segments_.currentPosition() != from) {
            segments_.moveTo(from);
        }
        segments_.lineTo(x + 0.5, y + 0.5);
    } else if (plain) {
        // The common case, a solid segment: no path to build, and the
        // painter's state is set only when it differs.
        if (painter_.compositionMode() != QPainter::CompositionMode_SourceOver) {
            painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        if (painter_.pen() != qpen_) {
            painter_.setPen(qpen_);
        }
        const double offset = vectorDevice_ ? 0.5 : 0.0;
        painter_.drawLine(QPointF(position_.x() + offset, position_.y() + offset),
                          QPointF(x + offset, y + offset));
    } else {
        const IntPoint segment[] = {{position_.x(), position_.y()}, {x, y}};
        Polyline(segment);
    }
    position_ = QPoint(x, y);
}

void QtSurface::Polyline(std::span<const IntPoint> points) {
    if (points.size() < 2) {
        return;
    }
    // Vector devices place a one-unit line on the row of pixels below and
    // to the right of its coordinates, as a raster device does.
    const double offset = vectorDevice_ ? 0.5 : 0.0;
    QPainterPath path(QPointF(points[0].x + offset, points[0].y + offset));
    for (std::size_t i = 1; i < points.size(); ++i) {
        path.lineTo(points[i].x + offset, points[i].y + offset);
    }
    StrokePath(path);
}

void QtSurface::Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                          std::int32_t bottom) {
    std::int64_t l = std::min(left, right);
    std::int64_t r = std::max(left, right);
    std::int64_t t = std::min(top, bottom);
    std::int64_t b = std::max(top, bottom);
    if (r == l || b == t) {
        return;
    }
    // The outline runs over the pixels l..r-1, t..b-1; the interior lies
    // inside it, or, without an outline, covers l..r-2, t..b-2.
    const bool outlined = pen_.style != PenStyle::Null;
    const std::int64_t inset = outlined ? 1 : 0;
    if (r - 1 > l + inset && b - 1 > t + inset) {
        const int fl = ClampCoordinate(l + inset);
        const int ft = ClampCoordinate(t + inset);
        const int fr = ClampCoordinate(r - 1);
        const int fb = ClampCoordinate(b - 1);
        ApplyRasterOp(true);
        FillShape(QPainterPath(), QRect(fl, ft, fr - fl, fb - ft), brush_);
        ApplyRasterOp(false);
    }
    if (outlined) {
        const double offset = vectorDevice_ ? 0.5 : 0.0;
        const double x0 = static_cast<double>(l) + offset;
        const double y0 = static_cast<double>(t) + offset;
        const double x1 = static_cast<double>(r - 1) + offset;
        const double y1 = static_cast<double>(b - 1) + offset;
        QPainterPath path(QPointF(x0, y0));
        path.lineTo(x1, y0);
        path.lineTo(x1, y1);
        path.lineTo(x0, y1);
        path.closeSubpath();
        StrokePath(path);
    }
}

void QtSurface::TextOut(std::int32_t x, std::int32_t y, std::string_view text) {
    const QString string = TextToQString(text);
    const TextPlacement place = PlaceText(qfont_, string, textAlign_);
    painter_.save();
    painter_.translate(x, y);
    if (font_.record.escapement != 0) {
        // Counter-clockwise on the screen, whose y axis points down.
        painter_.rotate(-font_.record.escapement / 10.0);
    }
    if (bkMode_ == BackgroundMode::Opaque) {
        painter_.fillRect(QRectF(place.left, place.baseline - place.ascent, place.width,
                                 place.ascent + place.descent),
                          ToQColor(bkColor_));
    }
    painter_.setFont(qfont_);
    painter_.setPen(ToQColor(textColor_));
    painter_.drawText(QPointF(place.left, place.baseline), string);
    painter_.restore();
}

IntSize QtSurface::GetTextExtent(std::string_view text) {
    return PlaceText(qfont_, TextToQString(text), textAlign_).Extent();
}

std::int32_t QtSurface::GetDeviceCaps(DeviceCap cap) {
    const QPaintDevice* device = painter_.device();
    if (device == nullptr) {
        return cap == DeviceCap::Technology ? technology_ : 0;
    }
    switch (cap) {
    case DeviceCap::Technology:
        return technology_;
    case DeviceCap::HorzRes:
        return device->width();
    case DeviceCap::VertRes:
        return device->height();
    case DeviceCap::LogPixelsX:
        return device->logicalDpiX();
    case DeviceCap::LogPixelsY:
        return device->logicalDpiY();
    }
    return 0;
}

std::int32_t QtSurface::GetMapMode() {
    return MapMode::Text;
}
