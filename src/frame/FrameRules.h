#pragma once

#include "frame/PlotFrame.h"

#include <cstdint>
#include <optional>
#include <string>

// The rules of the plot frame's settings, for the sheets that edit them.

// The data ranges of both axes: each must run upwards.
enum class RangeProblem { None, XNotRising, YNotRising };
RangeProblem CheckRanges(double x1, double x2, double y1, double y2);

// A rectangle on the page (the plot's, the legend's): without area it could
// not be drawn at all.
enum class SizeProblem { None, WidthNotPositive, HeightNotPositive };
SizeProblem CheckSize(std::int32_t width, std::int32_t height);

// A request for automatic ticks on one axis.
struct AutoTicksRequest {
    enum class Kind { Integer, Numeric, Step };
    Kind kind = Kind::Integer;
    // What the chosen kind's field holds; none when it is not a number.
    std::optional<std::int32_t> endingOn; // Integer: the step of the integer ticks
    std::optional<std::int32_t> count;    // Numeric: the inner ticks
    std::optional<double> step;           // Step: the distance of the ticks
    std::string format;                   // the number format of the labels
};

enum class AutoTicksProblem {
    None,
    EndingOnBelowOne,
    CountNegative,
    TooMany, // more than PlotFrame::kMaxAutomaticTicks
    StepNotNumber,
};

// The first problem of the request on the axis of frame.
AutoTicksProblem CheckAutoTicks(const PlotFrame& frame, int axis, const AutoTicksRequest& request);

// Makes the ticks of a request that passed CheckAutoTicks, and gives the
// axis the request's number format.
void MakeAutoTicks(PlotFrame& frame, int axis, const AutoTicksRequest& request);

// Replaces the axis's ticks by one at every step from the low end that
// lies at least a step below the high end, then one at the high end (alone,
// when the step is longer than the axis); labelled with the number format.
// A step of 0 or less leaves the ticks as they are.
void MakeStepTicks(PlotFrame& frame, int axis, double step, const std::string& format);
