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

// An additive sequence needs a positive increment and a number of any sign
// to start from; a multiplicative one a multiplier above one (told first, as
// the sheet always did) and a positive start; both at least one whole level
// and at most what the map tells apart.
TEST(CheckSequence, EachProblemAtItsBoundary) {
    using P = SequenceProblem;
    const std::optional<double> none;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<SequenceRequest, SequenceProblem> cases[] = {
        {{false, 0.0, 1.0, 5.0}, P::None},
        {{false, -3.0, 0.5, 5.0}, P::None},
        {{false, 0.0, 0.0, 5.0}, P::IncrementNotPositive},
        {{false, 0.0, none, 5.0}, P::IncrementNotPositive},
        {{false, none, 1.0, 5.0}, P::StartNotNumber},
        {{true, 1.0, 2.0, 5.0}, P::None},
        {{true, 1.0, 1.0, 5.0}, P::MultiplierNotAboveOne},
        {{true, 1.0, std::nextafter(1.0, 2.0), 5.0}, P::None},
        {{true, 0.0, 2.0, 5.0}, P::StartNotPositive},
        {{true, 0.0, 0.5, 5.0}, P::MultiplierNotAboveOne},
        {{true, none, 2.0, 5.0}, P::StartNotPositive},
        {{false, 0.0, 1.0, 1.0}, P::None},
        {{false, 0.0, 1.0, 0.99}, P::LevelsOutOfRange},
        {{false, 0.0, 1.0, 0.0}, P::LevelsOutOfRange},
        {{false, 0.0, 1.0, -2.0}, P::LevelsOutOfRange},
        {{false, 0.0, 1.0, kMaxScaleBoundaries}, P::None},
        {{false, 0.0, 1.0, kMaxScaleBoundaries + 1.0}, P::LevelsOutOfRange},
        {{false, 0.0, 1.0, none}, P::LevelsOutOfRange},
        {{false, 0.0, 1.0, nan}, P::LevelsOutOfRange},
    };
    for (const auto& [request, problem] : cases) {
        EXPECT_EQ(CheckSequence(request), problem)
            << request.multiplicative << " " << request.start.value_or(-999) << " "
            << request.step.value_or(-999) << " " << request.levels.value_or(-999);
    }
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
