#include "PlatformTestSupport.h"
#include "Scenes.h"

#include "platform/EmfSurface.h"
#include "platform/RenderToFile.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(RenderToFile, WritesEveryFormatByItsExtensionAndTheMetafileReadsBack) {
    QTemporaryDir dir;
    for (const Scene& scene : AllScenes()) {
        SCOPED_TRACE(scene.name);
        const QString base = dir.filePath(QString::fromStdString(scene.name));
        for (const auto& [extension, start] :
             {std::pair{".png", QByteArray("\x89PNG")}, std::pair{".BMP", QByteArray("BM")},
              std::pair{".svg", QByteArray("<?xml")}, std::pair{".pdf", QByteArray("%PDF")},
              std::pair{".emf", QByteArray("\x01\x00\x00\x00", 4)}}) {
            std::string error;
            ASSERT_TRUE(RenderToFile(Local(base + extension), scene.width, scene.height, scene.draw,
                                     &error))
                << extension << ": " << error;
            const QByteArray bytes = ReadAll(base + extension);
            EXPECT_TRUE(bytes.startsWith(start) && bytes.size() > 200) << extension;
        }
        // The bitmap has the picture's size and its white background, the
        // SVG its view box and the PDF one page of its size at 96 pixels per
        // inch, in points.
        const QImage bitmap(base + ".BMP");
        EXPECT_EQ(bitmap.size(), QSize(scene.width, scene.height));
        EXPECT_EQ(bitmap.pixel(scene.width - 1, scene.height - 1), qRgb(255, 255, 255));
        const QString svg = QString::fromUtf8(ReadAll(base + ".svg"));
        EXPECT_TRUE(
            svg.contains(QString("viewBox=\"0 0 %1 %2\"").arg(scene.width).arg(scene.height)));
        EXPECT_TRUE(
            QString::fromLatin1(ReadAll(base + ".pdf"))
                .contains(QRegularExpression(QString(R"(/MediaBox \[0 0 %1(\.0*)? %2(\.0*)?\])")
                                                 .arg(scene.width * 3 / 4)
                                                 .arg(scene.height * 3 / 4))));
        // emf2svg-conv reads the metafile back; its frame makes the picture
        // its size in pixels.
        QProcess converter;
        converter.start(QStandardPaths::findExecutable("emf2svg-conv"),
                        {"-i", base + ".emf", "-o", base + ".emf.svg"});
        ASSERT_TRUE(converter.waitForFinished(30000)) << "emf2svg-conv is not installed";
        ASSERT_EQ(converter.exitCode(), 0) << converter.readAllStandardError().toStdString();
        const QString fromEmf = QString::fromUtf8(ReadAll(base + ".emf.svg"));
        EXPECT_TRUE(fromEmf.contains(
            QString("width=\"%1.0000\" height=\"%2.0000\"").arg(scene.width).arg(scene.height)));
        for (const std::string& text : scene.texts) {
            EXPECT_TRUE(svg.contains(QString::fromStdString(text))) << text;
            EXPECT_TRUE(fromEmf.contains(QString("<![CDATA[%1]]>").arg(text.c_str()))) << text;
        }
        if (scene.name == "shapes") {
            // Lines come out as open paths, fills as closed ones, Rectangle
            // as rect; the null pen's line is left out.
            const auto count = [&](const char* pattern) {
                return fromEmf.count(QRegularExpression(pattern));
            };
            EXPECT_EQ(count("stroke-dasharray=\"[1-9]"), 4);
            EXPECT_EQ(count("<path d=\"M [^\"]*[0-9] \""), 5 + 5 + 1 + 3);
            EXPECT_EQ(count("<path d=\"M [^\"]*Z\""), 4 + 16 + 32 + 1);
            EXPECT_EQ(count("<rect "), 8);
        }
    }
}

TEST(RenderToFile, RefusesUnknownFormatsBadSizesAndUnwritablePaths) {
    QTemporaryDir dir;
    const auto draw = [](Surface& surface) { surface.FillRect({0, 0, 5, 5}, Brush::Solid(0)); };
    std::string error;
    EXPECT_FALSE(RenderToFile(Local(dir.filePath("map.gif")), 10, 10, draw, &error));
    EXPECT_NE(error.find(".png, .bmp, .svg, .pdf or .emf"), std::string::npos) << error;
    EXPECT_FALSE(QFile::exists(dir.filePath("map.gif")));
    EXPECT_FALSE(RenderToFile(Local(dir.filePath("map.png")), 0, 10, draw, &error));
    EXPECT_NE(error.find("0 x 10"), std::string::npos) << error;
    for (const char* name : {"map.png", "map.svg", "map.pdf", "map.emf"}) {
        const std::string path = std::string("/nonexistent-folder/") + name;
        EXPECT_FALSE(RenderToFile(path, 10, 10, draw, &error)) << name;
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
    EXPECT_FALSE(RenderToFile("no-extension", 10, 10, draw, nullptr));
    // A metafile that could not start takes a whole scene harmlessly.
    EmfSurface unrecorded(0, 100);
    AllScenes().at(0).draw(unrecorded);
    std::string bytes;
    EXPECT_FALSE(unrecorded.IsOpen() || unrecorded.Finish(bytes));
}
