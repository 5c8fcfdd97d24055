#include "PlatformTestSupport.h"
#include "Scenes.h"

#include "platform/RenderToFile.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

// Vector files are looked at in the programs people put them into: an
// office suite for EMF and SVG, a browser-grade renderer for SVG and a PDF
// viewer, at their own size and enlarged. Where two shapes only abut,
// such a viewer lets the background show through as a light line along
// the cell edges; none may appear, and at the file's own size the picture
// must be the image's.

namespace {

// A picture made by an outside converter from one of the files.
struct Converted {
    std::string label;
    QString path;
};

// Runs a converter with home set to the given folder, so that it keeps
// whatever it writes there; an empty text when it succeeded.
std::string RunTool(const QString& program, const QStringList& arguments, const QString& home) {
    const QString executable = QStandardPaths::findExecutable(program);
    if (executable.isEmpty()) {
        return program.toStdString() + " is not installed (scripts/bootstrap installs it)";
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(executable, arguments);
    constexpr int timeoutMs = 180000;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return program.toStdString() + " failed: " + process.readAll().toStdString();
    }
    return {};
}

// The picture as it shows on a white page.
QImage LoadOnWhite(const QString& path) {
    const QImage loaded(path);
    QImage image(loaded.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).drawImage(0, 0, loaded);
    return image;
}

int Brightness(QRgb pixel) {
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel);
}

// The rows (or with columns, the columns) of pixels inside the area that are
// brighter than both their neighbours over more than half their length.
std::vector<int> SeamLines(const QImage& image, const QRect& area, bool columns) {
    std::vector<int> seams;
    const int lines = columns ? area.width() : area.height();
    const int length = columns ? area.height() : area.width();
    auto at = [&](int line, int along) {
        return columns ? Brightness(image.pixel(area.left() + line, area.top() + along))
                       : Brightness(image.pixel(area.left() + along, area.top() + line));
    };
    for (int line = 1; line + 1 < lines; ++line) {
        int brighter = 0;
        for (int along = 0; along < length; ++along) {
            const int value = at(line, along);
            // A step of one in each channel is rounding, not a seam.
            brighter += value > at(line - 1, along) + 3 && value > at(line + 1, along) + 3;
        }
        if (2 * brighter > length) {
            seams.push_back(line);
        }
    }
    return seams;
}

QRect PaintedArea(const QImage& image) {
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::min({qRed(p), qGreen(p), qBlue(p)}) < 245) {
                area |= QRect(x, y, 1, 1);
            }
        }
    }
    return area;
}

class VectorSeams : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString Path(const QString& name) const { return dir_.filePath(name); }

    std::string Convert(const QString& program, const QStringList& arguments) const {
        return RunTool(program, arguments, dir_.path());
    }

    // Every shape as EMF, SVG and PDF, and as the image they must match.
    void RenderScenes() {
        for (const Scene& scene : MapScenesWithoutContours()) {
            const QString name = QString::fromStdString(scene.name);
            std::string error;
            for (const char* extension : {".emf", ".svg", ".pdf"}) {
                ASSERT_TRUE(RenderToFile(Local(Path(name + extension)), scene.width, scene.height,
                                         scene.draw, &error))
                    << error;
            }
            // The office suite names its picture after the file; the SVG
            // goes in under a name of its own.
            ASSERT_TRUE(QFile::copy(Path(name + ".svg"), Path(name + "-svg.svg")));
            images_[scene.name] = Draw(scene.width, scene.height, kWhite, scene.draw);
        }
    }

    QTemporaryDir dir_;
    std::map<std::string, QImage> images_;
};

} // namespace

