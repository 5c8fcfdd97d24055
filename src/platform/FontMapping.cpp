#include "platform/FontMapping.h"

#include "setup/TextEncoding.h"

#include <QFontMetrics>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Beyond this a glyph is larger than any device the program draws on.
constexpr std::int64_t kMaxPixelSize = 32767;

constexpr std::uint8_t kNonAntialiasedQuality = 3;
constexpr std::uint8_t kFixedPitch = 1;

int ClampPixelSize(std::int64_t pixels) {
    return static_cast<int>(std::clamp<std::int64_t>(pixels, 1, kMaxPixelSize));
}

QFont::StyleHint StyleHintForFamily(std::uint8_t pitchAndFamily) {
    switch (pitchAndFamily & 0xF0) {
    case 0x10: // FF_ROMAN
        return QFont::Serif;
    case 0x20: // FF_SWISS
        return QFont::SansSerif;
    case 0x30: // FF_MODERN
        return QFont::TypeWriter;
    case 0x40: // FF_SCRIPT
        return QFont::Cursive;
    case 0x50: // FF_DECORATIVE
        return QFont::Decorative;
    default:
        return QFont::AnyStyle;
    }
}

// The pixel size whose cell (ascent + descent) comes closest to cellHeight.
int PixelSizeForCell(QFont font, std::int64_t cellHeight) {
    const int trial = ClampPixelSize(cellHeight);
    font.setPixelSize(trial);
    const QFontMetricsF metrics(font);
    const double cell = metrics.ascent() + metrics.descent();
    if (cell <= 0.0) {
        return trial;
    }
    return ClampPixelSize(std::llround(static_cast<double>(trial) * trial / cell));
}

} // namespace

QFont ToQFont(const DeviceFont& font) {
    const FontRecord& record = font.record;
    QFont result;
    if (!record.GetFaceName().empty()) {
        result.setFamily(QString::fromLatin1(record.GetFaceName().data(),
                                             static_cast<qsizetype>(record.GetFaceName().size())));
    }
    result.setStyleHint(StyleHintForFamily(record.pitchAndFamily),
                        record.quality == kNonAntialiasedQuality ? QFont::NoAntialias
                                                                 : QFont::PreferDefault);
    result.setFixedPitch((record.pitchAndFamily & 0x03) == kFixedPitch);
    if (record.weight > 0) {
        result.setWeight(static_cast<QFont::Weight>(std::clamp(record.weight, 1, 1000)));
    } else {
        result.setWeight(QFont::Normal);
    }
    result.setItalic(record.italic != 0);
    result.setUnderline(record.underline != 0);
    result.setStrikeOut(record.strikeOut != 0);
    result.setKerning(false);

    const std::int64_t height = record.height;
    if (height < 0) {
        result.setPixelSize(ClampPixelSize(-height));
    } else {
        result.setPixelSize(
            PixelSizeForCell(result, height == 0 ? kDefaultFontCellHeight : height));
    }

    if (record.width != 0) {
        const QFontMetricsF metrics(result);
        const double natural = metrics.averageCharWidth();
        if (natural > 0.0) {
            const double wanted = std::abs(static_cast<double>(record.width));
            result.setStretch(
                static_cast<int>(std::clamp(std::lround(100.0 * wanted / natural), 1L, 4000L)));
        }
    }
    return result;
}

QString TextToQString(std::string_view text) {
    const std::string utf8 = TextToUtf8(text, TextEncoding::Utf8);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

TextPlacement PlaceText(const QFont& font, const QString& text, std::uint32_t alignFlags) {
    const QFontMetrics metrics(font);
    TextPlacement placement;
    placement.width = metrics.horizontalAdvance(text);
    placement.ascent = metrics.ascent();
    placement.descent = metrics.descent();

    switch (alignFlags & TextAlign::HorizontalMask) {
    case TextAlign::Right:
        placement.left = -placement.width;
        break;
    case TextAlign::Center:
        placement.left = -(placement.width / 2);
        break;
    default:
        break;
    }
    switch (alignFlags & TextAlign::VerticalMask) {
    case TextAlign::Baseline:
        break;
    case TextAlign::Bottom:
        placement.baseline = -placement.descent;
        break;
    default: // top
        placement.baseline = placement.ascent;
        break;
    }
    return placement;
}
