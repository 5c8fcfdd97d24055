#include "PlatformTestSupport.h"
#include "Scenes.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>

// The scenes drawn into images must match the pictures kept in the source
// tree. Text antialiasing differs a little between font renderer versions,
// so a pixel counts as different only when a channel is off by more than
// 48, and in scenes with text up to 0.5 % of the pixels may differ. A
// failing scene leaves its picture in baseline-failures next to the test
// program; DEMLA_UPDATE_BASELINES=1 writes the kept pictures afresh.
static void CompareWithBaselines(const std::vector<Scene>& scenes) {
    const QDir failures(QCoreApplication::applicationDirPath() + "/baseline-failures");
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        const QString name = QString::fromStdString(scene.name);
        const QString path = QDir(DEMLA_BASELINE_DIR).filePath(name + ".png");
        const QImage actual = Draw(scene.width, scene.height, kWhite, scene.draw);
        if (qEnvironmentVariable("DEMLA_UPDATE_BASELINES") == "1") {
            ASSERT_TRUE(actual.save(path, "PNG")) << path.toStdString();
            continue;
        }
        const QImage expected = QImage(path).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(expected.size(), actual.size()) << path.toStdString();
        const long long differing = DifferingPixels(actual, expected);
        if (differing > (scene.texts.empty() ? 0.0 : 0.005 * actual.width() * actual.height())) {
            QDir().mkpath(failures.path());
            actual.save(failures.filePath(name + ".png"), "PNG");
            ADD_FAILURE() << differing << " pixels differ; see " << failures.path().toStdString();
        }
    }
}

TEST(Baselines, ScenesDrawnIntoImagesMatchTheKeptPictures) {
    CompareWithBaselines(AllScenes());
}

TEST(Baselines, EveryCellShapeMatchesItsKeptPicture) {
    CompareWithBaselines(MapScenes());
}
