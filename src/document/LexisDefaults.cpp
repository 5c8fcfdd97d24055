#include "document/LexisDefaults.h"

#include "document/ChartDocument.h"
#include "document/MapTypes.h"
#include "scale/MapScale.h"
#include "scale/ScaleLimits.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Rates per person (death rates, fertility rates) stay below this; counts
// of deaths, births or people do not.
constexpr double kRateLimit = 10;

// Boundaries below this are printed in exponent form.
constexpr double kSmallestFixed = 0.01;

std::uint32_t MapTypeOf(LexisLayout layout) {
    switch (layout) {
    case LexisLayout::Triangles:
        return TriangleMap;
    case LexisLayout::YearParallelograms:
        return VParallelogramMap;
    case LexisLayout::CohortParallelograms:
        return VLParallelogramMap;
    case LexisLayout::Squares:
        break;
    }
    return RectangleMap;
}

// A tick every 10 years, fewer on long ranges, so that labels do not
// crowd each other.
std::int32_t TickStep(double span) {
    return span <= 100 ? 10 : span <= 250 ? 20 : 50;
}

void SetLine(MList<WText>& lines, const std::string& text) {
    lines.Flush();
    WText line;
    line.text = text;
    lines.addAtTail(line);
}

} // namespace

bool MakeDoublingScale(const DMAT& data, DMAT& scale) {
    if (data.IsEmpty()) {
        return false;
    }
    double smallest = std::numeric_limits<double>::infinity();
    double largest = 0;
    const std::size_t cells = static_cast<std::size_t>(data.GetRows()) * data.GetColumns();
    for (std::size_t i = 0; i < cells; ++i) {
        const double value = data.Data()[i];
        if (DMAT::IsMissingValue(value)) {
            continue;
        }
        if (value < 0 || !(value < kRateLimit)) {
            return false;
        }
        if (value > 0) {
            smallest = std::min(smallest, value);
            largest = std::max(largest, value);
        }
    }
    if (!(largest > 0)) {
        return false;
    }
    const double start = std::exp2(std::ceil(std::log2(smallest)) - 1);
    std::uint32_t count = 1;
    while (count < kMaxScaleBoundaries && std::ldexp(start, static_cast<int>(count)) < largest) {
        ++count;
    }
    MakeMultiplicativeScale(scale, start, 2, count);
    return true;
}

std::string ScaleTickFormat(const DMAT& scale) {
    double smallest = std::numeric_limits<double>::infinity();
    for (std::uint32_t i = 0; i < BoundaryCount(scale); ++i) {
        const double value = std::fabs(scale.Get(i, 0));
        if (value > 0) {
            smallest = std::min(smallest, value);
        }
    }
    if (!std::isfinite(smallest)) {
        return "F0";
    }
    if (smallest < kSmallestFixed) {
        return "G3";
    }
    const int decimals = std::clamp(2 - static_cast<int>(std::floor(std::log10(smallest))), 0, 4);
    // Appended, not concatenated: GCC 12 warns falsely (-Wrestrict) on the
    // concatenated temporary in optimised builds.
    std::string code = "F";
    code += std::to_string(decimals);
    return code;
}

void ApplyLexisTableDefaults(ChartDocument& document) {
    if (!document.Table || document.DataMatrix.IsEmpty()) {
        return;
    }
    const LexisTable& table = *document.Table;
    document.MapType = MapTypeOf(table.header.layout);

    // A parallelogram spans two years of age: those who reach age a during
    // the year are a - 1 to a years old at its start and a to a + 1 at its
    // end, so the plot begins a year below the first age.
    const bool parallelograms = table.header.layout == LexisLayout::YearParallelograms ||
                                table.header.layout == LexisLayout::CohortParallelograms;
    PlotFrame& frame = document.Frame;
    frame.x1 = table.firstPeriod;
    frame.x2 = static_cast<double>(table.lastPeriod) + 1;
    frame.y1 = table.firstAge - (parallelograms ? 1 : 0);
    frame.y2 = static_cast<double>(table.lastAge) + 1;
    frame.xFormat = "F0";
    frame.yFormat = "F0";
    frame.MakeIntegerTicks(PlotFrame::XAxis, TickStep(frame.x2 - frame.x1));
    frame.MakeIntegerTicks(PlotFrame::YAxis, TickStep(frame.y2 - frame.y1));
    SetLine(frame.title, table.header.title.empty() ? table.valueColumn : table.header.title);
    SetLine(frame.xLabel, table.header.PeriodName());
    SetLine(frame.yLabel, "Age");

    // The load classifies the map once the scale is final.
    MakeDoublingScale(document.DataMatrix, document.ScaleValues);
    document.Legend.SetTickFormat(ScaleTickFormat(document.ScaleValues));
}
