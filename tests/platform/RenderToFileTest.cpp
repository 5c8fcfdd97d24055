#include "Scenes.h"

#include "platform/RenderToFile.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(RenderToFile, WritesEveryFormatByItsExtension) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Scene& scene = AllScenes().at(1);
    struct Case {
        const char* name;
        QByteArray start; // what a file of the format starts with
    };
    for (const Case& c :
         {Case{"map.png", "\x89PNG"}, Case{"map.BMP", "BM"}, Case{"map.svg", "<?xml"},
          Case{"map.pdf", "%PDF"}, Case{"map.emf", QByteArray("\x01\x00\x00\x00", 4)}}) {
        const QString path = dir.filePath(c.name);
        std::string error;
        ASSERT_TRUE(RenderToFile(QFile::encodeName(path).toStdString(), scene.width, scene.height,
                                 scene.draw, &error))
            << c.name << ": " << error;
        const QByteArray bytes = ReadAll(path);
        EXPECT_TRUE(bytes.startsWith(c.start)) << c.name;
        EXPECT_GT(bytes.size(), 200) << c.name;
    }
    // The images have the picture's size and its white background.
    const QImage bitmap(dir.filePath("map.BMP"));
    EXPECT_EQ(bitmap.size(), QSize(scene.width, scene.height));
    EXPECT_EQ(bitmap.pixel(scene.width - 1, scene.height - 1), qRgb(255, 255, 255));
    const QByteArray svg = ReadAll(dir.filePath("map.svg"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 400 240\"")) << svg.left(400).toStdString();
    EXPECT_TRUE(svg.contains("Centre base"));
    // One page of 400 x 240 pixels at 96 per inch: 300 x 180 points.
    EXPECT_TRUE(QString::fromLatin1(ReadAll(dir.filePath("map.pdf")))
                    .contains(QRegularExpression(R"(/MediaBox \[0 0 300(\.0*)? 180(\.0*)?\])")));
}

TEST(RenderToFile, RefusesUnknownFormatsBadSizesAndUnwritablePaths) {
    QTemporaryDir dir;
    const auto draw = [](Surface& surface) { surface.FillRect({0, 0, 5, 5}, Brush::Solid(0)); };
    std::string error;
    const std::string gif = QFile::encodeName(dir.filePath("map.gif")).toStdString();
    EXPECT_FALSE(RenderToFile(gif, 10, 10, draw, &error));
    EXPECT_NE(error.find(".png, .bmp, .svg, .pdf or .emf"), std::string::npos) << error;
    EXPECT_FALSE(QFile::exists(dir.filePath("map.gif")));

    error.clear();
    EXPECT_FALSE(RenderToFile(QFile::encodeName(dir.filePath("map.png")).toStdString(), 0, 10, draw,
                              &error));
    EXPECT_NE(error.find("0 x 10"), std::string::npos) << error;

    for (const char* name : {"map.png", "map.svg", "map.pdf", "map.emf"}) {
        error.clear();
        const std::string path = std::string("/nonexistent-folder/") + name;
        EXPECT_FALSE(RenderToFile(path, 10, 10, draw, &error)) << name;
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    EXPECT_FALSE(RenderToFile("no-extension", 10, 10, draw, nullptr));
}
