#include "PlatformTestSupport.h"
#include "Scenes.h"

#include <gtest/gtest.h>

// The scenes drawn into images must match the pictures kept in the source
// tree. Text antialiasing differs a little between font renderer versions,
// so a pixel counts as different only when a channel is off by more than
// 48, and in scenes with text up to 0.5 % of the pixels may differ. A
// failing scene leaves its picture in baseline-failures next to the test
// program; DEMLA_UPDATE_BASELINES=1 writes the kept pictures afresh.
static void CompareWithBaselines(const std::vector<Scene>& scenes) {
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        const QImage actual = Draw(scene.width, scene.height, kWhite, scene.draw);
        ExpectKeptPicture(actual, QString::fromStdString(scene.name),
                          scene.texts.empty() ? 0.0 : 0.005 * actual.width() * actual.height());
    }
}

TEST(Baselines, ScenesDrawnIntoImagesMatchTheKeptPictures) {
    CompareWithBaselines(AllScenes());
}

TEST(Baselines, EveryCellShapeMatchesItsKeptPicture) {
    CompareWithBaselines(MapScenes());
}
