#include "scale/RainbowColorScheme.h"

#include <cstdint>
#include <limits>

namespace {

// A channel in 0 .. 1 to its byte: truncated toward zero, low 8 bits kept.
std::uint32_t ChannelByte(double value) {
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(value * 255.0)) & 0xFF;
}

} // namespace

RainbowColorScheme::RainbowColorScheme()
    : ColorScheme(1, std::numeric_limits<std::uint32_t>::max()) {}

LRGBColor RainbowColorScheme::HueColor(double hue) {
    constexpr double lightness = 0.5;
    constexpr double saturation = 1.0;
    // The hue-lightness-saturation model for lightness at most one half.
    constexpr double lo = (1.0 - saturation) * lightness;
    constexpr double hi = (1.0 + saturation) * lightness;
    const double x = 6.0 * hue;
    double red, green, blue;
    if (x < 1) {
        red = hi, green = lo + (hi - lo) * x, blue = lo;
    } else if (x < 2) {
        red = lo + (hi - lo) * (2 - x), green = hi, blue = lo;
    } else if (x < 3) {
        red = lo, green = hi, blue = lo + (hi - lo) * (x - 2);
    } else if (x < 4) {
        red = lo, green = lo + (hi - lo) * (4 - x), blue = hi;
    } else if (x < 5) {
        red = lo + (hi - lo) * (x - 4), green = lo, blue = hi;
    } else {
        red = hi, green = lo, blue = lo + (hi - lo) * (6 - x);
    }
    return MakeRGB(ChannelByte(red), ChannelByte(green), ChannelByte(blue));
}

bool RainbowColorScheme::MakeColors(LRGBColorVect& colours) const {
    const std::uint32_t n = colours.LevelCount();
    if (!Serves(n)) {
        return false;
    }
    // The hue is added up level by level, as the scheme has always done, so
    // rounding may leave a channel at FE where FF would be exact.
    const double step = 1.0 / n;
    double hue = 0.0;
    for (std::uint32_t i = 0; i < n; ++i) {
        colours.Level(i) = HueColor(hue);
        hue += step;
    }
    return true;
}
