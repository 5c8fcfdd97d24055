#include "frame/FrameRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

std::vector<double> Values(const MList<double>& list) {
    std::vector<double> values;
    list.ForEach([&](const double& value) { values.push_back(value); });
    return values;
}

std::vector<std::string> Labels(const MList<WText>& list) {
    std::vector<std::string> labels;
    list.ForEach([&](const WText& label) { labels.push_back(label.text); });
    return labels;
}

PlotFrame FrameOver(double x1, double x2, double y1, double y2) {
    PlotFrame frame;
    frame.x1 = x1;
    frame.x2 = x2;
    frame.y1 = y1;
    frame.y2 = y2;
    return frame;
}

TEST(FrameRules, AxisGivesTheSettingsOfTheAxisAsked) {
    PlotFrame frame = FrameOver(1, 2, 3, 4);
    frame.Axis(PlotFrame::YAxis).gridLineWidth = 7;
    frame.Axis(PlotFrame::XAxis).format = "F3";
    EXPECT_EQ(frame.yGridLineWidth, 7);
    EXPECT_EQ(frame.xFormat, "F3");
    const PlotFrame& constant = frame;
    EXPECT_EQ(constant.Axis(PlotFrame::YAxis).low, 3);
    EXPECT_EQ(constant.Axis(PlotFrame::XAxis).high, 2);
    EXPECT_EQ(&constant.Axis(PlotFrame::YAxis).label, &frame.yLabel);
}

TEST(FrameRules, RangesRunUpwardsAndRectanglesHaveArea) {
    EXPECT_EQ(CheckRanges(0, 1, 0, 1), RangeProblem::None);
    EXPECT_EQ(CheckRanges(1, 1, 0, 1), RangeProblem::XNotRising);
    EXPECT_EQ(CheckRanges(0, 1, 2, 1), RangeProblem::YNotRising);
    EXPECT_EQ(CheckRanges(std::nan(""), 1, 0, 1), RangeProblem::XNotRising);
    EXPECT_EQ(CheckSize(1, 1), SizeProblem::None);
    EXPECT_EQ(CheckSize(0, 1), SizeProblem::WidthNotPositive);
    EXPECT_EQ(CheckSize(0, 0), SizeProblem::WidthNotPositive);
    EXPECT_EQ(CheckSize(5, -1), SizeProblem::HeightNotPositive);
}

TEST(FrameRules, AutomaticTickRequestsAreRefusedAtTheirLimits) {
    using Kind = AutoTicksRequest::Kind;
    const PlotFrame frame = FrameOver(0, 10, 0, 1);
    const auto check = [&](AutoTicksRequest request) {
        return CheckAutoTicks(frame, PlotFrame::XAxis, request);
    };
    EXPECT_EQ(check({Kind::Integer, 1, {}, {}, "F0"}), AutoTicksProblem::None);
    EXPECT_EQ(check({Kind::Integer, 0, {}, {}, "F0"}), AutoTicksProblem::EndingOnBelowOne);
    EXPECT_EQ(check({Kind::Integer, {}, {}, {}, "F0"}), AutoTicksProblem::EndingOnBelowOne);
    EXPECT_EQ(check({Kind::Numeric, {}, 0, {}, "F0"}), AutoTicksProblem::None);
    EXPECT_EQ(check({Kind::Numeric, {}, -1, {}, "F0"}), AutoTicksProblem::CountNegative);
    EXPECT_EQ(check({Kind::Numeric, {}, PlotFrame::kMaxAutomaticTicks, {}, "F0"}),
              AutoTicksProblem::None);
    EXPECT_EQ(check({Kind::Numeric, {}, PlotFrame::kMaxAutomaticTicks + 1, {}, "F0"}),
              AutoTicksProblem::TooMany);
    // Steps count over the axis's own range: 10 / 0.01 = 1000 steps fit,
    // a step a little shorter makes more.
    EXPECT_EQ(check({Kind::Step, {}, {}, 0.01, "F0"}), AutoTicksProblem::None);
    EXPECT_EQ(check({Kind::Step, {}, {}, 0.0099, "F0"}), AutoTicksProblem::TooMany);
    EXPECT_EQ(CheckAutoTicks(frame, PlotFrame::YAxis, {Kind::Step, {}, {}, 0.0099, "F0"}),
              AutoTicksProblem::None);
    EXPECT_EQ(check({Kind::Step, {}, {}, {}, "F0"}), AutoTicksProblem::StepNotNumber);
    // A step of 0 or less is no problem: it changes no tick.
    EXPECT_EQ(check({Kind::Step, {}, {}, 0.0, "F0"}), AutoTicksProblem::None);
}

TEST(FrameRules, StepTicksRunFromTheLowEndAndCloseOnTheHighEnd) {
    PlotFrame frame = FrameOver(0, 1, -2, 2);
    MakeStepTicks(frame, PlotFrame::XAxis, 0.25, "F2");
    EXPECT_EQ(Values(frame.xTickValues), (std::vector<double>{0, 0.25, 0.5, 0.75, 1}));
    EXPECT_EQ(Labels(frame.xTickLabels),
              (std::vector<std::string>{"0.00", "0.25", "0.50", "0.75", "1.00"}));
    // 0.9 lies less than a step below 1: the high end takes its place.
    MakeStepTicks(frame, PlotFrame::XAxis, 0.3, "F1");
    const std::vector<double> ticks = Values(frame.xTickValues);
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_DOUBLE_EQ(ticks[1], 0.3);
    EXPECT_DOUBLE_EQ(ticks[2], 0.6);
    EXPECT_EQ(ticks[3], 1);
    // A step longer than the axis leaves no room below the high end: that
    // end alone is a tick. The y axis is its own.
    MakeStepTicks(frame, PlotFrame::YAxis, 10, "F0");
    EXPECT_EQ(Values(frame.yTickValues), (std::vector<double>{2}));
    MakeStepTicks(frame, PlotFrame::YAxis, 4, "F0");
    EXPECT_EQ(Values(frame.yTickValues), (std::vector<double>{-2, 2}));
    MakeStepTicks(frame, PlotFrame::YAxis, 0, "F0");
    EXPECT_EQ(Values(frame.yTickValues), (std::vector<double>{-2, 2}));
}

TEST(FrameRules, AutomaticTicksTakeTheFormatAndCountOfTheirKind) {
    using Kind = AutoTicksRequest::Kind;
    PlotFrame frame = FrameOver(0, 10, 0, 6);
    MakeAutoTicks(frame, PlotFrame::YAxis, {Kind::Numeric, {}, 2, {}, "F1"});
    EXPECT_EQ(frame.yFormat, "F1");
    EXPECT_EQ(frame.yTickCount, 2);
    // Two inner ticks split 0..6 in three.
    EXPECT_EQ(Values(frame.yTickValues), (std::vector<double>{0, 2, 4, 6}));
    MakeAutoTicks(frame, PlotFrame::XAxis, {Kind::Integer, 4, {}, {}, "F0"});
    EXPECT_EQ(frame.xFormat, "F0");
    EXPECT_EQ(Values(frame.xTickValues), (std::vector<double>{0, 4, 8, 10}));
    MakeAutoTicks(frame, PlotFrame::XAxis, {Kind::Step, {}, {}, 5.0, "F2"});
    EXPECT_EQ(Labels(frame.xTickLabels), (std::vector<std::string>{"0.00", "5.00", "10.00"}));
    EXPECT_EQ(frame.yTickCount, 2);
}

} // namespace
