#include "core/LException.h"
#include "scale/LevelFlags.h"
#include "scale/MapScale.h"
#include "scale/ScaleLimits.h"
#include "scale/ScaleManipulatorAdv.h"
#include "scale/ScaleTestSupport.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace {

constexpr LRGBColor A = 0xA, B = 0xB, C = 0xC, D = 0xD, M = 0xFFFFFF, K = 0; // K: black

using Doubles = std::vector<double>;
using Colors = std::vector<LRGBColor>;

// A colour table A, B, ... for a scale of count boundaries, then M.
LRGBColorVect TableFor(std::size_t count) {
    const Colors letters = {A, B, C, D};
    Colors colours(letters.begin(), letters.begin() + static_cast<std::ptrdiff_t>(count) + 1);
    colours.push_back(M);
    return Colours(colours);
}

TEST(ScaleManipulator, SplitAndDeleteAtEveryPositionKeepColoursInStep) {
    struct Case {
        bool split;
        std::uint32_t k;
        Doubles before, after;
        Colors colours;
    };
    const Case cases[] = {
        {true, 0, {0, 10, 20}, {-10, 0, 10, 20}, {K, A, B, C, D, M}},
        {true, 1, {0, 10, 20}, {0, 5, 10, 20}, {A, K, B, C, D, M}},
        {true, 3, {0, 10, 20}, {0, 10, 20, 30}, {A, B, C, D, K, M}},
        {true, 99, {0, 10, 20}, {0, 10, 20, 30}, {A, B, C, D, K, M}},
        {true, 0, {5}, {4, 5}, {K, A, B, M}},
        {true, 1, {5}, {5, 6}, {A, B, K, M}},
        {true, 0, {}, {}, {A, M}}, // nothing to split
        {false, 0, {0, 10, 20}, {10, 20}, {B, C, D, M}},
        {false, 1, {0, 10, 20}, {0, 20}, {A, C, D, M}},
        {false, 3, {0, 10, 20}, {0, 10}, {A, B, C, M}},
        {false, 99, {0, 10, 20}, {0, 10}, {A, B, C, M}},
        {false, 0, {5}, {5}, {A, B, M}}, // the last boundary stays
        {false, 1, {5}, {5}, {A, B, M}},
    };
    ScriptedPrompt prompt;
    for (const Case& c : cases) {
        DMAT scale = Column(c.before);
        LRGBColorVect colours = TableFor(c.before.size());
        ScaleManipulator editor(scale, colours, prompt);
        const bool changed = c.split ? editor.SplitLevel(c.k) : editor.DeleteLevel(c.k);
        EXPECT_EQ(changed, c.after.size() != c.before.size());
        EXPECT_EQ(Values(scale), c.after) << (c.split ? "split " : "delete ") << c.k;
        EXPECT_EQ(List(colours), c.colours) << (c.split ? "split " : "delete ") << c.k;
    }

    // SplitLevelAt cuts exactly at the value, also at both ends.
    DMAT scale = Column({0, 10, 20});
    LRGBColorVect colours = TableFor(3);
    ScaleManipulator editor(scale, colours, prompt);
    EXPECT_TRUE(editor.SplitLevelAt(1, 7));
    EXPECT_TRUE(editor.SplitLevelAt(0, -3));
    EXPECT_TRUE(editor.SplitLevelAt(5, 25));
    EXPECT_EQ(Values(scale), (Doubles{-3, 0, 7, 10, 20, 25}));
    EXPECT_EQ(List(colours), (Colors{K, A, K, B, C, D, K, M}));
    EXPECT_EQ(prompt.Count(), 0u);
}

TEST(ScaleManipulator, RefusesToGrowPastTheLimitOrWithColoursOutOfStep) {
    ScriptedPrompt prompt;
    DMAT full;
    MakeLinearScale(full, 0, 1, kMaxScaleBoundaries);
    LRGBColorVect colours;
    FitLevelColors(colours, kMaxScaleBoundaries, M);
    EXPECT_FALSE(ScaleManipulator(full, colours, prompt).SplitLevel(3));
    EXPECT_FALSE(ScaleManipulator(full, colours, prompt).SplitLevelAt(3, 2.5));
    EXPECT_EQ(BoundaryCount(full), kMaxScaleBoundaries);
    EXPECT_EQ(colours.GetCount(), kMaxScaleBoundaries + 2);
    ASSERT_EQ(prompt.Count(), 2u);
    EXPECT_EQ(prompt.Last().text, "Number of scale levels cannot exceed65534");
    // Deleting one makes room again.
    ScaleManipulator(full, colours, prompt).DeleteLevel(0);
    EXPECT_TRUE(ScaleManipulator(full, colours, prompt).SplitLevel(0));

    DMAT scale = Column({0, 10, 20});
    LRGBColorVect shortTable = TableFor(1);
    EXPECT_THROW(ScaleManipulator(scale, shortTable, prompt).SplitLevel(3), LException);
    EXPECT_THROW(ScaleManipulator(scale, shortTable, prompt).DeleteLevel(3), LException);
    EXPECT_EQ(Values(scale), (Doubles{0, 10, 20}));
    EXPECT_EQ(List(shortTable), (Colors{A, B, M}));
}

TEST(ScaleManipulatorAdv, KeepsTheLegendFlagsAlignedWithTheBoundaries) {
    ScriptedPrompt prompt;
    DMAT scale = Column({0, 10, 20});
    LRGBColorVect colours = TableFor(3);
    LevelFlags flags = Colours({1, 2, 4});
    ScaleManipulatorAdv editor(scale, colours, flags, prompt);
    EXPECT_TRUE(editor.SplitLevel(1));
    EXPECT_EQ(List(flags), (Colors{1, 0, 2, 4}));
    EXPECT_TRUE(editor.SplitLevel(4)); // the top level: the flag is appended
    EXPECT_TRUE(editor.SplitLevelAt(0, -5));
    EXPECT_EQ(List(flags), (Colors{0, 1, 0, 2, 4, 0}));
    EXPECT_TRUE(editor.DeleteLevel(3));
    EXPECT_TRUE(editor.DeleteLevel(99)); // the top level: the last flag goes
    EXPECT_EQ(List(flags), (Colors{0, 1, 0, 4}));
    EXPECT_EQ(Values(scale), (Doubles{-5, 0, 5, 20}));

    // Flags already out of step are left for the legend to reset.
    flags.RemoveAt(0);
    EXPECT_TRUE(editor.SplitLevel(0));
    EXPECT_TRUE(editor.DeleteLevel(0));
    EXPECT_EQ(List(flags), (Colors{1, 0, 4}));
}

} // namespace
