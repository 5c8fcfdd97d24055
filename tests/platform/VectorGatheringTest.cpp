#include "PlatformTestSupport.h"
#include "Scenes.h"

#include "platform/RenderToFile.h"

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
// surface draws without gathering.
class OneByOne : public Surface {
public:
    explicit OneByOne(Surface& target) : target_(target) {}
    Pen SelectPen(Pen pen) override { return target_.SelectPen(pen); }
    Brush SelectBrush(Brush brush) override { return target_.SelectBrush(brush); }
    DeviceFont SelectFont(DeviceFont font) override { return target_.SelectFont(font); }
    std::uint32_t SetTextAlign(std::uint32_t flags) override { return target_.SetTextAlign(flags); }
    std::int32_t SetBkMode(std::int32_t mode) override { return target_.SetBkMode(mode); }
    std::uint32_t SetTextColor(std::uint32_t color) override { return target_.SetTextColor(color); }
    std::uint32_t SetBkColor(std::uint32_t color) override { return target_.SetBkColor(color); }
    RasterOp SetROP2(RasterOp op) override { return target_.SetROP2(op); }
    void FillRect(const DeviceRect& rect, Brush brush) override { target_.FillRect(rect, brush); }
    void FillPolygon(std::span<const IntPoint> points, Brush brush) override {
        target_.FillPolygon(points, brush);
    }
    void MoveTo(std::int32_t x, std::int32_t y) override { target_.MoveTo(x, y); }
    void LineTo(std::int32_t x, std::int32_t y) override { target_.LineTo(x, y); }
    void Polyline(std::span<const IntPoint> points) override { target_.Polyline(points); }
    void Rectangle(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) override {
        target_.Rectangle(l, t, r, b);
    }
    void TextOut(std::int32_t x, std::int32_t y, std::string_view text) override {
        target_.TextOut(x, y, text);
    }
    IntSize GetTextExtent(std::string_view text) override { return target_.GetTextExtent(text); }
    std::int32_t GetDeviceCaps(DeviceCap cap) override { return target_.GetDeviceCaps(cap); }
    std::int32_t GetMapMode() override { return target_.GetMapMode(); }

private:
    Surface& target_;
};

long long DifferingPixels(const QImage& a, const QImage& b) {
    long long differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differing += std::abs(qRed(p) - qRed(q)) > 48 || std::abs(qGreen(p) - qGreen(q)) > 48 ||
                         std::abs(qBlue(p) - qBlue(q)) > 48;
        }
    }
    return differing;
}

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
        EXPECT_EQ(
            DifferingPixels(Rasterise(base + ".svg", size), Rasterise(base + ".one.svg", size)), 0);

        QProcess converter;
        converter.start(QStandardPaths::findExecutable("emf2svg-conv"),
                        {"-i", base + ".emf", "-o", base + ".emf.svg"});
        ASSERT_TRUE(converter.waitForFinished(30000)) << "emf2svg-conv is not installed";
        const QString fromEmf = ReadText(base + ".emf.svg");
        EXPECT_LE(fromEmf.count(QRegularExpression("<path d=\"M [^\"]*Z\"")), 7) << scene.name;
    }
}
