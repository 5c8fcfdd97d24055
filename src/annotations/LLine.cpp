#include "annotations/LLine.h"

#include "render/RoundCoordinate.h"

#include <cmath>
#include <utility>

namespace {

// Clicks on the thinnest line are given this much room, in page units.
constexpr double kThinLineTolerance = 5.0;

} // namespace

LLine::LLine(double ax, double ay, double bx, double by)
    : LGraphicObject(LPoint(ax, ay), LPoint(bx, by)) {}

void LLine::Draw(Surface& surface, const CCSystem* coordinates) {
    if (surface.GetMapMode() != MapMode::Text) {
        return;
    }
    const CCSystem& system = CoordinatesOrDefault(coordinates);
    const DoublePoint a = system.TransToDevice(GetA());
    const DoublePoint b = system.TransToDevice(GetB());
    const std::int32_t penWidth = TruncateCoordinate(system.GetPageSystem().MeanScale() * width_);
    const ScopedPen pen(surface, Pen{penStyle_, penWidth, color_});
    surface.MoveTo(TruncateCoordinate(a.x), TruncateCoordinate(a.y));
    surface.LineTo(TruncateCoordinate(b.x), TruncateCoordinate(b.y));
}

// A horizontal line takes clicks up to t above or below it (t its width),
// a vertical one only up to t / 2 to either side; a sloped line takes
// clicks nearer than t whose foot on the line falls between the ends. The
// ends themselves never count, and a line of zero length is never hit.
bool LLine::Contains(const DoublePoint& point, const CCSystem* coordinates) const {
    const double t = width_ == 0.0 ? kThinLineTolerance : width_;
    DoublePoint p1;
    DoublePoint p2;
    CornersOnPage(CoordinatesOrDefault(coordinates), p1, p2);
    if (p1.x > p2.x) {
        std::swap(p1, p2);
    }
    if (p1.x == p2.x && p1.y == p2.y) {
        return false;
    }
    if (p1.y == p2.y) {
        return p1.y - t < point.y && point.y <= p1.y + t && p1.x < point.x && point.x < p2.x;
    }
    if (p1.x == p2.x) {
        const double low = std::fmin(p1.y, p2.y);
        const double high = std::fmax(p1.y, p2.y);
        return p1.x - t / 2 < point.x && point.x <= p1.x + t / 2 && low < point.y && point.y < high;
    }
    // The foot of the perpendicular from the point onto the line.
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    const double along = ((point.x - p1.x) * dx + (point.y - p1.y) * dy) / (dx * dx + dy * dy);
    const double footX = p1.x + along * dx;
    const double footY = p1.y + along * dy;
    if (!(p1.x < footX && footX < p2.x)) {
        return false;
    }
    return std::hypot(point.x - footX, point.y - footY) < t;
}
