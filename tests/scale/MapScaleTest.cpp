#include "scale/MapScale.h"
#include "core/LException.h"
#include "core/WMAT.h"
#include "scale/ScaleLimits.h"
#include "scale/ScaleTestSupport.h"
#include "support/ScriptedPrompt.h"

#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// NaNs that are not the missing marker, and the negative default NaN that is.
const double kNaN = std::bit_cast<double>(0x7FF4000000000000ull);
const double kSignalling = std::bit_cast<double>(0x7FF0000000000001ull);
const double kNegativeNaN = std::bit_cast<double>(0xFFF4000000000001ull);
const double kMissingNaN = std::bit_cast<double>(0xFFF8000000000000ull);

// The classification as plainly as it can be written: walk the boundaries
// in stored order while the value is greater.
std::uint16_t ReferenceLevel(const std::vector<double>& bounds, double value) {
    if (DMAT::IsMissingValue(value)) {
        return static_cast<std::uint16_t>(bounds.size() + 1);
    }
    std::size_t level = 0;
    while (level < bounds.size() && value > bounds[level]) {
        ++level;
    }
    return static_cast<std::uint16_t>(level);
}

TEST(ClassifyLevels, ValuesOnBoundariesBelongToTheLowerLevel) {
    DMAT data = Column({1, 1.5, 3, 3.0001, 0, -kInf, kInf, 2});
    data.SetMissing(7, 0);
    WMAT levels;
    ClassifyLevels(data, Column({1, 2, 3}), levels);
    ASSERT_EQ(levels.GetRows(), 8u);
    EXPECT_EQ(std::vector<std::uint16_t>(levels.Data(), levels.Data() + 8),
              (std::vector<std::uint16_t>{0, 1, 2, 3, 0, 0, 3, 4}));

    // Without boundaries there is one level and the missing class.
    ClassifyLevels(data, DMAT(), levels);
    EXPECT_EQ(std::vector<std::uint16_t>(levels.Data(), levels.Data() + 8),
              (std::vector<std::uint16_t>{0, 0, 0, 0, 0, 0, 0, 1}));

    // An empty data matrix leaves the level matrix as it was.
    ClassifyLevels(DMAT(), Column({1}), levels);
    EXPECT_EQ(levels.GetRows(), 8u);
}

TEST(ClassifyLevels, AgreesWithTheLinearSearchOnAwkwardScalesAndValues) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> uniform(-100, 100);
    std::vector<std::vector<double>> scales = {
        {0},       {5, 5, 5},    {-kInf, 0, kInf}, {1, 2, 2, 2, 3}, {-0.0, 0.0},
        {3, 2, 1}, {1, kNaN, 3}, {kNaN},           {1, 2, 3, 2, 5},
    };
    for (std::size_t size : {2u, 7u, 16u, 17u, 255u, 256u, 1000u}) {
        std::vector<double> bounds(size);
        for (double& b : bounds) {
            b = std::round(uniform(random));
        }
        std::sort(bounds.begin(), bounds.end());
        scales.push_back(bounds);
    }
    for (const std::vector<double>& bounds : scales) {
        // Infinities, NaNs that are not missing (quiet, signalling,
        // negative), both missing forms, every boundary and its neighbours.
        std::vector<double> values = {0.0,          -0.0,        kInf,
                                      -kInf,        kNaN,        kSignalling,
                                      kNegativeNaN, kMissingNaN, DMAT::MarkAsMissing(42.0)};
        for (double b : bounds) {
            values.insert(values.end(), {b, std::nextafter(b, kInf), std::nextafter(b, -kInf)});
        }
        while (values.size() < 3001) { // leaves a part-block at the end
            values.push_back(random() % 4 == 0 ? std::round(uniform(random)) : uniform(random));
        }
        std::shuffle(values.begin(), values.end(), random);
        DMAT data(1000, 3);
        std::copy(values.begin(), values.begin() + 3000, data.Data());
        WMAT levels(2, 2); // the wrong shape, to be replaced
        ClassifyLevels(data, Column(bounds), levels);
        ASSERT_EQ(levels.GetColumns(), 3u);
        for (std::size_t k = 0; k < 3000; ++k) {
            ASSERT_EQ(levels.Data()[k], ReferenceLevel(bounds, data.Data()[k]))
                << "value " << data.Data()[k] << " with " << bounds.size() << " boundaries";
        }
    }
}

TEST(ClassifyLevels, RefusesScalesWhoseLevelsDoNotFitSixteenBits) {
    DMAT data = Column({1.0, 70000.0, 0.0});
    data.SetMissing(2, 0);
    DMAT scale;
    MakeLinearScale(scale, 0, 1, kMaxScaleBoundaries);
    WMAT levels;
    ClassifyLevels(data, scale, levels);
    EXPECT_EQ(std::vector<std::uint16_t>(levels.Data(), levels.Data() + 3),
              (std::vector<std::uint16_t>{1, 65534, 65535}));
    MakeLinearScale(scale, 0, 1, kMaxScaleBoundaries + 1);
    EXPECT_THROW(ClassifyLevels(data, scale, levels), LException);
    EXPECT_EQ(levels.Get(2, 0), 65535);
}

