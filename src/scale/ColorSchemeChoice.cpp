#include "scale/ColorSchemeChoice.h"

#include "scale/DeviationColorScheme.h"
#include "scale/GeographyColorScheme.h"
#include "scale/PerceptualColorScheme.h"
#include "scale/RainbowColorScheme.h"

bool ApplyColorScheme(const LRGBColorVect& levelColors, int code, LRGBColorVect& colours,
                      ColorSchemeChoice& choice) {
    colours = levelColors;
    bool made = false;
    switch (code) {
    case kGeographyScheme:
        made = GeographyColorScheme().MakeColors(colours);
        break;
    case kDeviationScheme:
        made = DeviationColorScheme().MakeColors(colours);
        break;
    case kRainbowScheme:
        made = RainbowColorScheme().MakeColors(colours);
        break;
    case kViridisScheme:
        made = PerceptualColorScheme::Viridis().MakeColors(colours);
        break;
    case kCividisScheme:
        made = PerceptualColorScheme::Cividis().MakeColors(colours);
        break;
    case kBlueRedScheme:
        made = PerceptualColorScheme::BlueRed().MakeColors(colours);
        break;
    case kGrayScheme:
        MakeGrayColors(colours);
        made = true;
        break;
    case kRandomScheme:
        MakeRandomColors(colours, choice.Generator());
        made = true;
        break;
    default:
        break;
    }
    if (made) {
        choice.SetLastScheme(code);
    }
    return made;
}

void MakeGrayColors(LRGBColorVect& colours) {
    const std::uint32_t levels = colours.LevelCount();
    // levels + 1 is the table's size: the boundaries plus two.
    const std::uint32_t step = 255 / (levels + 1);
    for (std::uint32_t i = 0; i < levels; ++i) {
        const std::uint32_t grey = (step * (i + 1)) & 0xFF;
        colours.Level(i) = MakeRGB(grey, grey, grey);
    }
}

void MakeRandomColors(LRGBColorVect& colours, std::mt19937& generator) {
    for (std::uint32_t i = 0, levels = colours.LevelCount(); i < levels; ++i) {
        const std::uint32_t red = generator() % 255;
        const std::uint32_t green = generator() % 255;
        const std::uint32_t blue = generator() % 255;
        colours.Level(i) = MakeRGB(red, green, blue);
    }
}
