#pragma once

#include "platform/QtSurface.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

// Colours as the surface takes them, 0x00BBGGRR.
constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kGrey = 0x808080;
constexpr std::uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;

// The picture that draw paints with a QtSurface on an image of one colour.
inline QImage Draw(int width, int height, std::uint32_t fill,
                   const std::function<void(QtSurface&)>& draw) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(fill & 0xFF, (fill >> 8) & 0xFF, (fill >> 16) & 0xFF));
    QPainter painter(&image);
    draw(*std::make_unique<QtSurface>(painter)); // gone, and the painter restored, before end()
    painter.end();
    return image;
}

inline std::uint32_t PixelAt(const QImage& image, int x, int y) {
    const QRgb rgb = image.pixel(x, y);
    return static_cast<std::uint32_t>(qRed(rgb)) | static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
           static_cast<std::uint32_t>(qBlue(rgb)) << 16;
}

// The pixels whose colour is not the expected one, for the message; empty
// when there are none.
inline std::string WrongPixels(const QImage& image,
                               const std::function<std::uint32_t(int, int)>& expected) {
    std::string wrong;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (PixelAt(image, x, y) != expected(x, y) && wrong.size() < 200) {
                wrong += "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
            }
        }
    }
    return wrong;
}

// The pixels of two pictures of one size that differ by more than the
// baselines' tolerance, 48, in any channel: text antialiasing differs a
// little between font renderer versions, and viewers smooth edges.
inline long long DifferingPixels(const QImage& a, const QImage& b) {
    const auto near = [](int p, int q) { return std::abs(p - q) <= 48; };
    long long differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differing +=
                !near(qRed(p), qRed(q)) || !near(qGreen(p), qGreen(q)) || !near(qBlue(p), qBlue(q));
        }
    }
    return differing;
}

// A path as the file functions take it, in the local 8-bit encoding.
inline std::string Local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Compares a picture with the one kept in the source tree as name.png: at
// most allowed pixels may differ (by DifferingPixels). A picture that fails
// is left in baseline-failures next to the test program;
// DEMLA_UPDATE_BASELINES=1 writes the kept picture afresh instead.
inline void ExpectKeptPicture(const QImage& actual, const QString& name, double allowed) {
    const QString path = QDir(DEMLA_BASELINE_DIR).filePath(name + ".png");
    if (qEnvironmentVariable("DEMLA_UPDATE_BASELINES") == "1") {
        ASSERT_TRUE(actual.save(path, "PNG")) << path.toStdString();
        return;
    }
    const QImage expected = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), actual.size()) << path.toStdString();
    const long long differing = DifferingPixels(actual, expected);
    if (differing > allowed) {
        const QDir failures(QCoreApplication::applicationDirPath() + "/baseline-failures");
        QDir().mkpath(failures.path());
        actual.save(failures.filePath(name + ".png"), "PNG");
        ADD_FAILURE() << differing << " pixels differ; see " << failures.path().toStdString();
    }
}