TEST_F(VectorSeams, NoShapeShowsASeamInAnyViewerAtAnyZoom) {
    RenderScenes();
    std::vector<Converted> pictures;
    QStringList officeInputs;
    for (const Scene& scene : MapScenesWithoutContours()) {
        const QString name = QString::fromStdString(scene.name);
        officeInputs << Path(name + ".emf") << Path(name + "-svg.svg");
        pictures.push_back(
            {scene.name + " EMF in the office suite", Path("office/" + name + ".png")});
        pictures.push_back(
            {scene.name + " SVG in the office suite", Path("office/" + name + "-svg.png")});
        for (const char* zoom : {"1", "1.5", "3"}) {
            const QString out = Path(name + "-rsvg-" + zoom + ".png");
            ASSERT_EQ(Convert("rsvg-convert", {"-z", zoom, "-o", out, Path(name + ".svg")}), "");
            pictures.push_back({scene.name + " SVG at zoom " + zoom, out});
        }
        for (const char* dpi : {"72", "137", "300"}) {
            const QString out = Path(name + "-pdf-" + dpi);
            ASSERT_EQ(
                Convert("pdftoppm", {"-r", dpi, "-png", "-singlefile", Path(name + ".pdf"), out}),
                "");
            pictures.push_back({scene.name + " PDF at " + std::string(dpi) + " dpi", out + ".png"});
        }
    }
    // A profile folder of its own keeps the office suite from the user's.
    ASSERT_EQ(Convert("soffice",
                      QStringList{"-env:UserInstallation=file://" + Path("profile"), "--headless",
                                  "--convert-to", "png", "--outdir", Path("office")} +
                          officeInputs),
              "");

    for (const Converted& picture : pictures) {
        SCOPED_TRACE(picture.label);
        const QImage image = LoadOnWhite(picture.path);
        ASSERT_FALSE(image.isNull()) << picture.path.toStdString();
        // The scenes draw nothing but the plot, so the plot is where the
        // picture is not white, wherever the converter put it on its page.
        const QRect plot = PaintedArea(image).adjusted(3, 3, -3, -3);
        ASSERT_GT(plot.width(), 20);
        ASSERT_GT(plot.height(), 20);
        const std::vector<int> rows = SeamLines(image, plot, false);
        const std::vector<int> columns = SeamLines(image, plot, true);
        EXPECT_TRUE(rows.empty()) << rows.size() << " rows, the first " << rows.front()
                                  << " below the top of the plot";
        EXPECT_TRUE(columns.empty()) << columns.size() << " columns, the first " << columns.front()
                                     << " from the left of the plot";
    }
}

TEST_F(VectorSeams, AtTheirOwnSizeTheFilesShowTheImage) {
    RenderScenes();
    for (const Scene& scene : MapScenesWithoutContours()) {
        SCOPED_TRACE(scene.name);
        const QString name = QString::fromStdString(scene.name);
        ASSERT_EQ(Convert("rsvg-convert", {"-o", Path(name + "-own.png"), Path(name + ".svg")}),
                  "");
        // The PDF's pixels are at 96 dots per inch.
        ASSERT_EQ(Convert("pdftoppm", {"-r", "96", "-png", "-singlefile", Path(name + ".pdf"),
                                       Path(name + "-pdf-own")}),
                  "");
        const QImage& image = images_[scene.name];
        for (const QString& path : {Path(name + "-own.png"), Path(name + "-pdf-own.png")}) {
            // The page size in points may round up to one pixel more.
            const QImage shown = LoadOnWhite(path).copy(0, 0, image.width(), image.height());
            ASSERT_FALSE(shown.isNull()) << path.toStdString();
            // Rectangles lie on the pixel grid, and an SVG viewer shows
            // them exactly. Otherwise, the baseline tolerance: a viewer
            // smooths the slanted edges that an image leaves sharp, and the
            // PDF renderer lets a few thin fills on the plot's border bleed
            // a fifth into the pixel beyond.
            const bool exact = scene.name == "rectangle" && path.endsWith("-own.png") &&
                               !path.endsWith("-pdf-own.png");
            const long long allowed = exact ? 0 : image.width() * image.height() / 200;
            EXPECT_LE(DifferingPixels(shown, image), allowed) << path.toStdString();
        }
    }
}
