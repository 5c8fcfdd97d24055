#include "scale/ScaleRules.h"
#include "scale/MapScale.h"
#include "scale/ScaleLimits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

DMAT Column(const std::vector<double>& values) {
    DMAT m(static_cast<std::uint32_t>(values.size()), 1);
    for (std::uint32_t i = 0; i < values.size(); ++i) {
        m.Set(i, 0, values[i]);
    }
    return m;
}

TEST(BoundariesRise, BothNeighboursBoundTheValueExclusively) {
    const DMAT scale = Column({10, 20, 30});
    // The middle boundary lies strictly between 10 and 30.
    EXPECT_FALSE(BoundariesRise(scale, 1, 10));
    EXPECT_TRUE(BoundariesRise(scale, 1, std::nextafter(10.0, 11.0)));
    EXPECT_TRUE(BoundariesRise(scale, 1, std::nextafter(30.0, 29.0)));
    EXPECT_FALSE(BoundariesRise(scale, 1, 30));
    // The ends have one neighbour only.
    EXPECT_TRUE(BoundariesRise(scale, 0, -1e300));
    EXPECT_FALSE(BoundariesRise(scale, 0, 20));
    EXPECT_TRUE(BoundariesRise(scale, 2, 1e300));
    EXPECT_FALSE(BoundariesRise(scale, 2, 20));
    // A lone boundary may take any number, but never NaN.
    EXPECT_TRUE(BoundariesRise(Column({5}), 0, -7));
    EXPECT_FALSE(BoundariesRise(Column({5}), 0, std::nan("")));
    EXPECT_FALSE(BoundariesRise(scale, 1, std::nan("")));
}

TEST(CheckSequence, AdditiveNeedsAPositiveIncrementAndANumberToStartFrom) {
    EXPECT_EQ(CheckSequence({false, 0.0, 1.0, 5.0}), SequenceProblem::None);
    // A start of any sign adds up.
    EXPECT_EQ(CheckSequence({false, -3.0, 0.5, 5.0}), SequenceProblem::None);
    EXPECT_EQ(CheckSequence({false, 0.0, 0.0, 5.0}), SequenceProblem::IncrementNotPositive);
    EXPECT_EQ(CheckSequence({false, 0.0, std::nullopt, 5.0}),
              SequenceProblem::IncrementNotPositive);
    EXPECT_EQ(CheckSequence({false, std::nullopt, 1.0, 5.0}), SequenceProblem::StartNotNumber);
}

TEST(CheckSequence, MultiplicativeNeedsAMultiplierAboveOneAndAPositiveStart) {
    EXPECT_EQ(CheckSequence({true, 1.0, 2.0, 5.0}), SequenceProblem::None);
    EXPECT_EQ(CheckSequence({true, 1.0, 1.0, 5.0}), SequenceProblem::MultiplierNotAboveOne);
    EXPECT_EQ(CheckSequence({true, 1.0, std::nextafter(1.0, 2.0), 5.0}), SequenceProblem::None);
    EXPECT_EQ(CheckSequence({true, 0.0, 2.0, 5.0}), SequenceProblem::StartNotPositive);
    // The step is told first, as the sheet always did.
    EXPECT_EQ(CheckSequence({true, 0.0, 0.5, 5.0}), SequenceProblem::MultiplierNotAboveOne);
    EXPECT_EQ(CheckSequence({true, std::nullopt, 2.0, 5.0}), SequenceProblem::StartNotPositive);
}

TEST(CheckSequence, LevelsAreAtLeastOneWholeAndAtMostWhatTheMapTellsApart) {
    const auto levels = [](std::optional<double> count) {
        return CheckSequence({false, 0.0, 1.0, count});
    };
    EXPECT_EQ(levels(1), SequenceProblem::None);
    EXPECT_EQ(levels(0.99), SequenceProblem::LevelsOutOfRange);
    EXPECT_EQ(levels(0), SequenceProblem::LevelsOutOfRange);
    EXPECT_EQ(levels(-2), SequenceProblem::LevelsOutOfRange);
    EXPECT_EQ(levels(kMaxScaleBoundaries), SequenceProblem::None);
    EXPECT_EQ(levels(kMaxScaleBoundaries + 1.0), SequenceProblem::LevelsOutOfRange);
    EXPECT_EQ(levels(std::nullopt), SequenceProblem::LevelsOutOfRange);
    EXPECT_EQ(levels(std::numeric_limits<double>::quiet_NaN()), SequenceProblem::LevelsOutOfRange);
}

TEST(MakeSequenceScale, MakesTheWholeNumberOfBoundariesOfTheChosenKind) {
    DMAT scale = Column({9, 9, 9, 9, 9, 9});
    MakeSequenceScale(scale, {false, -1.0, 0.5, 3.7});
    ASSERT_EQ(BoundaryCount(scale), 3u);
    EXPECT_DOUBLE_EQ(scale.Get(0, 0), -1.0);
    EXPECT_DOUBLE_EQ(scale.Get(1, 0), -0.5);
    EXPECT_DOUBLE_EQ(scale.Get(2, 0), 0.0);
    MakeSequenceScale(scale, {true, 0.25, 4.0, 4.0});
    ASSERT_EQ(BoundaryCount(scale), 4u);
    EXPECT_DOUBLE_EQ(scale.Get(3, 0), 0.25 * 4 * 4 * 4);
}

} // namespace
