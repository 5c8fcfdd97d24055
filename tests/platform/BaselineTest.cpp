#include "PlatformTestSupport.h"
#include "Scenes.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

// The scenes drawn into images are compared with images kept in the
// source tree. Text antialiasing differs a little between font renderer
// versions, so a pixel counts as different only when a channel is off by
// more than kChannelTolerance, and up to kDifferingShare of the pixels may
// differ. DEMLA_UPDATE_BASELINES=1 writes the kept images afresh instead.

namespace {

constexpr int kChannelTolerance = 48;
constexpr double kDifferingShare = 0.005;

bool Differs(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) > kChannelTolerance ||
           std::abs(qGreen(a) - qGreen(b)) > kChannelTolerance ||
           std::abs(qBlue(a) - qBlue(b)) > kChannelTolerance;
}

// The differing pixels in red over a faded copy of the expected image.
QImage DifferenceImage(const QImage& expected, const QImage& actual, long long& differing) {
    QImage difference(actual.size(), QImage::Format_RGB32);
    differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb want = expected.pixel(x, y);
            if (Differs(want, actual.pixel(x, y))) {
                ++differing;
                difference.setPixel(x, y, qRgb(255, 0, 0));
            } else {
                const int grey = 192 + qGray(want) / 4;
                difference.setPixel(x, y, qRgb(grey, grey, grey));
            }
        }
    }
    return difference;
}

QString BaselinePath(const std::string& name) {
    return QDir(DEMLA_BASELINE_DIR).filePath(QString::fromStdString(name) + ".png");
}

// Draws each scene and compares it with its kept picture.
void CompareWithBaselines(const std::vector<Scene>& scenes) {
    const bool update = qEnvironmentVariable("DEMLA_UPDATE_BASELINES") == "1";
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        Canvas canvas(scene.width, scene.height);
        scene.draw(canvas.Surface());
        const QImage actual = canvas.Image();
        const QString baselinePath = BaselinePath(scene.name);
        if (update) {
            ASSERT_TRUE(actual.save(baselinePath, "PNG")) << baselinePath.toStdString();
            continue;
        }
        const QImage expected = QImage(baselinePath).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(expected.isNull()) << "no baseline " << baselinePath.toStdString()
                                        << " (DEMLA_UPDATE_BASELINES=1 writes it)";
        ASSERT_EQ(expected.size(), actual.size());

        long long differing = 0;
        const QImage difference = DifferenceImage(expected, actual, differing);
        const double allowed = kDifferingShare * actual.width() * actual.height();
        if (differing > allowed) {
            const QDir out(QCoreApplication::applicationDirPath() + "/baseline-failures");
            QDir().mkpath(out.path());
            const QString actualPath =
                out.filePath(QString::fromStdString(scene.name) + "-actual.png");
            const QString differencePath =
                out.filePath(QString::fromStdString(scene.name) + "-difference.png");
            actual.save(actualPath, "PNG");
            difference.save(differencePath, "PNG");
            ADD_FAILURE() << differing << " pixels differ (at most " << allowed << " may); see "
                          << actualPath.toStdString() << " and " << differencePath.toStdString();
        }
    }
}

} // namespace

TEST(Baselines, ScenesDrawnIntoImagesMatchTheKeptPictures) {
    CompareWithBaselines(AllScenes());
}

TEST(Baselines, EveryCellShapeMatchesItsKeptPicture) {
    CompareWithBaselines(MapScenes());
}
