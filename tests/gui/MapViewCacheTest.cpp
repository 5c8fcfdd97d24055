#include "document/ChartDocument.h"
#include "gui/Commands.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"
#include "platform/QtSurface.h"
#include "scale/MapScale.h"

#include <QPainter>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

// The window keeps the picture of its cells between paints and draws moves
// from it; what it shows must stay what a paint of the whole page straight
// onto an image of the window's size gives, which is what the exports draw.

namespace {

// The pixels that differ by more than the baselines' tolerance (48 in any
// channel).
long long DifferingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return std::max<long long>(1, static_cast<long long>(a.width()) * a.height());
    }
    const auto near = [](int p, int q) { return std::abs(p - q) <= 48; };
    long long differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            differing += !near(qRed(p[x]), qRed(q[x])) || !near(qGreen(p[x]), qGreen(q[x])) ||
                         !near(qBlue(p[x]), qBlue(q[x]));
        }
    }
    return differing;
}

// A 300 x 240 surface with noise across its class boundaries, so that
// cells are smaller than a pixel at the whole page and contour lines are
// ragged.
void WriteNoisyMap(const std::string& folder) {
    std::FILE* data = std::fopen((folder + "/noisy.csv").c_str(), "w");
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.05);
    for (int r = 0; r < 300; ++r) {
        for (int c = 0; c < 240; ++c) {
            std::fprintf(data, c == 0 ? "%.6g" : ",%.6g",
                         std::exp(-9.0 + 0.03 * r - 0.004 * c + noise(random)));
        }
        std::fputs("\n", data);
    }
    std::fclose(data);
    std::FILE* setup = std::fopen((folder + "/noisy.dml").c_str(), "w");
    std::fputs("[DATA]\nMapMatrix=noisy.csv;\n[MAP.SCALE]\nLinearScale={0,0.01,10};\n"
               "[MAP.ATTRIBUTES]\nContourLines=Yes;\n",
               setup);
    std::fclose(setup);
}

class MapViewCache : public ::testing::TestWithParam<const char*> {
protected:
    MapViewCache() {
        WriteNoisyMap(folder.Path());
        window.resize(1200, 900);
        window.show();
        map = dynamic_cast<MapView*>(window.OpenFile(folder.File(GetParam()), ViewKind::Map));
        QApplication::processEvents();
    }
    ~MapViewCache() override {
        BoxAnswers answers;
        answers.Then(QMessageBox::No);
        window.CloseAll();
    }

    ChartDocument& Document() { return map->Entry().Document(); }

