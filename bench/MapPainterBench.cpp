#include "core/DMAT.h"
#include "core/LException.h"
#include "core/Prompt.h"
#include "core/WMAT.h"
#include "map/MapPainterFactory.h"
#include "platform/QtSurface.h"
#include "render/FillGathering.h"
#include "render/PageCoordinateSystem.h"
#include "render/RectOutline.h"
#include "render/SegmentJoiner.h"
#include "render/Surface.h"
#include "scale/LRGBColorVect.h"
#include "scale/MapScale.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <random>

namespace {

// A surface that draws nothing and only counts the drawing calls, so that
// the figures are the painters' own work.
class CountingSurface : public Surface {
public:
    Pen SelectPen(Pen pen) override { return std::exchange(pen_, pen); }
    Brush SelectBrush(Brush brush) override { return std::exchange(brush_, brush); }
    DeviceFont SelectFont(DeviceFont font) override { return font; }
    std::uint32_t SetTextAlign(std::uint32_t flags) override { return flags; }
    std::int32_t SetBkMode(std::int32_t mode) override { return mode; }
    std::uint32_t SetTextColor(std::uint32_t color) override { return color; }
    std::uint32_t SetBkColor(std::uint32_t color) override { return color; }
    RasterOp SetROP2(RasterOp op) override { return op; }
    void FillRect(const DeviceRect&, Brush) override { ++fills; }
    void FillPolygon(std::span<const IntPoint>, Brush) override { ++fills; }
    void MoveTo(std::int32_t, std::int32_t) override { ++moves; }
    void LineTo(std::int32_t, std::int32_t) override { ++lines; }
    void Polyline(std::span<const IntPoint>) override {}
    void Rectangle(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void TextOut(std::int32_t, std::int32_t, std::string_view) override {}
    IntSize GetTextExtent(std::string_view) override { return {}; }
    std::int32_t GetDeviceCaps(DeviceCap) override { return 0; }
    std::int32_t GetMapMode() override { return MapMode::Text; }

    std::int64_t fills = 0;
    std::int64_t moves = 0;
    std::int64_t lines = 0;

private:
    Pen pen_;
    Brush brush_;
};

// Counts as well what a vector file gets: the corners of every level's
// outline, traced as the vector surfaces trace them.
class GatheringCountingSurface : public CountingSurface, public FillGathering {
public:
    bool BeginGathering() override { return true; }
    void EndGathering() override {}
    void FillRects(std::span<const DeviceRect> rects, Brush) override {
        corners += static_cast<std::int64_t>(OutlineOfRects(rects).corners.size());
    }
    std::int64_t corners = 0;
};

class SilentPrompt : public Prompt {
public:
    PromptAnswer Ask(const std::string&, const std::string&, PromptButtons, PromptIcon) override {
        return PromptAnswer::Ok;
    }
};

constexpr std::uint32_t kSize = 1000;
constexpr std::uint32_t kBoundaries = 12;

// A 1000 x 1000 map classified on 12 quantile boundaries. Smooth: a
// mortality-like surface, log rates rising with age and falling with time,
// with a little noise, so levels form bands. Noisy: uniform random values,
// nearly every cell its own run, the worst case.
struct BenchMap {
    DMAT data;
    WMAT levels;
    LRGBColorVect colors;

