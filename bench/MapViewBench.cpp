#include "core/Prompt.h"
#include "document/ChartDocument.h"
#include "gui/CellLayerCache.h"
#include "platform/QtSurface.h"
#include "platform/RenderToFile.h"
#include "scale/MapScale.h"
#include "view/MapCommands.h"
#include "view/MapHits.h"
#include "view/MapViewState.h"
#include "view/StatusTexts.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

// What a map window does for its pictures. BM_MapViewPaint* paint the whole
// page cell by cell into an image of the window's size, as exports do; the
// window itself draws the cells from a picture it keeps of them
// (BM_MapViewRepaintKept*, *Move*, *Zoom*, *Window).

namespace {

class QuietPrompt : public Prompt {
public:
    PromptAnswer Ask(const std::string&, const std::string&, PromptButtons, PromptIcon) override {
        return PromptAnswer::Ok;
    }
};

QuietPrompt prompt;

// The bundled Danish male mortality map: 100 ages x 39 years, 13 levels,
// contour lines, a frame, a legend and annotations.
ChartDocument& Mortality() {
    static const std::unique_ptr<ChartDocument> document = [] {
        auto d = std::make_unique<ChartDocument>(prompt);
        d->Open(std::string(DEMLA_EXAMPLES_DIR) + "/dk-male-mortality.dml");
        return d;
    }();
    return *document;
}

// A mortality-like surface of size x size cells on 12 quantile boundaries,
// with contour lines, in a default frame.
std::unique_ptr<ChartDocument> MortalityLike(std::uint32_t size) {
    auto d = std::make_unique<ChartDocument>(prompt);
    d->DataMatrix = DMAT(size, size);
    std::mt19937 random(4711);
    std::normal_distribution<double> noise(0.0, 0.05);
    for (std::uint32_t c = 0; c < size; ++c) {
        for (std::uint32_t r = 0; r < size; ++r) {
            d->DataMatrix.Set(r, c, std::exp(-9.0 + 0.009 * r - 0.001 * c + noise(random)));
        }
    }
    MakeLinearScale(d->ScaleValues, 0, 1, 12);
    SmartScale(d->DataMatrix, d->ScaleValues, prompt);
    FitLevelColors(d->LevelColors, d->BoundaryCount(), d->MissingColor);
    for (std::uint32_t k = 0; k < 13; ++k) {
        d->LevelColors.Level(k) = MakeRGB(20 * k, 255 - 20 * k, 128);
    }
    ClassifyLevels(d->DataMatrix, d->ScaleValues, d->LevelMatrix);
    d->Legend.SyncWithScale(d->ScaleValues);
    d->Frame.x2 = size;
    d->Frame.y2 = size;
    d->ContourLines = true;
    return d;
}

ChartDocument& Large() {
    static const std::unique_ptr<ChartDocument> document = MortalityLike(1000);
    return *document;
}

ChartDocument& Larger() {
    static const std::unique_ptr<ChartDocument> document = MortalityLike(2000);
    return *document;
}

void PaintView(benchmark::State& state, ChartDocument& document) {
    MapViewState view;
    view.SetScreen({1920, 1080});
    view.Resize(1280, 1024);
    QImage picture(1280, 1024, QImage::Format_RGB32);
    for (auto _ : state) {
        picture.fill(Qt::white);
        QPainter painter(&picture);
        QtSurface surface(painter, DeviceTechnology::RasterDisplay);
        if (view.Paint(surface, document, false)) {
            state.SkipWithError("the paint failed");
            break;
        }
    }
}

void BM_MapViewPaintMortality(benchmark::State& state) {
    PaintView(state, Mortality());
}

void BM_MapViewPaintLarge(benchmark::State& state) {
    PaintView(state, Large());
}

MapViewState LargeView() {
    MapViewState view;
    view.SetScreen({1920, 1080});
    view.Resize(1280, 1024);
    return view;
}

// A mouse move over the 1000 x 1000 map: the cell hit, the data point and
// the eight status texts. The pointer walks over the plot so that the hit
// test meets different cells.
void BM_StatusReadoutLarge(benchmark::State& state) {
    ChartDocument& document = Large();
    const MapViewState view = LargeView();
    const IntPoint centre = view.ViewportCentre();
    int step = 0;
    for (auto _ : state) {
        const IntPoint point{centre.x - 200 + step % 400, centre.y - 150 + (step * 7) % 300};
        benchmark::DoNotOptimize(MapStatusAt(document, view.PageSystem(), point));
        ++step;
    }
}

// A context-menu edit on the 1000 x 1000 map up to the new picture: the
// class cut at a cell's value, the map classified again, the page painted.
// The edit is taken back between iterations, outside the timing.
void BM_InsertContourLineAndRepaint(benchmark::State& state) {
    ChartDocument& document = Large();
    MapViewState view = LargeView();
    const IntPoint centre = view.ViewportCentre();
    const std::optional<CellUnderPoint> cell = CellAt(document, view.PageSystem(), centre);
    if (!cell) {
        state.SkipWithError("no cell under the centre");
        return;
    }
    const MapEditState before = CaptureEditState(document);
    QImage picture(1280, 1024, QImage::Format_RGB32);
    for (auto _ : state) {
        InsertContourLine(document, *cell);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        QtSurface surface(painter, DeviceTechnology::RasterDisplay);
        view.Paint(surface, document, false);
        state.PauseTiming();
        RestoreEditState(document, before);
        state.ResumeTiming();
    }
}

// Export Bitmap and Copy As Bitmap of a 1280 x 1024 view of the 1000 x 1000
// map: the picture made in memory and encoded.
void BM_ExportBitmapLarge(benchmark::State& state) {
    ChartDocument& document = Large();
    MapViewState view = LargeView();
    for (auto _ : state) {
        std::optional<std::string> bytes = MakePicture("bmp", 1280, 1024, [&](Surface& surface) {
            view.pageOutline = false;
            view.Paint(surface, document, false);
        });
        benchmark::DoNotOptimize(bytes);
    }
}

// What monitor mode does on a signal, on the 1000 x 1000 map: read the
// setup and data files again, classify, paint.
void BM_MonitorReloadLarge(benchmark::State& state) {
    static const std::string folder = [] {
        std::string name = "/tmp/demla-bench-XXXXXX";
        if (::mkdtemp(name.data()) == nullptr) {
            return std::string();
        }
        std::FILE* data = std::fopen((name + "/large.csv").c_str(), "w");
        const DMAT& matrix = Large().DataMatrix;
        for (std::uint32_t r = 0; r < matrix.GetRows(); ++r) {
            for (std::uint32_t c = 0; c < matrix.GetColumns(); ++c) {
                std::fprintf(data, c == 0 ? "%.6g" : ",%.6g", matrix.Get(r, c));
            }
            std::fputs("\r\n", data);
        }
        std::fclose(data);
        std::FILE* setup = std::fopen((name + "/large.dml").c_str(), "w");
        std::fputs("[DATA]\r\nMapMatrix=large.csv;\r\n[MAP.SCALE]\r\nLinearScale={0,0.1,12};"
                   "\r\n[MAP.ATTRIBUTES]\r\nContourLines=Yes;\r\n",
                   setup);
        std::fclose(setup);
        return name;
    }();
    if (folder.empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    ChartDocument document(prompt);
    MapViewState view = LargeView();
    QImage picture(1280, 1024, QImage::Format_RGB32);
    for (auto _ : state) {
        document.Open(folder + "/large.dml");
        picture.fill(Qt::white);
        QPainter painter(&picture);
        QtSurface surface(painter, DeviceTechnology::RasterDisplay);
        view.Paint(surface, document, false);
    }
}

// What the window does for a picture: the page painted with the cells
// drawn through the picture it keeps of them.
class CachedWindow {
public:
    explicit CachedWindow(ChartDocument& document) : document_(document) {}

    // The document changed: the kept cells go.
    void Edited() { ++revision_; }

    bool Paint(MapViewState& view) {
        picture_.fill(Qt::white);
        QPainter painter(&picture_);
        const MapCellsDrawer cells = [&](Surface&, const PageCoordinateSystem& page,
                                         const MapPaintInput& map) {
            cells_.Draw(painter, {picture_.width(), picture_.height()}, page, map,
                        document_.MapType, revision_);
        };
        QtSurface surface(painter, DeviceTechnology::RasterDisplay);
        return !view.Paint(surface, document_, false, cells);
    }

    const CellLayerCache& Cells() const { return cells_; }

private:
    ChartDocument& document_;
    QImage picture_{1280, 1024, QImage::Format_RGB32};
    CellLayerCache cells_;
    std::uint64_t revision_ = 0;
};

// The window painted again with nothing changed (another window moved
// over it, a dialog closed): the kept cells are drawn as they are.
void BM_MapViewRepaintKeptLarge(benchmark::State& state) {
    MapViewState view = LargeView();
    CachedWindow window(Large());
    window.Paint(view);
    for (auto _ : state) {
        if (!window.Paint(view)) {
            state.SkipWithError("the paint failed");
            break;
        }
    }
}

// Moves with the arrow keys around the 1000 x 1000 map at twice the whole
// page's zoom, the plot reaching past the window: each picture is drawn
// from the kept cells where the grid moved by whole pixels, otherwise the
// cells are set again.
void BM_MapViewMoveLarge(benchmark::State& state) {
    MapViewState view = LargeView();
    view.lastClick = view.ViewportCentre();
    view.ZoomIn();
    CachedWindow window(Large());
    window.Paint(view);
    const MoveDirection moves[] = {MoveDirection::Right, MoveDirection::Down, MoveDirection::Left,
                                   MoveDirection::Up};
    std::size_t step = 0;
    std::int64_t kept = 0;
    for (auto _ : state) {
        view.Move(moves[step++ % 4]);
        if (!window.Paint(view)) {
            state.SkipWithError("the paint failed");
            break;
        }
        kept += window.Cells().LastDrawPainted() ? 0 : 1;
    }
    state.counters["kept"] =
        benchmark::Counter(static_cast<double>(kept), benchmark::Counter::kAvgIterations);
}

// Zooming in and out about the middle of the 1000 x 1000 map: every
// picture sets the cells at the new zoom.
void BM_MapViewZoomLarge(benchmark::State& state) {
    MapViewState view = LargeView();
    view.lastClick = view.ViewportCentre();
    CachedWindow window(Large());
    bool in = true;
    for (auto _ : state) {
        if (in) {
            view.ZoomIn();
        } else {
            view.ZoomOut();
        }
        in = !in;
        if (!window.Paint(view)) {
            state.SkipWithError("the paint failed");
            break;
        }
    }
}

// The context-menu edit as the window does it: the class cut, the map
// classified again, the kept cells dropped and the page painted.
void BM_InsertContourLineAndRepaintWindow(benchmark::State& state) {
    ChartDocument& document = Large();
    MapViewState view = LargeView();
    const std::optional<CellUnderPoint> cell =
        CellAt(document, view.PageSystem(), view.ViewportCentre());
    if (!cell) {
        state.SkipWithError("no cell under the centre");
        return;
    }
    const MapEditState before = CaptureEditState(document);
    CachedWindow window(document);
    window.Paint(view);
    for (auto _ : state) {
        InsertContourLine(document, *cell);
        window.Edited();
        window.Paint(view);
        state.PauseTiming();
        RestoreEditState(document, before);
        window.Edited();
        state.ResumeTiming();
    }
}

// The first picture of a 2000 x 2000 map in the window, nothing kept yet;
// BM_MapViewPaintLarger paints the same page cell by cell, as before.
void BM_MapViewFirstPaintLarger(benchmark::State& state) {
    MapViewState view = LargeView();
    for (auto _ : state) {
        CachedWindow window(Larger());
        if (!window.Paint(view)) {
            state.SkipWithError("the paint failed");
            break;
        }
    }
}

void BM_MapViewPaintLarger(benchmark::State& state) {
    PaintView(state, Larger());
}

} // namespace

BENCHMARK(BM_MapViewFirstPaintLarger)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapViewPaintLarger)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapViewRepaintKeptLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapViewMoveLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapViewZoomLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertContourLineAndRepaintWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportBitmapLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonitorReloadLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapViewPaintMortality)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapViewPaintLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatusReadoutLarge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertContourLineAndRepaint)->Unit(benchmark::kMillisecond);
