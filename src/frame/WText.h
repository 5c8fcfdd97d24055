#pragma once

#include "render/FontRecord.h"

#include <cstdint>
#include <optional>
#include <string>

// One line of a frame text (a title line, an axis-label line or a tick
// label) with its look. Colours are 0x00BBGGRR.
struct WText {
    std::uint32_t textColor = 0x000000;
    std::uint32_t bkColor = 0xFFFFFF;
    // Height in typographic points (negative, as the font dialog sets it).
    // None: the text is drawn in the default font of LText.
    std::optional<FontRecord> font;
    std::string text;

    friend bool operator==(const WText&, const WText&) = default;
};