    explicit BenchMap(bool smooth) : data(kSize, kSize), colors(kBoundaries + 2) {
        std::mt19937 random(4711);
        std::normal_distribution<double> noise(0.0, 0.05);
        std::uniform_real_distribution<double> uniform(0.0, 1.0);
        for (std::uint32_t c = 0; c < kSize; ++c) {
            for (std::uint32_t r = 0; r < kSize; ++r) {
                const double age = r / 10.0;
                const double year = c / 10.0;
                data.Set(r, c,
                         smooth ? std::exp(-9.0 + 0.09 * age - 0.01 * year + noise(random))
                                : uniform(random));
            }
        }
        SilentPrompt prompt;
        DMAT scale;
        MakeLinearScale(scale, 0, 1, kBoundaries);
        SmartScale(data, scale, prompt);
        ClassifyLevels(data, scale, levels);
        for (std::uint32_t k = 0; k < kBoundaries + 2; ++k) {
            colors.Level(k) = MakeRGB(20 * k, 255 - 20 * k, 128);
        }
    }
};

const BenchMap& Map(bool smooth) {
    static const BenchMap smoothMap(true);
    static const BenchMap noisyMap(false);
    return smooth ? smoothMap : noisyMap;
}

// An A4 landscape page fitted into a 1024 x 720 view (units square, the
// page centred), with a plot of 200 x 150 mm: about 686 x 514 pixels.
PageCoordinateSystem ViewPage() {
    const double d = (1024.0 / (720.0 / 2100.0) - 2970.0) * 0.5;
    return PageCoordinateSystem(-d, 2970.0 + d, 0.0, 2100.0, 0, 1024, 720, 0);
}

MapPaintInput Input(const BenchMap& map) {
    return MapPaintInput{map.levels,
                         map.data,
                         kBoundaries,
                         map.colors,
                         MapPlotRect{400, 300, 2000, 1500},
                         ContourSettings{true, 3.0, 0}};
}

// Which of a painter's two operations a benchmark times.
using PaintOperation = void (MapPainter::*)(Surface&, const PageCoordinateSystem&,
                                            const MapPaintInput&) const;

// Paints the map of the benchmark's arguments (map type 0 .. 6, then 1 for
// the smooth map or 0 for the noisy one) on the surface, again and again.
void RunPaint(benchmark::State& state, Surface& surface, PaintOperation paint) {
    const auto painter = MakeMapPainter(static_cast<std::uint32_t>(state.range(0)));
    const MapPaintInput input = Input(Map(state.range(1) != 0));
    const PageCoordinateSystem page = ViewPage();
    for (auto _ : state) {
        ((*painter).*paint)(surface, page, input);
    }
}

// The painters' own work: the surface only counts the calls.
void BM_PaintCells(benchmark::State& state) {
    CountingSurface surface;
    RunPaint(state, surface, &MapPainter::PaintCells);
    state.counters["fills"] =
        benchmark::Counter(static_cast<double>(surface.fills) / state.iterations());
}

void BM_PaintContours(benchmark::State& state) {
    CountingSurface surface;
    RunPaint(state, surface, &MapPainter::PaintContours);
    state.counters["segments"] =
        benchmark::Counter(static_cast<double>(surface.lines) / state.iterations());
}

// What a vector export costs the painters: the cells in layers, each
// level's outline traced, and the contours joined along their lines.
void BM_PaintCellsInLayers(benchmark::State& state) {
    GatheringCountingSurface surface;
    RunPaint(state, surface, &MapPainter::PaintCellsInLayers);
    state.counters["corners"] =
        benchmark::Counter(static_cast<double>(surface.corners) / state.iterations());
}

void BM_PaintContoursJoined(benchmark::State& state) {
    CountingSurface counted;
    {
        SegmentJoiner surface(counted);
        RunPaint(state, surface, &MapPainter::PaintContours);
    }
    state.counters["lines"] =
        benchmark::Counter(static_cast<double>(counted.lines) / state.iterations());
}

// The same into a real 1024 x 720 image through Qt's painter: what a map
// window or a PNG export costs.
void RunPaintQt(benchmark::State& state, PaintOperation paint) {
    QImage image(1024, 720, QImage::Format_RGB32);
    QPainter qpainter(&image);
    QtSurface surface(qpainter);
    RunPaint(state, surface, paint);
}

void BM_PaintCellsQt(benchmark::State& state) {
    RunPaintQt(state, &MapPainter::PaintCells);
}
void BM_PaintContoursQt(benchmark::State& state) {
    RunPaintQt(state, &MapPainter::PaintContours);
}

void AllShapes(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"type", "smooth"});
    for (int smooth : {1, 0}) {
        for (int type = 0; type <= 6; ++type) {
            bench->Args({type, smooth});
        }
    }
    bench->Unit(benchmark::kMillisecond);
}

// A map of one row or one column of ten million cells whose level changes
// at nearly every cell, drawn whole (cells, then contours) into the Qt
// image: far more cell edges than pixels. Arguments: the map type, then 1
// for one row or 0 for one column.
struct LongMap {
    WMAT levels;
    DMAT data;
    LRGBColorVect colors{kBoundaries + 2};
    explicit LongMap(bool oneRow) {
        constexpr std::uint32_t kCells = 10'000'000;
        levels = WMAT(oneRow ? 1 : kCells, oneRow ? kCells : 1);
        data = DMAT(levels.GetRows(), levels.GetColumns());
        std::mt19937 random(7);
        for (std::uint32_t k = 0; k < kCells; ++k) {
            levels.Data()[k] = static_cast<std::uint16_t>(random() % kBoundaries);
            data.Data()[k] = levels.Data()[k];
        }
        for (std::uint32_t k = 0; k < kBoundaries + 2; ++k) {
            colors.Level(k) = MakeRGB(20 * k, 255 - 20 * k, 128);
        }
    }
};

void BM_DrawLongMapQt(benchmark::State& state) {
    const bool oneRow = state.range(1) != 0;
    static const LongMap row(true);
    static const LongMap column(false);
    const LongMap& map = oneRow ? row : column;
    const auto painter = MakeMapPainter(static_cast<std::uint32_t>(state.range(0)));
    const MapPaintInput input{
        map.levels, map.data, kBoundaries, map.colors, {400, 300, 2000, 1500}, {true, 3.0, 0}};
    QImage image(1024, 720, QImage::Format_RGB32);
    QPainter qpainter(&image);
    QtSurface surface(qpainter);
    const PageCoordinateSystem page = ViewPage();
    for (auto _ : state) {
        try {
            painter->Draw(surface, page, input);
        } catch (const LException&) {
            // Triangles need two columns: one column is no map of theirs.
            state.SkipWithError("the shape cannot show this map");
            break;
        }
    }
}

void LongShapes(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"type", "row"});
    for (int row : {1, 0}) {
        for (int type = 0; type <= 6; ++type) {
            bench->Args({type, row});
        }
    }
    bench->Unit(benchmark::kMillisecond)->Iterations(1);
}

BENCHMARK(BM_DrawLongMapQt)->Apply(LongShapes);
BENCHMARK(BM_PaintCells)->Apply(AllShapes);
BENCHMARK(BM_PaintContours)->Apply(AllShapes);
BENCHMARK(BM_PaintCellsInLayers)->Apply(AllShapes);
BENCHMARK(BM_PaintContoursJoined)->Apply(AllShapes);
BENCHMARK(BM_PaintCellsQt)->Apply(AllShapes);
BENCHMARK(BM_PaintContoursQt)->Apply(AllShapes);

} // namespace
