#include "platform/PngWriter.h"
#include "platform/QtSurface.h"
#include "render/Surface.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>

namespace {

// A picture like a drawn map at the default export size: flat cells in a
// dozen colours, grid lines and a few lines of antialiased text on white.
const QImage& MapLikePicture() {
    static const QImage image = [] {
        QImage picture(1024, 720, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        QtSurface surface(painter);
        std::uint64_t state = 0x9E3779B97F4A7C15ull;
        for (int row = 0; row < 60; ++row) {
            for (int column = 0; column < 80; ++column) {
                state = state * 6364136223846793005ull + 1442695040888963407ull;
                const std::uint32_t level = (row / 5 + column / 8 + (state >> 62)) % 12;
                const Brush brush = Brush::Solid((0x102030u * (level + 1)) & 0xFFFFFFu);
                surface.FillRect(
                    DeviceRect{100 + column * 10, 60 + row * 10, 110 + column * 10, 70 + row * 10},
                    brush);
            }
        }
        for (int x = 100; x <= 900; x += 100) {
            surface.MoveTo(x, 60);
            surface.LineTo(x, 660);
        }
        for (int line = 0; line < 4; ++line) {
            const std::string text = "Mortality, Denmark, males " + std::to_string(line);
            surface.TextOut(120, 20 + line * 170, text);
        }
        return picture;
    }();
    return image;
}

void BM_WritePng(benchmark::State& state) {
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        benchmark::DoNotOptimize(WritePng(MapLikePicture(), buffer));
        state.counters["bytes"] = static_cast<double>(buffer.size());
    }
}
BENCHMARK(BM_WritePng)->Unit(benchmark::kMillisecond);

// Qt's own PNG writer at its default setting, for comparison.
void BM_QtPngWriter(benchmark::State& state) {
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        benchmark::DoNotOptimize(writer.write(MapLikePicture()));
        state.counters["bytes"] = static_cast<double>(buffer.size());
    }
}
BENCHMARK(BM_QtPngWriter)->Unit(benchmark::kMillisecond);

} // namespace
