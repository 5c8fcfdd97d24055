#include "scale/ColorSchemeChoice.h"
#include "scale/DeviationColorScheme.h"
#include "scale/GeographyColorScheme.h"
#include "scale/RainbowColorScheme.h"
#include "scale/ScaleTestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>

namespace {

// The palettes as they are published, one row per level count, RRGGBB.
// clang-format off
const std::vector<const char*> kGeographyRows = {
    "0000FF 00FF00 FF0000",
    "0000FF 00FFFF 00FF00 FF0000",
    "000080 0000FF 00FFFF 00FF00 FF0000",
    "000080 0000FF 00FFFF 00FF00 FFFF00 FF8000",
    "13017A 0000FF 00FFFF 00FF00 008040 FFFF00 FF8000",
    "000080 0000FF 00FFFF 008000 00FF00 FFFF00 FF8000 CC6600",
    "000080 0000FF 00FFFF 00FF00 008040 FFFF00 FFA448 FF8000 800000",
    "000080 0000FF 00FFFF 00FF00 00D500 008000 FFFF00 FFAE5E FF8000 804000",
    "000080 0000FF 0080FF 00FFFF 00FF00 00CE00 008000 FFFF00 FFAD5B FF8000 804000",
    "000080 0000FF 0080FF 00FFFF 00FF00 00DB00 008000 FFFF00 FFAF60 FF8000 C16100 804000",
    "13017A 2316C5 0000FF 0080FF 00FFFF 00FF00 00C600 008000 FFFF00 FF8000 D06800 A45200 804000",
    "13017A 2316C5 0000FF 0080FF 00FFFF 00FF00 00C100 008000 FFFF00 FFAE5E FF8000 C86400 804000 DD0000",
    "000080 3702C4 0000FF 0080FF 00FFFF 00FF00 00BF00 008000 FFFF00 FAD31F FFA244 FF8000 D06800 804000 D20000",
    "000080 0000B3 0000FF 0080FF 00D2D2 00FFFF 00FF00 00C800 008000 FFFF00 DDDD00 FFAF60 FF8000 E17100 804000 AE0000",
    "000080 0000B9 0000FF 0080FF 00DDDD 80FFFF 80FF00 00D900 00A800 007500 FFFF80 E6E600 FFA244 FF8000 DF7000 C16100 804000",
    "000080 0000B5 0000FF 0080FF 00DFDF 00FFFF 00FF80 0CEF05 00CA00 008000 FFFF80 EAEA00 FFAA55 FF8000 EA7500 C86400 A85400 804000",
    "000080 0000AA 0000FF 0080FF 64B1FF 00D9D9 80FFFF 00FF80 00DB00 00BB00 008000 FFFF80 EAEA00 FFAA55 FF8000 D76B00 B05800 804000 B00000",
    "000080 0000B7 0000FF 0080FF 55AAFF 00E1E1 80FFFF 00FF80 00EC00 00BD00 008000 FFFF80 E6E600 FFA953 FF8000 EA7500 DB6D00 BF6000 804000 B00000",
    "000080 0000B7 0000FF 0080FF 55AAFF 00E1E1 80FFFF 00FF80 00EC00 00BD00 008000 FFFF80 E6E600 FFA042 FF8000 DF7000 CA6500 B55A00 A25100 804000 A60000",
};
const std::vector<const char*> kDeviationRows = {
    "0000FF FF0000",
    "0000FF C0C0C0 FF0000",
    "0000FF 0080FF FF8080 FF0000",
    "0000FF 0080FF C0C0C0 FF8080 FF0000",
    "0000FF 0080FF 80FFFF FF8080 FF0000 D00000",
    "0000FF 0080FF 80FFFF C0C0C0 FF8080 FF0000 D00000",
    "0000D0 0000FF 0080FF 80FFFF FF8080 FF0000 E30000 B70000",
    "0000D0 0000FF 0080FF 80FFFF C0C0C0 FF8080 FF0000 E30000 B70000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF C0C0C0 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 95FF95 FFFF80 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 95FF95 C0C0C0 FFFF80 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 2DFF2D 95FF95 FFFF80 FFAA82 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 2DFF2D 95FF95 C0C0C0 FFFF80 FFAA82 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 00DF00 2DFF2D 95FF95 FFFF80 FFAA82 FF9224 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 00DF00 2DFF2D 95FF95 C0C0C0 FFFF80 FFAA82 FF9224 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 00BB00 00DF00 2DFF2D 95FF95 FFFF80 FFAA82 FF9224 EA7500 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 00BB00 00DF00 2DFF2D 95FF95 C0C0C0 FFFF80 FFAA82 FF9224 EA7500 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 008000 00BB00 00DF00 2DFF2D 95FF95 FFFF80 FFAA82 FF9224 EA7500 B75B00 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 008000 00BB00 00DF00 2DFF2D 95FF95 C0C0C0 FFFF80 FFAA82 FF9224 EA7500 B75B00 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 006000 008000 00BB00 00DF00 2DFF2D 95FF95 FFFF80 FFAA82 FF9224 EA7500 B75B00 8E4700 FF8080 FF0000 E30000 B70000 950000",
    "0000A0 0000D0 0000FF 0080FF 80FFFF 006000 008000 00BB00 00DF00 2DFF2D 95FF95 C0C0C0 FFFF80 FFAA82 FF9224 EA7500 B75B00 8E4700 FF8080 FF0000 E30000 B70000 950000",
};
// clang-format on

constexpr LRGBColor M = 0x00ABCDEF; // the missing colour, never touched

// A table of distinct level colours 1, 2, ... n, then the missing colour.
LRGBColorVect Table(std::uint32_t levelCount) {
    std::vector<LRGBColor> colours;
    for (std::uint32_t i = 1; i <= levelCount; ++i) {
        colours.push_back(i);
    }
    colours.push_back(M);
    return Colours(colours);
}

void ExpectPalette(const ColorScheme& scheme, const std::vector<const char*>& rows) {
    ASSERT_EQ(scheme.GetHighest() - scheme.GetLowest() + 1, rows.size());
    for (const char* row : rows) {
        std::vector<LRGBColor> expected;
        std::istringstream words(row);
        for (std::string word; words >> word;) {
            const auto rgb = static_cast<std::uint32_t>(std::strtoul(word.c_str(), nullptr, 16));
            expected.push_back(MakeRGB(rgb >> 16, rgb >> 8, rgb));
        }
        LRGBColorVect colours = Table(static_cast<std::uint32_t>(expected.size()));
        ASSERT_TRUE(scheme.MakeColors(colours)) << row;
        expected.push_back(M);
        EXPECT_EQ(List(colours), expected) << row;
    }
}

TEST(TableColorSchemes, EveryPaletteRowIsExactAndOtherCountsFail) {
    ExpectPalette(GeographyColorScheme(), kGeographyRows);
    ExpectPalette(DeviationColorScheme(), kDeviationRows);
    // Level 0 of Geography is blue, stored with blue in the high byte.
    LRGBColorVect three = Table(3);
    ASSERT_TRUE(GeographyColorScheme().MakeColors(three));
    EXPECT_EQ(List(three), (std::vector<LRGBColor>{0xFF0000, 0x00FF00, 0x0000FF, M}));

    for (std::uint32_t n : {0u, 1u, 2u, 22u, 24u}) {
        LRGBColorVect colours = Table(n);
        EXPECT_FALSE(GeographyColorScheme().MakeColors(colours)) << n;
        EXPECT_EQ(List(colours), List(Table(n))) << n;
        EXPECT_EQ(DeviationColorScheme().MakeColors(colours), n == 2 || n == 22) << n;
    }
}

TEST(RainbowColorScheme, HuesRunFromRedTowardsMagenta) {
    LRGBColorVect six = Table(6);
    ASSERT_TRUE(RainbowColorScheme().MakeColors(six));
    const LRGBColor expected[] = {0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, M};
    for (std::uint32_t i = 0; i < 7; ++i) {
        // Channel by channel within one: the added-up hue may drop FF to FE.
        for (int shift = 0; shift < 24; shift += 8) {
            EXPECT_NEAR(int(six[i] >> shift & 0xFF), int(expected[i] >> shift & 0xFF), 1) << i;
        }
    }
    EXPECT_EQ(six[0], 0x0000FFu);
    EXPECT_EQ(six[6], M);
    // Within the sectors: orange, and half-way from blue to magenta.
    EXPECT_EQ(RainbowColorScheme::HueColor(1.0 / 12), MakeRGB(255, 127, 0));
    EXPECT_EQ(RainbowColorScheme::HueColor(0.75), MakeRGB(127, 0, 255));

    LRGBColorVect single = Table(1), empty;
    ASSERT_TRUE(RainbowColorScheme().MakeColors(single));
    EXPECT_EQ(List(single), (std::vector<LRGBColor>{0x0000FF, M}));
    EXPECT_FALSE(RainbowColorScheme().MakeColors(empty));
}

TEST(ComputedColorSchemes, GrayRampAndReproducibleRandomColours) {
    LRGBColorVect four = Table(4), dim = Table(254), dark = Table(255);
    MakeGrayColors(four);
    EXPECT_EQ(List(four), (std::vector<LRGBColor>{0x333333, 0x666666, 0x999999, 0xCCCCCC, M}));
    // Past 254 levels the step is 0 and every level is black.
    MakeGrayColors(dim);
    MakeGrayColors(dark);
    EXPECT_EQ(dim[253], 0xFEFEFEu);
    EXPECT_EQ(List(dark), [] {
        std::vector<LRGBColor> black(255, 0);
        black.push_back(M);
        return black;
    }());

    std::mt19937 generator(99), draws(99);
    LRGBColorVect random = Table(30);
    MakeRandomColors(random, generator);
    for (std::uint32_t i = 0; i < 30; ++i) {
        const std::uint32_t red = draws() % 255, green = draws() % 255, blue = draws() % 255;
        EXPECT_EQ(random[i], MakeRGB(red, green, blue));
    }
    EXPECT_EQ(random[30], M);
}

TEST(ApplyColorScheme, ListsTheSchemesAndRemembersTheLastThatWorked) {
    const std::string listed[] = {"Geography 0", "Deviation 3", "Rainbow 4", "Gray 1", "Random 2"};
    ASSERT_EQ(std::size(kColorSchemeList), std::size(listed));
    for (std::size_t i = 0; i < std::size(listed); ++i) {
        EXPECT_EQ(kColorSchemeList[i].name + (" " + std::to_string(kColorSchemeList[i].code)),
                  listed[i]);
    }

    ColorSchemeChoice choice(1);
    EXPECT_EQ(choice.GetLastScheme(), kGeographyScheme);
    const LRGBColorVect document = Table(9);
    LRGBColorVect preview;
    ASSERT_TRUE(ApplyColorScheme(document, kGrayScheme, preview, choice));
    EXPECT_EQ(choice.GetLastScheme(), kGrayScheme);
    ASSERT_EQ(preview.GetCount(), 10u);
    EXPECT_EQ(preview[0], 0x191919u);
    EXPECT_EQ(preview[9], M);
    EXPECT_EQ(List(document), List(Table(9)));

    ASSERT_TRUE(ApplyColorScheme(document, kDeviationScheme, preview, choice));
    EXPECT_EQ(preview[4], 0xC0C0C0u); // the grey middle of an odd count
    EXPECT_FALSE(ApplyColorScheme(Table(22), kGeographyScheme, preview, choice));
    EXPECT_FALSE(ApplyColorScheme(document, 7, preview, choice));
    EXPECT_EQ(choice.GetLastScheme(), kDeviationScheme);
}

TEST(LRGBColorVect, RotationsAndReversalLeaveTheMissingColourAlone) {
    LRGBColorVect up = Colours({'A', 'B', 'C', 'M'}), down = up, reversed = up;
    up.ShiftColorsUp();
    down.ShiftColorsDown();
    reversed.ReverseColors();
    EXPECT_EQ(List(up), (std::vector<LRGBColor>{'C', 'A', 'B', 'M'}));
    EXPECT_EQ(List(down), (std::vector<LRGBColor>{'B', 'C', 'A', 'M'}));
    EXPECT_EQ(List(reversed), (std::vector<LRGBColor>{'C', 'B', 'A', 'M'}));

    // With fewer than two level colours nothing moves.
    LRGBColorVect one = Colours({'A', 'M'}), empty;
    one.ShiftColorsUp();
    one.ShiftColorsDown();
    one.ReverseColors();
    empty.ShiftColorsUp();
    EXPECT_EQ(List(one), (std::vector<LRGBColor>{'A', 'M'}));
    EXPECT_TRUE(empty.IsEmpty());
}

} // namespace