    // What the window shows now, painted through its kept cells.
    QImage Shown() { return map->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The same view painted cell by cell, as an export paints it.
    QImage Direct() {
        QImage image(map->size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QtSurface surface(painter, DeviceTechnology::RasterDisplay);
        EXPECT_FALSE(map->State().Paint(surface, Document(), false));
        return image;
    }

    // The window's picture is the direct paint's; a trace names the step.
    void ExpectSame(const char* step) {
        const QImage shown = Shown();
        SCOPED_TRACE(std::string(step) +
                     (map->Cells().LastDrawPainted() ? " (cells painted)" : " (cells kept)"));
        const QImage direct = Direct();
        EXPECT_EQ(DifferingPixels(shown, direct), 0);
    }

    ExampleFolder folder;
    MainWindow window;
    MapView* map = nullptr;
};

TEST_P(MapViewCache, MovesAndZoomsShowWhatADirectPaintShows) {
    ASSERT_NE(map, nullptr);
    ExpectSame("opened");
    ASSERT_TRUE(map->Cells().IsValid());
    // A paint of the same view draws the kept cells.
    ASSERT_TRUE(map->Execute(Cmd::ShowPlot));
    ASSERT_TRUE(map->Execute(Cmd::ShowPlot));
    ExpectSame("plot hidden and shown");
    EXPECT_FALSE(map->Cells().LastDrawPainted());
    // Eight moves around the page, the plot partly out of the window: the
    // kept cells are drawn where the grid moved by whole pixels.
    for (const int command : {Cmd::MoveRight, Cmd::MoveRight, Cmd::MoveDown, Cmd::MoveDown,
                              Cmd::MoveLeft, Cmd::MoveUp, Cmd::MoveLeft, Cmd::MoveUp}) {
        ASSERT_TRUE(map->Execute(command));
        ExpectSame("moved");
    }

    // Zoomed in about the plot's middle the cells are larger than pixels
    // and reach past the window; moves then uncover cells not kept.
    map->State().lastClick = map->State().ViewportCentre();
    ASSERT_TRUE(map->Execute(Cmd::ZoomIn));
    ExpectSame("zoomed in");
    EXPECT_TRUE(map->Cells().LastDrawPainted());
    ASSERT_TRUE(map->Execute(Cmd::ZoomIn));
    ExpectSame("zoomed in twice");
    for (const int command : {Cmd::MoveLeft, Cmd::MoveUp, Cmd::MoveLeft, Cmd::MoveRight,
                              Cmd::MoveDown, Cmd::MoveDown, Cmd::MoveRight, Cmd::MoveRight}) {
        ASSERT_TRUE(map->Execute(command));
        ExpectSame("moved zoomed in");
    }
    ASSERT_TRUE(map->Execute(Cmd::ZoomOut));
    ExpectSame("zoomed out");
    ASSERT_TRUE(map->Execute(Cmd::FitPlotArea));
    ExpectSame("plot area fitted");
    ASSERT_TRUE(map->Execute(Cmd::FitPlotArea));
    ASSERT_TRUE(map->Execute(Cmd::FitPage));
    ExpectSame("page fitted");
    map->resize(700, 500);
    ExpectSame("resized");
}

TEST_P(MapViewCache, EditsUndoAndReloadShowWhatADirectPaintShows) {
    ASSERT_NE(map, nullptr);
    ExpectSame("opened");
    ChartDocument& document = Document();

    // A colour scheme: every level takes another colour.
    map->Edit("Color Schemes", [&] {
        for (std::uint32_t k = 0; k <= document.BoundaryCount(); ++k) {
            document.LevelColors.Level(k) = MakeRGB(255 - 20 * k, 40 + 15 * k, 90);
        }
        return true;
    });
    ExpectSame("colour scheme");
    EXPECT_TRUE(map->Cells().LastDrawPainted());
    // A move after an edit is drawn from the new cells.
    ASSERT_TRUE(map->Execute(Cmd::MoveRight));
    ExpectSame("moved after the colour scheme");

    // A boundary pulled from a cell in the middle of the plot.
    map->State().lastClick = map->State().ViewportCentre();
    const PlotFrame& f = document.Frame;
    const IntPoint middle = map->State().PageSystem().PageToDevice(f.xOrigin + f.xSize / 2.0,
                                                                   f.yOrigin + f.ySize / 2.0);
    map->State().lastClick = middle;
    const double before = document.ScaleValues.Get(0, 0);
    ASSERT_TRUE(map->RunCellCommand(Cmd::PullUpperLine) || map->RunCellCommand(Cmd::PullLowerLine));
    ExpectSame("boundary pulled");

    QUndoStack& undo = map->Entry().UndoStack();
    undo.undo();
    ExpectSame("pull taken back");
    undo.undo();
    ExpectSame("colour scheme taken back");
    undo.redo();
    ExpectSame("colour scheme done again");
    EXPECT_EQ(document.ScaleValues.Get(0, 0), before);

    // Contour settings and the map type.
    map->Edit("Map Appearance", [&] {
        document.ContourLinesWidth = 8;
        document.ContourLinesColor = MakeRGB(200, 0, 0);
        return true;
    });
    ExpectSame("wide red contour lines");
    map->Edit("Map Appearance", [&] {
        document.ContourLines = false;
        return true;
    });
    ExpectSame("contour lines off");
    map->Edit("Map Appearance", [&] {
        document.MapType = 1;
        return true;
    });
    ExpectSame("another map type");
    ASSERT_TRUE(map->Execute(Cmd::MoveDown));
    ExpectSame("moved with another map type");
    ASSERT_TRUE(map->Execute(Cmd::ShowPlot));
    ExpectSame("plot hidden");
    ASSERT_TRUE(map->Execute(Cmd::ShowPlot));
    ExpectSame("plot shown again");

    // Reading the files again drops the edits.
    ASSERT_TRUE(map->Entry().Revert());
    ExpectSame("reloaded");
    EXPECT_TRUE(map->Cells().LastDrawPainted());
    EXPECT_EQ(document.MapType, 0u);
}

INSTANTIATE_TEST_SUITE_P(Maps, MapViewCache,
                         ::testing::Values("dk-male-mortality.dml", "noisy.dml"),
                         [](const auto& info) { return info.index == 0 ? "Mortality" : "Noisy"; });

} // namespace
