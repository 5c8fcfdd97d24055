#pragma once

#include "render/Geometry.h"
#include "render/Surface.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string_view>

// The pixel height of a text cell when a font asks for the device's default
// size (height 0).
inline constexpr std::int32_t kDefaultFontCellHeight = 16;

// The Qt font that draws a font selected into a surface:
// - height < 0 is the character (em) height in pixels, used as the pixel
//   size; height > 0 is the cell height (ascent + descent), scaled down by
//   the face's ascent + descent per em; 0 is a cell of
//   kDefaultFontCellHeight pixels;
// - width != 0 is the average character width: the face is stretched to it;
// - weight 1..1000 on the same scale as Qt's (0: normal); italic,
//   underline and strike-out as flags;
// - the face name (Latin-1) picks the family through fontconfig; without
//   one, the pitch-and-family byte gives the kind of face wanted;
// - non-antialiased quality turns antialiasing off.
// Escapement and orientation are left to whoever draws (a rotation).
// Kerning is off: texts measure as the sum of their characters' advances,
// which is how they are placed in a metafile too.
QFont ToQFont(const DeviceFont& font);

// Text as surfaces receive it (UTF-8) in Qt's form; text that is not valid
// UTF-8 is read as Windows-1252, so every byte still draws as a character.
QString TextToQString(std::string_view text);

// A 0x00BBGGRR colour; the top byte is ignored.
inline QColor ToQColor(std::uint32_t color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

// Where a line of text goes relative to the reference point of its
// alignment, in the text's own (unrotated) frame: the left end of the
// baseline, and the extent of its cell.
struct TextPlacement {
    double left = 0.0;     // x of the cell's left edge
    double baseline = 0.0; // y of the baseline
    std::int32_t width = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;

    IntSize Extent() const { return {width, ascent + descent}; }
};

// Measures the text in the font and places it for the alignment flags: the
// reference point is the cell's left, right or horizontal centre, and its
// top, bottom or the baseline.
TextPlacement PlaceText(const QFont& font, const QString& text, std::uint32_t alignFlags);
