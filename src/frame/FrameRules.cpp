#include "frame/FrameRules.h"

#include "core/FormatNumber.h"

#include <cmath>

RangeProblem CheckRanges(double x1, double x2, double y1, double y2) {
    if (!(x1 < x2)) {
        return RangeProblem::XNotRising;
    }
    if (!(y1 < y2)) {
        return RangeProblem::YNotRising;
    }
    return RangeProblem::None;
}

SizeProblem CheckSize(std::int32_t width, std::int32_t height) {
    if (width <= 0) {
        return SizeProblem::WidthNotPositive;
    }
    if (height <= 0) {
        return SizeProblem::HeightNotPositive;
    }
    return SizeProblem::None;
}

AutoTicksProblem CheckAutoTicks(const PlotFrame& frame, int axis, const AutoTicksRequest& request) {
    using Kind = AutoTicksRequest::Kind;
    switch (request.kind) {
    case Kind::Integer:
        return request.endingOn && *request.endingOn >= 1 ? AutoTicksProblem::None
                                                          : AutoTicksProblem::EndingOnBelowOne;
    case Kind::Numeric:
        if (!request.count || *request.count < 0) {
            return AutoTicksProblem::CountNegative;
        }
        return *request.count > PlotFrame::kMaxAutomaticTicks ? AutoTicksProblem::TooMany
                                                              : AutoTicksProblem::None;
    case Kind::Step: {
        if (!request.step) {
            return AutoTicksProblem::StepNotNumber;
        }
        const ConstPlotAxis range = frame.Axis(axis);
        return *request.step > 0 &&
                       (range.high - range.low) / *request.step > PlotFrame::kMaxAutomaticTicks
                   ? AutoTicksProblem::TooMany
                   : AutoTicksProblem::None;
    }
    }
    return AutoTicksProblem::None;
}

void MakeAutoTicks(PlotFrame& frame, int axis, const AutoTicksRequest& request) {
    PlotAxis target = frame.Axis(axis);
    target.format = request.format;
    switch (request.kind) {
    case AutoTicksRequest::Kind::Integer:
        frame.MakeIntegerTicks(axis, *request.endingOn);
        break;
    case AutoTicksRequest::Kind::Numeric:
        PlotFrame::MakeNumericTicks(target.low, target.high, *request.count, target.tickLabels,
                                    target.tickValues, request.format);
        target.tickCount = *request.count;
        break;
    case AutoTicksRequest::Kind::Step:
        MakeStepTicks(frame, axis, *request.step, request.format);
        break;
    }
}

void MakeStepTicks(PlotFrame& frame, int axis, double step, const std::string& format) {
    if (!(step > 0)) {
        return;
    }
    PlotAxis target = frame.Axis(axis);
    const double low = target.low;
    const double high = target.high;
    target.tickLabels.Flush();
    target.tickValues.Flush();
    const auto add = [&](double value) {
        WText tick;
        tick.text = FormatNumber(value, format);
        target.tickLabels.addAtTail(tick);
        target.tickValues.addAtTail(value);
    };
    for (double tick = low; tick <= high - step && std::fabs(high - tick) > 1e-8; tick += step) {
        add(tick);
    }
    add(high);
}
