#include "scale/MapScale.h"
#include "core/LException.h"
#include "scale/ScaleLimits.h"
#include "scale/ScaleManipulatorAdv.h"
#include "scale/ScaleTestSupport.h"
#include "support/ScriptedPrompt.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <random>

namespace {

using Doubles = std::vector<double>;

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::bit_cast<double>(0x7FF4000000000000ull); // not the missing marker

// The classification as plainly as it can be written: walk the boundaries
// in stored order while the value is greater, so that a value on a boundary
// belongs to the level below it.
std::uint16_t ReferenceLevel(const Doubles& bounds, double value) {
    if (DMAT::IsMissingValue(value)) {
        return static_cast<std::uint16_t>(bounds.size() + 1);
    }
    std::size_t level = 0;
    while (level < bounds.size() && value > bounds[level]) {
        ++level;
    }
    return static_cast<std::uint16_t>(level);
}

TEST(ClassifyLevels, AgreesWithTheLinearSearchOnAwkwardScalesAndValues) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> uniform(-100, 100);
    std::vector<Doubles> scales = {
        {},          {0},       {5, 5, 5},    {-kInf, 0, kInf}, {1, 2, 2, 2, 3},
        {-0.0, 0.0}, {3, 2, 1}, {1, kNaN, 3}, {kNaN},           {1, 2, 3, 2, 5}};
    for (std::size_t size : {2u, 7u, 16u, 17u, 255u, 256u, 1000u}) {
        Doubles bounds(size);
        std::generate(bounds.begin(), bounds.end(), [&] { return std::round(uniform(random)); });
        std::sort(bounds.begin(), bounds.end());
        scales.push_back(bounds);
    }
    for (const Doubles& bounds : scales) {
        // NaNs that are not missing (quiet, signalling, negative), both missing
        // forms, every boundary and its neighbours, a part-block at the end.
        Doubles values = {0.0, -0.0, kInf, -kInf, kNaN, DMAT::MarkAsMissing(42.0)};
        for (std::uint64_t bits :
             {0x7FF0000000000001ull, 0xFFF4000000000001ull, 0xFFF8000000000000ull}) {
            values.push_back(std::bit_cast<double>(bits));
        }
        for (double b : bounds) {
            values.insert(values.end(), {b, std::nextafter(b, kInf), std::nextafter(b, -kInf)});
        }
        while (values.size() < 3001) {
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

// Cells are classified in blocks of 16 and then one by one: a value on a
// boundary belongs to the level below it wherever it stands, in a block or
// in the cells after the last whole block.
TEST(ClassifyLevels, AValueOnABoundaryBelongsBelowItInEveryPart) {
    for (const Doubles& bounds : {Doubles{10}, Doubles{10, 20, 30}, Doubles{1, 2, 3, 4, 5, 6, 7}}) {
        for (std::uint32_t cells = 1; cells <= 40; ++cells) {
            DMAT data(cells, 1);
            for (std::uint32_t k = 0; k < cells; ++k) {
                data.Data()[k] = bounds[k % bounds.size()];
            }
            WMAT levels;
            ClassifyLevels(data, Column(bounds), levels);
            for (std::uint32_t k = 0; k < cells; ++k) {
                ASSERT_EQ(levels.Data()[k], k % bounds.size())
                    << "cell " << k << " of " << cells << ", " << bounds.size() << " boundaries";
            }
        }
    }
}

TEST(ClassifyLevels, RefusesScalesWhoseLevelsDoNotFitSixteenBits) {
    // Level L + 1 must fit in 16 bits: a longer scale is refused, levels untouched.
    DMAT data = Column({1.0, 70000.0, 0.0}), scale;
    data.SetMissing(2, 0);
    MakeLinearScale(scale, 0, 1, kMaxScaleBoundaries);
    WMAT levels;
    ClassifyLevels(data, scale, levels);
    EXPECT_EQ(Text(levels), "1 65534 65535");
    MakeLinearScale(scale, 0, 1, kMaxScaleBoundaries + 1);
    EXPECT_THROW(ClassifyLevels(data, scale, levels), LException);
    ClassifyLevels(DMAT(), Column({1}), levels); // no data: the levels stay too
    EXPECT_EQ(Text(levels), "1 65534 65535");
}

TEST(SmartScale, TakesEvenlySpacedPositionsOfTheSortedData) {
    ScriptedPrompt prompt;
    DMAT scale = Column({9, 10});
    EXPECT_FALSE(SmartScale(Column({DMAT::MissingValue()}), scale, prompt));
    EXPECT_FALSE(SmartScale(DMAT(), scale, prompt));
    EXPECT_EQ(Text(scale), "9 10");
    scale = Column(Doubles(5, 0.0)); // more levels than values: every boundary the smallest
    ASSERT_TRUE(SmartScale(Column({3, 1, 2}), scale, prompt));
    EXPECT_EQ(Text(scale), "1 1 1 1 1");

    // Against a full sort, with ties, infinities and NaNs (which sort last).
    std::mt19937 random(7);
    const double pool[] = {kInf, -kInf, DMAT::MissingValue(), kNaN, 0, 1, 1, 2, 3, 5, 8};
    for (int trial = 0; trial < 40; ++trial) {
        DMAT sample(1 + random() % 60, 1 + random() % 7);
        const std::size_t cells = sample.GetRows() * sample.GetColumns();
        std::generate_n(sample.Data(), cells, [&] { return pool[random() % std::size(pool)]; });
        Doubles present;
        std::copy_if(sample.Data(), sample.Data() + cells, std::back_inserter(present),
                     [](double v) { return !DMAT::IsMissingValue(v); });
        const auto count = static_cast<std::uint32_t>(random() % 15);
        DMAT sorted = Column(present), expected = Column(Doubles(count, 0.0));
        sorted.Sort();
        for (std::uint32_t i = 0; i < count && !present.empty(); ++i) {
            expected.Data()[i] = sorted.Data()[(i + 1) * (present.size() / (count + 1))];
        }
        scale = Column(Doubles(count, 0.0));
        EXPECT_EQ(SmartScale(sample, scale, prompt), !present.empty());
        EXPECT_EQ(Text(scale), Text(expected)) << "trial " << trial;
        EXPECT_TRUE(std::none_of(scale.Data(), scale.Data() + count, DMAT::IsMissingValue));
    }
    EXPECT_EQ(prompt.Count(), 0u);
}

TEST(ScaleSequences, AccumulateStepByStep) {
    DMAT scale;
    MakeLinearScale(scale, 0, 0.1, 11); // ten additions of 0.1 fall short of 1
    EXPECT_EQ(scale.Get(10, 0), 0.9999999999999999);
    MakeLinearScale(scale, 1, 1, 0);
    EXPECT_EQ(BoundaryCount(scale), 0u);
}

TEST(FitLevelColors, RepeatsTheOldLevelColoursAndEndsWithTheMissingColour) {
    LRGBColorVect colours = Colours({1, 2, 3, 0xF}), empty, missingOnly = Colours({0xF});
    FitLevelColors(colours, 4, 0xE);
    EXPECT_EQ(Hex(colours), "1 2 3 1 2 E");
    FitLevelColors(colours, 1, 0xF);
    EXPECT_EQ(Hex(colours), "1 2 F");
    // Nothing to repeat (an empty table, or the missing colour alone): white.
    FitLevelColors(empty, 1, 0xF);
    FitLevelColors(missingOnly, 1, 0xF);
    EXPECT_EQ(Hex(empty), "FFFFFF FFFFFF F");
    EXPECT_EQ(Hex(missingOnly), "FFFFFF FFFFFF F");
}

// Splits or deletes level k of a scale whose colour table is A, B, ... F,
// checks that the answer tells whether the scale changed, and gives the
// boundaries and colours after it ("0 5 10 | A 0 B C F").
std::string Edit(bool split, std::uint32_t k, const Doubles& bounds) {
    ScriptedPrompt prompt;
    DMAT scale = Column(bounds);
    std::vector<LRGBColor> table = {0xA, 0xB, 0xC, 0xD};
    table.resize(bounds.size() + 1);
    table.push_back(0xF);
    LRGBColorVect colours = Colours(table);
    ScaleManipulator editor(scale, colours, prompt);
    const bool changed = split ? editor.SplitLevel(k) : editor.DeleteLevel(k);
    EXPECT_EQ(changed, BoundaryCount(scale) != bounds.size());
    EXPECT_EQ(prompt.Count(), 0u);
    return Text(scale) + " | " + Hex(colours);
}

TEST(ScaleManipulator, SplitAndDeleteAtEveryPositionKeepColoursInStep) {
    // A new level is black (0): the lower part of a split level, or the new top.
    EXPECT_EQ(Edit(true, 0, {0, 10, 20}), "-10 0 10 20 | 0 A B C D F");
    EXPECT_EQ(Edit(true, 1, {0, 10, 20}), "0 5 10 20 | A 0 B C D F");
    EXPECT_EQ(Edit(true, 3, {0, 10, 20}), "0 10 20 30 | A B C D 0 F");
    EXPECT_EQ(Edit(true, 99, {0, 10, 20}), "0 10 20 30 | A B C D 0 F");
    EXPECT_EQ(Edit(true, 0, {5}), "4 5 | 0 A B F");
    EXPECT_EQ(Edit(true, 1, {5}), "5 6 | A B 0 F");
    EXPECT_EQ(Edit(true, 0, {}), " | A F"); // nothing to split
    EXPECT_EQ(Edit(false, 0, {0, 10, 20}), "10 20 | B C D F");
    EXPECT_EQ(Edit(false, 1, {0, 10, 20}), "0 20 | A C D F");
    EXPECT_EQ(Edit(false, 3, {0, 10, 20}), "0 10 | A B C F");
    EXPECT_EQ(Edit(false, 99, {0, 10, 20}), "0 10 | A B C F");
    EXPECT_EQ(Edit(false, 0, {5}), "5 | A B F"); // the last boundary stays
    EXPECT_EQ(Edit(false, 1, {5}), "5 | A B F");

    // SplitLevelAt cuts exactly at the value, also at both ends.
    ScriptedPrompt prompt;
    DMAT scale = Column({0, 10, 20});
    LRGBColorVect colours = Colours({0xA, 0xB, 0xC, 0xD, 0xF});
    ScaleManipulator editor(scale, colours, prompt);
    EXPECT_TRUE(editor.SplitLevelAt(1, 7) && editor.SplitLevelAt(0, -3) &&
                editor.SplitLevelAt(5, 25));
    EXPECT_EQ(Text(scale) + " | " + Hex(colours), "-3 0 7 10 20 25 | 0 A 0 B C D 0 F");
}

TEST(ScaleManipulator, RefusesToGrowPastTheLimitOrWithColoursOutOfStep) {
    ScriptedPrompt prompt;
    DMAT full;
    MakeLinearScale(full, 0, 1, kMaxScaleBoundaries);
    LRGBColorVect colours;
    FitLevelColors(colours, kMaxScaleBoundaries, 0xF);
    EXPECT_FALSE(ScaleManipulator(full, colours, prompt).SplitLevel(3));
    EXPECT_FALSE(ScaleManipulator(full, colours, prompt).SplitLevelAt(3, 2.5));
    EXPECT_EQ(BoundaryCount(full), kMaxScaleBoundaries);
    EXPECT_EQ(colours.GetCount(), kMaxScaleBoundaries + 2);
    ASSERT_EQ(prompt.Count(), 2u);
    EXPECT_EQ(prompt.Last().text, "Number of scale levels cannot exceed65534");
    ScaleManipulator(full, colours, prompt).DeleteLevel(0); // which makes room again
    EXPECT_TRUE(ScaleManipulator(full, colours, prompt).SplitLevel(0));

    DMAT scale = Column({0, 10, 20});
    LRGBColorVect shortTable = Colours({0xA, 0xB, 0xF});
    EXPECT_THROW(ScaleManipulator(scale, shortTable, prompt).SplitLevel(3), LException);
    EXPECT_THROW(ScaleManipulator(scale, shortTable, prompt).DeleteLevel(3), LException);
    EXPECT_EQ(Text(scale) + " | " + Hex(shortTable), "0 10 20 | A B F");
}

TEST(ScaleManipulatorAdv, KeepsTheLegendFlagsAlignedWithTheBoundaries) {
    ScriptedPrompt prompt;
    DMAT scale = Column({0, 10, 20});
    LRGBColorVect colours = Colours({0xA, 0xB, 0xC, 0xD, 0xF});
    LevelFlags flags = Colours({1, 2, 4});
    ScaleManipulatorAdv editor(scale, colours, flags, prompt);
    EXPECT_TRUE(editor.SplitLevel(1));
    EXPECT_EQ(Hex(flags), "1 0 2 4");
    EXPECT_TRUE(editor.SplitLevel(4) && editor.SplitLevelAt(0, -5)); // the top level: appended
    EXPECT_EQ(Hex(flags), "0 1 0 2 4 0");
    EXPECT_TRUE(editor.DeleteLevel(3) && editor.DeleteLevel(99)); // the top level: the last goes
    EXPECT_EQ(Text(scale) + " | " + Hex(flags), "-5 0 5 20 | 0 1 0 4");
    flags.RemoveAt(0); // flags already out of step are left for the legend to reset
    EXPECT_TRUE(editor.SplitLevel(0) && editor.DeleteLevel(0));
    EXPECT_EQ(Hex(flags), "1 0 4");
}

} // namespace