TEST(SmartScale, TakesEvenlySpacedPositionsOfTheSortedData) {
    ScriptedPrompt prompt;
    DMAT data(2, 5); // 1 .. 8 shuffled, with two missing cells
    const double cells[] = {8, 3, 1, 7, 0, 5, 2, 6, 4, 0};
    std::copy(std::begin(cells), std::end(cells), data.Data());
    data.SetMissing(0, 2);
    data.SetMissing(1, 4);
    DMAT scale = Column({0, 0, 0});
    ASSERT_TRUE(SmartScale(data, scale, prompt));
    EXPECT_EQ(Values(scale), (std::vector<double>{3, 5, 7}));
    // More levels than values: every boundary is the smallest value.
    scale = Column(std::vector<double>(10, 0.0));
    ASSERT_TRUE(SmartScale(data, scale, prompt));
    EXPECT_EQ(Values(scale), std::vector<double>(10, 1.0));

    DMAT allMissing = Column({DMAT::MissingValue(), DMAT::MissingValue()});
    scale = Column({9, 10});
    EXPECT_FALSE(SmartScale(allMissing, scale, prompt));
    EXPECT_FALSE(SmartScale(DMAT(), scale, prompt));
    EXPECT_EQ(Values(scale), (std::vector<double>{9, 10}));

    // Against a full sort, with ties, infinities and NaNs (which sort last).
    std::mt19937 random(7);
    const double pool[] = {kInf, -kInf, DMAT::MissingValue(), kNaN, 0, 1, 1, 2, 3, 5, 8};
    for (int trial = 0; trial < 40; ++trial) {
        DMAT sample(1 + random() % 60, 1 + random() % 7);
        std::vector<double> present;
        for (std::size_t k = 0; k < sample.GetRows() * sample.GetColumns(); ++k) {
            sample.Data()[k] = pool[random() % std::size(pool)];
            if (!DMAT::IsMissingValue(sample.Data()[k])) {
                present.push_back(sample.Data()[k]);
            }
        }
        const auto count = static_cast<std::uint32_t>(random() % 15);
        scale = Column(std::vector<double>(count, 0.0));
        if (present.empty()) {
            continue;
        }
        DMAT sorted = Column(present);
        sorted.Sort();
        ASSERT_TRUE(SmartScale(sample, scale, prompt));
        const std::size_t step = present.size() / (count + 1);
        for (std::uint32_t i = 0; i < count; ++i) {
            const double expected = sorted.Data()[(i + 1) * step];
            const double got = scale.Get(i, 0);
            EXPECT_TRUE(got == expected ||
                        (std::isnan(expected) && std::isnan(got) && !DMAT::IsMissingValue(got)))
                << "trial " << trial << " boundary " << i;
        }
    }
    EXPECT_EQ(prompt.Count(), 0u);
}

TEST(ScaleSequences, AccumulateStepByStep) {
    DMAT scale;
    MakeLinearScale(scale, 0, 0.5, 4);
    EXPECT_EQ(Values(scale), (std::vector<double>{0, 0.5, 1, 1.5}));
    MakeMultiplicativeScale(scale, 1, 2, 3);
    EXPECT_EQ(Values(scale), (std::vector<double>{1, 2, 4}));
    // Ten additions of 0.1 fall just short of 1, unlike 10 * 0.1.
    MakeLinearScale(scale, 0, 0.1, 11);
    EXPECT_EQ(scale.Get(10, 0), 0.9999999999999999);
    MakeDefaultScale(scale);
    std::vector<double> ninths = {0};
    while (ninths.size() < 8) {
        ninths.push_back(ninths.back() + 1.0 / 9);
    }
    EXPECT_EQ(Values(scale), ninths);
    MakeLinearScale(scale, 1, 1, 0);
    EXPECT_EQ(BoundaryCount(scale), 0u);
}

TEST(FitLevelColors, RepeatsTheOldLevelColoursAndEndsWithTheMissingColour) {
    const LRGBColor red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000, grey = 0x808080;
    LRGBColorVect colours = Colours({red, green, blue, grey});
    FitLevelColors(colours, 4, 0x123456);
    EXPECT_EQ(List(colours), (std::vector<LRGBColor>{red, green, blue, red, green, 0x123456}));
    FitLevelColors(colours, 1, grey);
    EXPECT_EQ(List(colours), (std::vector<LRGBColor>{red, green, grey}));
    // Nothing to repeat (an empty table, or the missing colour alone): white.
    LRGBColorVect empty, missingOnly = Colours({grey});
    FitLevelColors(empty, 2, 0xFFFFFF);
    EXPECT_EQ(List(empty), std::vector<LRGBColor>(4, 0xFFFFFF));
    FitLevelColors(missingOnly, 1, grey);
    EXPECT_EQ(List(missingOnly), (std::vector<LRGBColor>{0xFFFFFF, 0xFFFFFF, grey}));
}

} // namespace
