#include "map/CohortLines.h"

#include "render/CCSystem.h"
#include "render/RoundCoordinate.h"
#include "render/Surface.h"

#include <algorithm>
#include <cmath>

CohortWeights CohortWeightsOf(AxisName x, AxisName y) {
    if (x == AxisName::Cohort) {
        return {1, 0};
    }
    if (y == AxisName::Cohort) {
        return {0, 1};
    }
    if (x == AxisName::Age && y == AxisName::Year) {
        return {-1, 1};
    }
    // Years across and ages up, as most maps are.
    return {1, -1};
}

std::vector<CohortSegment> CohortSegments(const CohortLineSettings& settings, CohortWeights weights,
                                          double x1, double x2, double y1, double y2) {
    std::vector<CohortSegment> segments;
    if (!settings.on || !(settings.step > 0) || !std::isfinite(settings.first) ||
        (weights.x == 0 && weights.y == 0)) {
        return segments;
    }
    const double xlo = std::min(x1, x2);
    const double xhi = std::max(x1, x2);
    const double ylo = std::min(y1, y2);
    const double yhi = std::max(y1, y2);
    if (!(xlo < xhi && ylo < yhi)) {
        return segments;
    }
    const auto cohortAt = [&](double x, double y) { return weights.x * x + weights.y * y; };
    const double corners[] = {cohortAt(xlo, ylo), cohortAt(xlo, yhi), cohortAt(xhi, ylo),
                              cohortAt(xhi, yhi)};
    const double low = *std::min_element(std::begin(corners), std::end(corners));
    const double high = *std::max_element(std::begin(corners), std::end(corners));
    // The first line strictly inside: one through a corner has no length.
    double k = std::max(0.0, std::floor((low - settings.first) / settings.step) + 1);
    if (settings.first + (k - 1) * settings.step > low && k >= 1) {
        k -= 1;
    }
    for (; segments.size() < kMaxCohortLines; k += 1) {
        const double c = settings.first + k * settings.step;
        if (!(c < high)) {
            break;
        }
        if (!(c > low)) {
            continue;
        }
        CohortSegment segment{c, {}, {}};
        if (weights.y == 0) {
            const double x = c / weights.x;
            segment.a = {x, ylo};
            segment.b = {x, yhi};
        } else if (weights.x == 0) {
            const double y = c / weights.y;
            segment.a = {xlo, y};
            segment.b = {xhi, y};
        } else {
            // The line meets the left and right edges at these heights;
            // where it leaves the rectangle through the bottom or the top
            // instead, it is cut there.
            const auto yAt = [&](double x) { return (c - weights.x * x) / weights.y; };
            const auto xAt = [&](double y) { return (c - weights.y * y) / weights.x; };
            DoublePoint p{xlo, yAt(xlo)};
            DoublePoint q{xhi, yAt(xhi)};
            for (DoublePoint* point : {&p, &q}) {
                if (point->y < ylo) {
                    *point = {xAt(ylo), ylo};
                } else if (point->y > yhi) {
                    *point = {xAt(yhi), yhi};
                }
            }
            segment.a = p;
            segment.b = q;
        }
        segments.push_back(segment);
    }
    return segments;
}

void DrawCohortLines(Surface& surface, const CCSystem& coordinates,
                     const CohortLineSettings& settings, CohortWeights weights) {
    const std::vector<CohortSegment> segments =
        CohortSegments(settings, weights, coordinates.GetX1(), coordinates.GetX2(),
                       coordinates.GetY1(), coordinates.GetY2());
    if (segments.empty()) {
        return;
    }
    const std::int32_t penWidth =
        TruncateCoordinate(coordinates.GetPageSystem().MeanScale() * settings.width);
    const ScopedPen pen(surface, Pen{settings.penStyle, penWidth, settings.color});
    for (const CohortSegment& segment : segments) {
        const DoublePoint a = coordinates.DataToDevice(segment.a.x, segment.a.y);
        const DoublePoint b = coordinates.DataToDevice(segment.b.x, segment.b.y);
        surface.MoveTo(TruncateCoordinate(a.x), TruncateCoordinate(a.y));
        surface.LineTo(TruncateCoordinate(b.x), TruncateCoordinate(b.y));
    }
}

std::string CohortLinesRefusal(const CohortLineSettings& settings) {
    if (!(settings.step > 0) || !std::isfinite(settings.step)) {
        return "The step between cohort lines is a number of years above 0.";
    }
    if (!std::isfinite(settings.first)) {
        return "The first cohort is a year.";
    }
    if (!(settings.width >= 0) || !std::isfinite(settings.width)) {
        return "The width of cohort lines is 0 or more.";
    }
    return std::string();
}
