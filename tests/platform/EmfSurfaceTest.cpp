#include "Scenes.h"

#include "platform/EmfSurface.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kCreatePen = 38;
constexpr std::uint32_t kCreateBrushIndirect = 39;
constexpr std::uint32_t kExtTextOutA = 83;

std::uint32_t Word(const QByteArray& bytes, qsizetype offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes.at(offset + i));
    }
    return value;
}

// The records of a metafile: each record's bytes, type and size first.
std::vector<QByteArray> ReadRecords(const QString& path, std::uint32_t type) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    std::vector<QByteArray> records;
    for (qsizetype at = 0; at + 8 <= bytes.size();) {
        const qsizetype size = Word(bytes, at + 4);
        if (size < 8 || at + size > bytes.size()) {
            ADD_FAILURE() << "broken record at " << at;
            break;
        }
        if (Word(bytes, at) == type) {
            records.push_back(bytes.mid(at, size));
        }
        at += size;
    }
    return records;
}

QString ConvertToSvg(const QString& emfPath) {
    const QString converter = QStandardPaths::findExecutable("emf2svg-conv");
    if (converter.isEmpty()) {
        ADD_FAILURE() << "emf2svg-conv is not installed (the bootstrap script installs it)";
        return {};
    }
    QProcess process;
    process.start(converter, {"-i", emfPath, "-o", emfPath + ".svg"});
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QFile svg(emfPath + ".svg");
    EXPECT_TRUE(svg.open(QIODevice::ReadOnly));
    return QString::fromUtf8(svg.readAll());
}

int Count(const QString& text, const QString& pattern) {
    return static_cast<int>(text.count(QRegularExpression(pattern)));
}

QString DrawScene(const QTemporaryDir& dir, const Scene& scene) {
    const QString path = dir.filePath(QString::fromStdString(scene.name) + ".emf");
    EmfSurface surface(QFile::encodeName(path).toStdString(), scene.width, scene.height);
    EXPECT_TRUE(surface.IsOpen());
    scene.draw(surface);
    EXPECT_TRUE(surface.Close());
    return path;
}

} // namespace

TEST(EmfSurface, ScenesConvertToSvgWithTheirLinesShapesAndTexts) {
    QTemporaryDir dir;
    for (const Scene& scene : AllScenes()) {
        SCOPED_TRACE(scene.name);
        const QString svg = ConvertToSvg(DrawScene(dir, scene));
        // The frame makes the picture its size in pixels.
        EXPECT_TRUE(svg.contains(
            QString("width=\"%1.0000\" height=\"%2.0000\"").arg(scene.width).arg(scene.height)));
        for (const std::string& text : scene.texts) {
            EXPECT_TRUE(svg.contains(QString("<![CDATA[%1]]>").arg(text.c_str()))) << text;
        }
        if (scene.name != "shapes") {
            continue;
        }
        // Lines come out as open paths, fills as closed ones, Rectangle as
        // rect; the null pen's line is left out.
        EXPECT_EQ(Count(svg, "stroke-dasharray=\"[1-9]"), 4);
        EXPECT_EQ(Count(svg, "<path d=\"M [^\"]*[0-9] \""), 5 + 5 + 1 + 3);
        EXPECT_EQ(Count(svg, "<path d=\"M [^\"]*Z\""), 4 + 16 + 32 + 1);
        EXPECT_EQ(Count(svg, "<rect "), 8);
    }
}

TEST(EmfSurface, RecordsHoldHatchesPenWidthsAndTextAdvances) {
    QTemporaryDir dir;
    const QString shapes = DrawScene(dir, AllScenes().at(0));
    // The converter shows neither hatches nor pen widths: read the records
    // (object index, then the LOGBRUSH or LOGPEN).
    std::set<std::uint32_t> hatches;
    for (const QByteArray& brush : ReadRecords(shapes, kCreateBrushIndirect)) {
        if (Word(brush, 12) == 2) { // BS_HATCHED
            hatches.insert(Word(brush, 20));
        }
    }
    EXPECT_EQ(hatches, (std::set<std::uint32_t>{0, 1, 2, 3, 4, 5}));
    std::set<std::uint32_t> widths;
    for (const QByteArray& pen : ReadRecords(shapes, kCreatePen)) {
        widths.insert(Word(pen, 16));
    }
    EXPECT_EQ(widths, (std::set<std::uint32_t>{0, 1, 2, 3, 5, 8}));

    // Every character carries its advance, and they add up to the extent.
    const QString path = dir.filePath("text.emf");
    EmfSurface surface(QFile::encodeName(path).toStdString(), 200, 50);
    FontRecord font = FontRecord::DefaultTextFont();
    font.height = -17;
    surface.SelectFont(DeviceFont{font});
    const IntSize extent = surface.GetTextExtent("Width of this");
    surface.TextOut(5, 5, "Width of this");
    ASSERT_TRUE(surface.Close());
    const std::vector<QByteArray> texts = ReadRecords(path, kExtTextOutA);
    ASSERT_EQ(texts.size(), 1u);
    // After the bounds, graphics mode and scales: reference point, count,
    // string offset, options, rectangle, advances offset.
    const std::uint32_t count = Word(texts[0], 44);
    const std::uint32_t dxOffset = Word(texts[0], 72);
    ASSERT_EQ(count, 13u);
    ASSERT_NE(dxOffset, 0u);
    std::int64_t sum = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        sum += static_cast<std::int32_t>(Word(texts[0], dxOffset + 4 * i));
    }
    EXPECT_EQ(sum, extent.width);
    EXPECT_GT(extent.width, 60);
}

TEST(EmfSurface, AnUnwritablePathLeavesTheSurfaceClosedAndHarmless) {
    EmfSurface surface("/nonexistent-folder/x.emf", 100, 100);
    EXPECT_FALSE(surface.IsOpen());
    AllScenes().at(0).draw(surface);
    EXPECT_FALSE(surface.Close());
}
