#include "PlatformTestSupport.h"
#include "Scenes.h"

#include "platform/PngWriter.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// The first pixel where two images differ, or "" when every pixel agrees.
std::string FirstDifference(const QImage& expected, const QImage& actual) {
    if (expected.size() != actual.size()) {
        return "sizes differ";
    }
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (expected.pixel(x, y) != actual.pixel(x, y)) {
                return "pixel " + std::to_string(x) + ", " + std::to_string(y);
            }
        }
    }
    return "";
}

QImage ReadBack(const QByteArray& bytes) {
    QImage image;
    image.loadFromData(bytes, "PNG");
    return image;
}

// Every channel value in every column, a row unlike the one above it, and
// an odd width, so that neither the filter nor the byte order can hide.
QImage Noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | (state >> 8));
        }
    }
    return image;
}

} // namespace

TEST(PngWriter, StoresEveryPixelOfDrawnAndNoisyPictures) {
    std::vector<std::pair<std::string, QImage>> pictures = {{"noise", Noise(37, 23)}};
    for (const Scene& scene : MapScenes()) {
        pictures.emplace_back(scene.name, Draw(scene.width, scene.height, 0xFFFFFF,
                                               [&](QtSurface& surface) { scene.draw(surface); }));
    }
    for (const auto& [name, image] : pictures) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(WritePng(image, buffer)) << name;
        EXPECT_TRUE(buffer.data().startsWith("\x89PNG")) << name;
        EXPECT_EQ(FirstDifference(image, ReadBack(buffer.data())), "") << name;
    }
}

TEST(PngWriter, ConvertsOtherFormatsAndKeepsTheResolution) {
    QImage image = Noise(16, 9).convertToFormat(QImage::Format_RGB888);
    image.setDotsPerMeterX(11811);
    image.setDotsPerMeterY(5906);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WritePng(image, buffer));
    const QImage back = ReadBack(buffer.data());
    EXPECT_EQ(FirstDifference(image.convertToFormat(QImage::Format_RGB32), back), "");
    EXPECT_EQ(back.dotsPerMeterX(), 11811);
    EXPECT_EQ(back.dotsPerMeterY(), 5906);
}

TEST(PngWriter, ReportsEmptyImagesAndRefusedWrites) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_FALSE(WritePng(QImage(), buffer));

    QByteArray fixed("x");
    QBuffer readOnly(&fixed);
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(WritePng(Noise(8, 8), readOnly));
}
