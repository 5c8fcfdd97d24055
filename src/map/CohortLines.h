#pragma once

#include "frame/AxisNames.h"
#include "render/Geometry.h"
#include "scale/LRGBColorVect.h"

#include <cstdint>
#include <string>
#include <vector>

class CCSystem;
class Surface;

// Diagonal lines of constant birth year (cohort = period - age) over a
// map, so that the eye can follow a generation: one at the first cohort
// and one every step after it, with their own pen.
struct CohortLineSettings {
    bool on = true;
    // Years between two lines, more than 0.
    double step = 10;
    // The birth year of the first line; none is drawn before it.
    double first = 1900;
    // Line width in page units (0.1 mm); pen style and colour as the
    // surface takes them.
    double width = 3.0;
    std::int32_t penStyle = 0;
    LRGBColor color = 0;

    friend bool operator==(const CohortLineSettings&, const CohortLineSettings&) = default;
};

// Why settings typed by the user cannot be kept: a step that is not above
// 0, a first cohort or a width that is not a number, a negative width.
// Empty when they can.
std::string CohortLinesRefusal(const CohortLineSettings& settings);

// Drawing more lines than this shows nothing but ink.
inline constexpr std::size_t kMaxCohortLines = 2000;

// The cohort of a point of the plot as a weighted sum of its x and y:
// year - age for years across and ages up, and what the axis labels
// otherwise make of it (a cohort axis gives straight lines).
struct CohortWeights {
    double x = 1;
    double y = -1;
};
CohortWeights CohortWeightsOf(AxisName x, AxisName y);

// A line of one cohort inside the plot, in data units.
struct CohortSegment {
    double cohort = 0;
    DoublePoint a;
    DoublePoint b;
};

// The cohort lines that cross the data rectangle x1 .. x2, y1 .. y2 (either
// way round), cut at its edges: a cohort that only touches a corner has no
// segment. None when the settings are off or the step is not above 0.
std::vector<CohortSegment> CohortSegments(const CohortLineSettings& settings, CohortWeights weights,
                                          double x1, double x2, double y1, double y2);

// Draws the segments over the plot of coordinates with the settings' pen.
void DrawCohortLines(Surface& surface, const CCSystem& coordinates,
                     const CohortLineSettings& settings, CohortWeights weights);
