#include "core/LException.h"
#include "scale/ColorSchemeChoice.h"
#include "scale/DeviationColorScheme.h"
#include "scale/GeographyColorScheme.h"
#include "scale/PerceptualColorScheme.h"
#include "scale/RainbowColorScheme.h"
#include "scale/ScaleTestSupport.h"

#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <span>
#include <utility>

namespace {

// The palettes as they are published, one row per level count, RRGGBB.
// clang-format off
const std::vector<std::string> kGeographyRows = {
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
const std::vector<std::string> kDeviationRows = {
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

constexpr LRGBColor M = 0xABABAB; // the missing colour, never touched

// A table of the level colours 1, 2, ... n, then the missing colour.
LRGBColorVect Table(std::uint32_t levelCount) {
    LRGBColorVect colours(levelCount + 1);
    for (std::uint32_t i = 0; i < levelCount; ++i) {
        colours[i] = i + 1;
    }
    colours[levelCount] = M;
    return colours;
}

// The colours of a table as RRGGBB words; they are stored 0x00BBGGRR.
std::string Rrggbb(const LRGBColorVect& colours) {
    std::string text;
    char word[8];
    for (std::uint32_t i = 0; i < colours.GetCount(); ++i) {
        const LRGBColor c = colours[colours.GetLowerBound() + i];
        std::snprintf(word, sizeof word, "%02X%02X%02X", c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF);
        text += (i == 0 ? "" : " ") + std::string(word);
    }
    return text;
}

void ExpectPalette(const ColorScheme& scheme, const std::vector<std::string>& rows) {
    ASSERT_EQ(scheme.GetHighest() - scheme.GetLowest() + 1, rows.size());
    for (const std::string& row : rows) {
        LRGBColorVect colours = Table(static_cast<std::uint32_t>(row.size() + 1) / 7);
        ASSERT_TRUE(scheme.MakeColors(colours)) << row;
        EXPECT_EQ(Rrggbb(colours), row + " ABABAB");
    }
}

TEST(TableColorSchemes, EveryPaletteRowIsExactAndOtherCountsFail) {
    ExpectPalette(GeographyColorScheme(), kGeographyRows);
    ExpectPalette(DeviationColorScheme(), kDeviationRows);
    for (std::uint32_t n : {0u, 1u, 2u, 22u, 24u}) {
        LRGBColorVect colours = Table(n);
        EXPECT_FALSE(GeographyColorScheme().MakeColors(colours)) << n;
        EXPECT_EQ(Hex(colours), Hex(Table(n))) << n;
        EXPECT_EQ(DeviationColorScheme().MakeColors(colours), n == 2 || n == 22) << n;
    }
}

TEST(RainbowColorScheme, HuesRunFromRedTowardsMagenta) {
    LRGBColorVect six = Table(6), one = Table(1), none;
    ASSERT_TRUE(RainbowColorScheme().MakeColors(six) && RainbowColorScheme().MakeColors(one));
    EXPECT_EQ(Rrggbb(six), "FF0000 FFFF00 00FF00 00FFFF 0000FF FF00FF ABABAB");
    EXPECT_EQ(Rrggbb(one), "FF0000 ABABAB");
    EXPECT_FALSE(RainbowColorScheme().MakeColors(none));
    // Within the sectors: orange, and half-way from blue to magenta.
    EXPECT_EQ(RainbowColorScheme::HueColor(1.0 / 12), MakeRGB(255, 127, 0));
    EXPECT_EQ(RainbowColorScheme::HueColor(0.75), MakeRGB(127, 0, 255));
}

TEST(ComputedColorSchemes, GrayRampAndReproducibleRandomColours) {
    LRGBColorVect four = Table(4), dim = Table(254), dark = Table(255), black = Table(255);
    MakeGrayColors(four);
    MakeGrayColors(dim);
    MakeGrayColors(dark);
    EXPECT_EQ(Rrggbb(four), "333333 666666 999999 CCCCCC ABABAB");
    EXPECT_EQ(dim.Level(253), 0xFEFEFEu);
    black.Fill(0); // past 254 levels the step is 0 and every level is black
    black.Missing() = M;
    EXPECT_EQ(Hex(dark), Hex(black));

    std::mt19937 generator(99), draws(99);
    LRGBColorVect random = Table(30);
    MakeRandomColors(random, generator);
    for (std::uint32_t i = 0; i < 30; ++i) {
        const std::uint32_t red = draws() % 255, green = draws() % 255, blue = draws() % 255;
        EXPECT_EQ(random[i], MakeRGB(red, green, blue));
    }
    EXPECT_EQ(random[30], M);
}

// The Oklab ramps at 1, 2, 5 and 20 levels, computed apart from the program
// from the published conversion formulas, RRGGBB.
struct RampRows {
    int code;
    std::vector<std::string> rows;
};
// clang-format off
const RampRows kRampRows[] = {
    {kViridisScheme, {
        "23908C",
        "440154 FDE725",
        "440154 3C528A 23908C 61C863 FDE725",
        "440154 471665 482676 45377F 404787 3B558B 34638D 2E708E 297D8E 24898D "
        "21978B 24A386 2EAF7F 40BB75 5BC567 76CF56 98D744 B8DF2C DCE329 FDE725"}},
    {kCividisScheme, {
        "7D7C76",
        "00204D FFEA46",
        "00204D 404D6C 7D7C76 BCAF6F FFEA46",
        "00204D 00295D 00326D 1D3C6E 34466C 444F6C 52596D 5F636F 6B6D72 777775 "
        "838178 908C78 9D9677 ABA174 B9AC70 C7B86B D6C463 E5D05A F2DD52 FFEA46"}},
    {kBlueRedScheme, {
        "F7F7F7",
        "053061 67001F",
        "053061 6CACD1 F7F7F7 E68367 67001F",
        "053061 134C88 2368AD 3480B9 4C98C6 76B3D4 9CCAE1 BDDBEA D9E9F2 EDF2F5 "
        "F9F0EA FCE1D1 FBCAB1 F6AE8D EA8C6E D96853 C7463E B41E2D 8E0B26 67001F"}},
};
// clang-format on

TEST(PerceptualColorSchemes, RampsMatchIndependentlyComputedColours) {
    ColorSchemeChoice choice;
    for (const RampRows& scheme : kRampRows) {
        for (const std::string& row : scheme.rows) {
            LRGBColorVect colours;
            const std::uint32_t levels = static_cast<std::uint32_t>(row.size() + 1) / 7;
            ASSERT_TRUE(ApplyColorScheme(Table(levels), scheme.code, colours, choice)) << row;
            EXPECT_EQ(Rrggbb(colours), row + " ABABAB") << scheme.code;
            EXPECT_EQ(choice.GetLastScheme(), scheme.code);
        }
        LRGBColorVect none = Table(0), colours;
        EXPECT_FALSE(ApplyColorScheme(none, scheme.code, colours, choice));
        EXPECT_EQ(Hex(colours), "ABABAB");
    }
}

TEST(PerceptualColorSchemes, EndsAreTheFirstAndLastAnchorsExactly) {
    const std::pair<PerceptualColorScheme, std::string> ends[] = {
        {PerceptualColorScheme::Viridis(), "440154 FDE725"},
        {PerceptualColorScheme::Cividis(), "00204D FFEA46"},
        {PerceptualColorScheme::BlueRed(), "053061 67001F"},
    };
    for (const auto& [scheme, expected] : ends) {
        for (std::uint32_t n : {3u, 4u, 7u, 10u, 11u, 12u, 64u, 255u, 1000u}) {
            LRGBColorVect colours = Table(n);
            ASSERT_TRUE(scheme.MakeColors(colours));
            EXPECT_EQ(Rrggbb(Colours({colours.Level(0), colours.Level(n - 1), colours.Missing()})),
                      expected + " ABABAB")
                << n;
        }
        // Positions outside the ramp are held to its ends.
        const double nan = std::numeric_limits<double>::quiet_NaN();
        EXPECT_EQ(Rrggbb(Colours({scheme.ColorAt(-1), scheme.ColorAt(2)})), expected);
        EXPECT_EQ(scheme.ColorAt(nan), scheme.ColorAt(0));
    }
    EXPECT_THROW(PerceptualColorScheme(std::span<const std::uint32_t>{}), LException);
}

TEST(PerceptualColorSchemes, LightnessRisesAlongTheSequentialRampsAndPeaksMidDiverging) {
    const auto lightness = [](const LRGBColorVect& colours, std::uint32_t i) {
        return ToOklab(colours.Level(i)).L;
    };
    for (std::uint32_t n = 2; n <= 200; ++n) {
        LRGBColorVect viridis = Table(n), cividis = Table(n), blueRed = Table(n);
        PerceptualColorScheme::Viridis().MakeColors(viridis);
        PerceptualColorScheme::Cividis().MakeColors(cividis);
        PerceptualColorScheme::BlueRed().MakeColors(blueRed);
        for (std::uint32_t i = 1; i < n; ++i) {
            ASSERT_GT(lightness(viridis, i), lightness(viridis, i - 1)) << n << " " << i;
            ASSERT_GT(lightness(cividis, i), lightness(cividis, i - 1)) << n << " " << i;
            // Blue-Red lightens to the neutral middle and darkens after it;
            // the two middle levels of an even count may go either way.
            if (2 * i != n) {
                ASSERT_EQ(lightness(blueRed, i) > lightness(blueRed, i - 1), 2 * i < n)
                    << n << " " << i;
            }
        }
    }
}

TEST(PerceptualColorSchemes, OklabColoursOutsideTheGamutAreClampedNotWrapped) {
    EXPECT_NEAR(ToOklab(MakeRGB(255, 255, 255)).L, 1.0, 1e-6);
    EXPECT_EQ(FromOklab({1.2, 0, 0}), MakeRGB(255, 255, 255));
    EXPECT_EQ(FromOklab({-0.1, 0, 0}), MakeRGB(0, 0, 0));
    EXPECT_EQ(FromOklab({0.7, 0.3, 0.0}), MakeRGB(0xFF, 0x00, 0x97));
    EXPECT_EQ(FromOklab({0.5, -0.3, 0.3}), MakeRGB(0x00, 0x86, 0x00));
}

TEST(ApplyColorScheme, ListsTheSchemesAndRemembersTheLastThatWorked) {
    std::string listed;
    for (const ColorSchemeListEntry& entry : kColorSchemeList) {
        listed += entry.name + (" " + std::to_string(entry.code)) + ", ";
    }
    EXPECT_EQ(listed, "Geography 0, Deviation 3, Rainbow 4, Gray 1, Random 2, Viridis 5, "
                      "Cividis 6, Blue-Red 7, ");

    ColorSchemeChoice choice(1);
    EXPECT_EQ(choice.GetLastScheme(), kGeographyScheme);
    const LRGBColorVect document = Table(9);
    LRGBColorVect preview;
    ASSERT_TRUE(ApplyColorScheme(document, kGrayScheme, preview, choice));
    EXPECT_EQ(choice.GetLastScheme(), kGrayScheme);
    EXPECT_EQ(Rrggbb(preview).substr(0, 13), "191919 323232");
    EXPECT_EQ(Hex(document), Hex(Table(9)));
    ASSERT_TRUE(ApplyColorScheme(document, kDeviationScheme, preview, choice));
    EXPECT_EQ(preview[4], 0xC0C0C0u); // the grey middle of an odd count
    EXPECT_FALSE(ApplyColorScheme(Table(22), kGeographyScheme, preview, choice));
    EXPECT_FALSE(ApplyColorScheme(document, 8, preview, choice));
    EXPECT_EQ(choice.GetLastScheme(), kDeviationScheme);
}

TEST(LRGBColorVect, RotationsAndReversalLeaveTheMissingColourAlone) {
    LRGBColorVect up = Colours({0xA, 0xB, 0xC, 0xF}), down = up, reversed = up;
    up.ShiftColorsUp();
    down.ShiftColorsDown();
    reversed.ReverseColors();
    EXPECT_EQ(Hex(up) + ", " + Hex(down) + ", " + Hex(reversed), "C A B F, B C A F, C B A F");
    // With fewer than two level colours nothing moves.
    LRGBColorVect one = Colours({0xA, 0xF}), empty;
    one.ShiftColorsUp();
    one.ShiftColorsDown();
    one.ReverseColors();
    empty.ShiftColorsUp();
    EXPECT_EQ(Hex(one), "A F");
    EXPECT_TRUE(empty.IsEmpty());
}

} // namespace
