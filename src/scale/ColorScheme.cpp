#include "scale/ColorScheme.h"

#include "core/LException.h"

ColorScheme::ColorScheme(std::uint32_t lowest, std::uint32_t highest,
                         std::span<const std::uint32_t> palette)
    : lowest_(lowest), highest_(highest), palette_(palette) {
    if (!palette.empty() && palette.size() != PaletteSize(lowest, highest)) {
        throw LException("ColorScheme", "palette does not match its level counts");
    }
}

bool ColorScheme::MakeColors(LRGBColorVect& colours) const {
    const std::uint32_t n = colours.LevelCount();
    if (!Serves(n) || palette_.empty()) {
        return false;
    }
    const std::size_t row = PaletteSize(lowest_, n - 1);
    for (std::uint32_t i = 0; i < n; ++i) {
        colours.Level(i) = FromRRGGBB(palette_[row + i]);
    }
    return true;
}
