#include "PlatformTestSupport.h"
#include "Scenes.h"

#include "platform/RenderToFile.h"
#include "render/ForwardingSurface.h"

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <span>
#include <string_view>

namespace {

QString ReadText(const QString& path) {
    return QString::fromUtf8(ReadAll(path));
}

// The SVG as a viewer shows it, antialiased, at its own size.
QImage Rasterise(const QString& svg, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(svg);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// Passes every call on to another surface, but cannot gather: what a
// surface draws cell by cell.
class OneByOne : public ForwardingSurface {
public:
    using ForwardingSurface::ForwardingSurface;
};

} // namespace

// Vector files carry one shape per level and one stroke for the contours,
// not one per run of cells, and show the same picture as the image.
TEST(VectorExports, GatherEachLevelIntoOneShape) {
    QTemporaryDir dir;
    for (const Scene& scene : MapScenes()) {
        SCOPED_TRACE(scene.name);
        const QString base = dir.filePath(QString::fromStdString(scene.name));
        std::string error;
        for (const char* extension : {".svg", ".emf", ".pdf"}) {
            ASSERT_TRUE(RenderToFile(Local(base + extension), scene.width, scene.height, scene.draw,
                                     &error))
                << error;
        }
        // Seven colours (six levels and the missing cells) and the contours.
        const QString svg = ReadText(base + ".svg");
        EXPECT_LE(svg.count("<path"), 7 + 1) << svg.count("<path");
        EXPECT_EQ(svg.count("<rect"), 0);
        ASSERT_TRUE(RenderToFile(
            Local(base + ".one.svg"), scene.width, scene.height,
            [&](Surface& surface) {
                OneByOne plain(surface);
                scene.draw(plain);
            },
            &error))
            << error;
        const QSize size(scene.width, scene.height);
        // Drawn in layers, the slanted edges between levels are smoothed
        // without a seam, and a contour joined along its line shows no
        // lighter dot where two cell edges met.
        EXPECT_LE(
            DifferingPixels(Rasterise(base + ".svg", size), Rasterise(base + ".one.svg", size)),
            scene.width * scene.height / 200);

        QProcess converter;
        converter.start(QStandardPaths::findExecutable("emf2svg-conv"),
                        {"-i", base + ".emf", "-o", base + ".emf.svg"});
        ASSERT_TRUE(converter.waitForFinished(30000)) << "emf2svg-conv is not installed";
        const QString fromEmf = ReadText(base + ".emf.svg");
        EXPECT_LE(fromEmf.count(QRegularExpression("<path d=\"M [^\"]*Z\"")), 7) << scene.name;
    }
}
