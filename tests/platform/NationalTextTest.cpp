#include "PlatformTestSupport.h"

#include "platform/FontMapping.h"

#include <QFont>

#include <gtest/gtest.h>

namespace {

constexpr int kX = 10, kY = 30;

// The text drawn by the surface, and the same text drawn by Qt itself at
// the same baseline.
QImage DrawnBySurface(const FontRecord& font, std::string_view bytes) {
    return Draw(300, 50, kWhite, [&](QtSurface& surface) {
        surface.SelectFont(DeviceFont{font});
        surface.SetTextAlign(TextAlign::Left | TextAlign::Baseline);
        surface.SetBkMode(BackgroundMode::Transparent);
        surface.TextOut(kX, kY, bytes);
    });
}

QImage DrawnByQt(const FontRecord& font, const QString& text) {
    QImage image(300, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(ToQFont(DeviceFont{font}));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(kX, kY), text);
    painter.end();
    return image;
}

} // namespace

// UTF-8 text and the Windows-1252 bytes of the same characters draw the
// glyphs Qt draws for them, the "–" and "€" of 0x96 and 0x80 included (not
// the control characters Latin-1 has there).
TEST(NationalText, BothEncodingsDrawTheGlyphsQtDraws) {
    FontRecord font = FontRecord::DefaultTextFont();
    font.height = -18;
    const QString expected = QStringLiteral(u"Dødelighed – mænd 5 €");
    const QImage reference = DrawnByQt(font, expected);
    EXPECT_EQ(DrawnBySurface(font, "D\xC3\xB8"
                                   "delighed \xE2\x80\x93 m\xC3\xA6nd 5 \xE2\x82\xAC"),
              reference);
    EXPECT_EQ(DrawnBySurface(font, "D\xF8"
                                   "delighed \x96 m\xE6nd 5 \x80"),
              reference);
    EXPECT_NE(DrawnByQt(font, QString::fromLatin1("D\xF8"
                                                  "delighed \x96 m\xE6nd 5 \x80")),
              reference);
    EXPECT_EQ(TextToQString("\xE2\x82\xAC"), QStringLiteral(u"€"));
    EXPECT_EQ(TextToQString("\x80"), QStringLiteral(u"€"));
}
