#pragma once

#include "scale/LRGBColorVect.h"

#include <cstdint>
#include <random>

// The codes by which a colour scheme is chosen and remembered.
inline constexpr int kGeographyScheme = 0;
inline constexpr int kGrayScheme = 1;
inline constexpr int kRandomScheme = 2;
inline constexpr int kDeviationScheme = 3;
inline constexpr int kRainbowScheme = 4;
inline constexpr int kViridisScheme = 5;
inline constexpr int kCividisScheme = 6;
inline constexpr int kBlueRedScheme = 7;

struct ColorSchemeListEntry {
    const char* name;
    int code;
};

// The schemes in the order the colour scheme dialog lists them.
inline constexpr ColorSchemeListEntry kColorSchemeList[] = {
    {"Geography", kGeographyScheme}, {"Deviation", kDeviationScheme}, {"Rainbow", kRainbowScheme},
    {"Gray", kGrayScheme},           {"Random", kRandomScheme},       {"Viridis", kViridisScheme},
    {"Cividis", kCividisScheme},     {"Blue-Red", kBlueRedScheme},
};

// What the colour schemes keep from one use to the next while the program
// runs: the scheme applied last (the dialog preselects it; Geography at
// first) and the generator behind "Random". The program owns one; it seeds
// the generator from the clock, tests seed it with a fixed number.
class ColorSchemeChoice {
public:
    explicit ColorSchemeChoice(std::uint32_t seed = std::mt19937::default_seed)
        : generator_(seed) {}

    int GetLastScheme() const { return lastScheme_; }
    void SetLastScheme(int code) { lastScheme_ = code; }
    std::mt19937& Generator() { return generator_; }

private:
    int lastScheme_ = kGeographyScheme;
    std::mt19937 generator_;
};

// Copies levelColors into colours, then colours its levels with the scheme
// of that code. True on success, and the code becomes the remembered one;
// false for a table scheme that does not serve the level count, a computed
// ramp (Rainbow, Viridis, Cividis, Blue-Red) without levels, or an unknown
// code (the caller then empties colours). The missing colour, last in the
// table, is never touched.
bool ApplyColorScheme(const LRGBColorVect& levelColors, int code, LRGBColorVect& colours,
                      ColorSchemeChoice& choice);

// A grey ramp, darkest at level 0: level i is (255 div (levels + 1)) * (i + 1)
// in all three channels, low 8 bits kept, so past 254 levels every level is
// black. Always succeeds.
void MakeGrayColors(LRGBColorVect& colours);

// Each channel of each level (red, green, blue in that order) drawn from
// generator modulo 255, that is 0 .. 254. Always succeeds.
void MakeRandomColors(LRGBColorVect& colours, std::mt19937& generator);
