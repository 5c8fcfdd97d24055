#include "frame/PlotFrame.h"

#include "core/FormatNumber.h"
#include "core/MListIter.h"
#include "core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

void AddTick(MList<WText>& labels, MList<double>& values, double value, std::string label) {
    WText text;
    text.text = std::move(label);
    labels.addAtTail(text);
    values.addAtTail(value);
}

// The largest multiple of step not above value (step > 0).
std::int64_t FloorToMultiple(std::int64_t value, std::int64_t step) {
    std::int64_t quotient = value / step;
    if (value % step != 0 && value < 0) {
        --quotient;
    }
    return quotient * step;
}

} // namespace

bool PlotFrame::IsUsableRange(double low, double high) {
    // Page extents are at most 2^31 units: a spread above this bound keeps
    // their ratio to it a finite, nonzero scale.
    constexpr double kNarrowest = 1e-290;
    const double spread = high - low;
    return std::isfinite(low) && std::isfinite(high) && std::isfinite(spread) &&
           spread > kNarrowest;
}

void PlotFrame::SetDefaults() {
    xOrigin = 330;
    yOrigin = 250;
    xSize = 1808;
    ySize = 1550;
    frameLineWidth = 1;
    textFrameHeight = 60;
    tickLength = 30;
    tickWidth = 0;
    xLabelGap = 30;
    yLabelGap = 30;
    xLabelShift = 0;
    yLabelShift = 0;
    titleMargin = 0;
    xLabelMargin = 80;
    yLabelMargin = 130;
    x1 = 0.0;
    x2 = 1.0;
    y1 = 0.0;
    y2 = 1.0;
    frameRectangleVisible = 1;
    xFormat = "F2";
    yFormat = "F2";
    xTickCount = 0;
    yTickCount = 0;
    xGridLines = false;
    yGridLines = false;
    xGridLineWidth = 0;
    yGridLineWidth = 0;
    xGridLineColor = 0;
    yGridLineColor = 0;
    xGridLineType = 0;
    yGridLineType = 0;
    yTicksSetup = TicksSetup::FirstTicks | TicksSetup::SecondTicks | TicksSetup::FirstLabels;
    xTicksSetup = TicksSetup::FirstTicks | TicksSetup::FirstLabels;
    visible = true;
}

void PlotFrame::MakeIntegerTicks(int axis, std::int32_t step) {
    const bool isX = axis == XAxis;
    const std::int64_t low = TruncateToInt32(isX ? x1 : y1);
    const std::int64_t high = TruncateToInt32(isX ? x2 : y2);
    if (low >= high) {
        return;
    }
    MList<WText>& labels = TickLabels(axis);
    MList<double>& values = TickValues(axis);
    labels.Flush();
    values.Flush();
    AddTick(labels, values, static_cast<double>(low), std::to_string(low));

    // Only the multiples of the step are visited, so a range of billions
    // costs no more than its ticks.
    std::int64_t stride = std::max<std::int64_t>(step, 1);
    const std::int64_t multiples = (high - low) / stride;
    if (multiples > kMaxAutomaticTicks) {
        stride *= (multiples + kMaxAutomaticTicks - 1) / kMaxAutomaticTicks;
    }
    // Multiples nearer an end than half a step would crowd its label.
    const std::int64_t room = stride / 2;
    for (std::int64_t i = FloorToMultiple(low, stride) + stride; i < high; i += stride) {
        if (i - low >= room && high - i >= room) {
            AddTick(labels, values, static_cast<double>(i), std::to_string(i));
        }
    }
    AddTick(labels, values, static_cast<double>(high), std::to_string(high));
}

void PlotFrame::MakeNumericTicks(double low, double high, std::int32_t count, MList<WText>& labels,
                                 MList<double>& values, const std::string& format) {
    count = std::clamp(count, 0, kMaxAutomaticTicks);
    const double step = (high - low) / (count + 1);
    labels.Flush();
    values.Flush();
    AddTick(labels, values, low, FormatNumber(low, format));
    double value = low;
    for (std::int32_t i = 1; i <= count; ++i) {
        value += step;
        AddTick(labels, values, value, FormatNumber(value, format));
    }
    AddTick(labels, values, high, FormatNumber(high, format));
}

bool PlotFrame::FindFrameText(const IntPoint& point, int& kind, std::uint32_t& index) const {
    for (int k = 0; k < kTextKinds; ++k) {
        const MVector<FrameTextRect>& rects = hits_[k];
        for (std::uint32_t i = 0; i < rects.GetCount(); ++i) {
            const FrameTextRect& r = rects[rects.GetLowerBound() + i];
            // In 64 bits: a text far off the device may lie near the ends
            // of the 32-bit range.
            const std::int64_t right = std::int64_t{r.left} + r.width;
            const std::int64_t bottom = std::int64_t{r.top} + r.height;
            if (r.left < point.x && point.x < right && r.top < point.y && point.y < bottom) {
                kind = k;
                index = i;
                return true;
            }
        }
    }
    return false;
}
