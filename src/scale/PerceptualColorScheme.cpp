#include "scale/PerceptualColorScheme.h"

#include "core/LException.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

// The published anchor colours of each ramp, RRGGBB, from level 0 up.
constexpr std::uint32_t kViridis[] = {0x440154, 0x482878, 0x3E4A89, 0x31688E, 0x26828E,
                                      0x1F9E89, 0x35B779, 0x6DCD59, 0xB4DE2C, 0xFDE725};
constexpr std::uint32_t kCividis[] = {0x00204D, 0x00336F, 0x39486B, 0x575C6D, 0x707173,
                                      0x8A8779, 0xA69D75, 0xC4B56C, 0xE4CF5B, 0xFFEA46};
constexpr std::uint32_t kBlueRed[] = {0x053061, 0x2166AC, 0x4393C3, 0x92C5DE, 0xD1E5F0, 0xF7F7F7,
                                      0xFDDBC7, 0xF4A582, 0xD6604D, 0xB2182B, 0x67001F};

// An sRGB channel byte to linear light, 0 .. 1.
double ToLinear(std::uint32_t byte) {
    const double c = byte / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Linear light to an sRGB channel byte, rounded and clamped.
std::uint32_t FromLinear(double c) {
    const double encoded = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
    return static_cast<std::uint32_t>(std::clamp(std::floor(encoded * 255.0 + 0.5), 0.0, 255.0));
}

OklabColor Lerp(const OklabColor& from, const OklabColor& to, double f) {
    return {from.L + (to.L - from.L) * f, from.a + (to.a - from.a) * f,
            from.b + (to.b - from.b) * f};
}

} // namespace

OklabColor ToOklab(LRGBColor colour) {
    const double r = ToLinear(colour & 0xFF);
    const double g = ToLinear(colour >> 8 & 0xFF);
    const double b = ToLinear(colour >> 16 & 0xFF);
    // Linear sRGB to the cone responses, then their cube roots.
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

LRGBColor FromOklab(const OklabColor& colour) {
    const double l0 = colour.L + 0.3963377774 * colour.a + 0.2158037573 * colour.b;
    const double m0 = colour.L - 0.1055613458 * colour.a - 0.0638541728 * colour.b;
    const double s0 = colour.L - 0.0894841775 * colour.a - 1.2914855480 * colour.b;
    const double l = l0 * l0 * l0;
    const double m = m0 * m0 * m0;
    const double s = s0 * s0 * s0;
    return MakeRGB(FromLinear(4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s),
                   FromLinear(-1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s),
                   FromLinear(-0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s));
}

PerceptualColorScheme::PerceptualColorScheme(std::span<const std::uint32_t> anchors)
    : ColorScheme(1, std::numeric_limits<std::uint32_t>::max()), anchors_(anchors) {
    if (anchors.size() < 2) {
        throw LException("PerceptualColorScheme", "a ramp needs at least two anchors");
    }
}

PerceptualColorScheme PerceptualColorScheme::Viridis() {
    return PerceptualColorScheme(kViridis);
}

PerceptualColorScheme PerceptualColorScheme::Cividis() {
    return PerceptualColorScheme(kCividis);
}

PerceptualColorScheme PerceptualColorScheme::BlueRed() {
    return PerceptualColorScheme(kBlueRed);
}

LRGBColor PerceptualColorScheme::ColorAt(double t) const {
    const std::size_t last = anchors_.size() - 1;
    // Clamped to 0 .. 1; not a number counts as 0.
    const double x = (t > 0.0 ? std::min(t, 1.0) : 0.0) * static_cast<double>(last);
    // The anchor below the position; the top position uses the last pair.
    const std::size_t k = std::min(static_cast<std::size_t>(x), last - 1);
    return FromOklab(Lerp(ToOklab(FromRRGGBB(anchors_[k])), ToOklab(FromRRGGBB(anchors_[k + 1])),
                          x - static_cast<double>(k)));
}

bool PerceptualColorScheme::MakeColors(LRGBColorVect& colours) const {
    const std::uint32_t n = colours.LevelCount();
    if (!Serves(n)) {
        return false;
    }
    for (std::uint32_t i = 0; i < n; ++i) {
        colours.Level(i) = ColorAt(n == 1 ? 0.5 : static_cast<double>(i) / (n - 1));
    }
    return true;
}
