#include "dialogs/ColorSchemeDialog.h"
#include "dialogs/MapAppearanceDialog.h"
#include "document/ChartDocument.h"
#include "gui/Commands.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"
#include "render/CCSystem.h"
#include "scale/ColorSchemeChoice.h"
#include "view/MapHits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using ::testing::ElementsAre;

namespace {

QStringList Items(QMenu* menu) {
    QStringList items;
    for (QAction* action : menu->actions()) {
        items << (action->isSeparator() ? QStringLiteral("|") : action->text());
    }
    return items;
}

class MapEditingWindow : public ::testing::Test {
protected:
    MapEditingWindow() {
        window.resize(1200, 900);
        window.show();
        map = dynamic_cast<MapView*>(
            window.OpenFile(folder.File("dk-male-mortality.dml"), ViewKind::Map));
        QApplication::processEvents();
        // A paint places the legend's and the frame's texts.
        map->repaint();
    }
    ~MapEditingWindow() override {
        BoxAnswers answers;
        answers.Then(QMessageBox::No);
        window.CloseAll();
    }

    ChartDocument& Document() { return map->Entry().Document(); }
    // The device point of a data point of the map's plot.
    QPoint At(double x, double y) {
        const PlotFrame& f = Document().Frame;
        const CCSystem plot(f.x1, f.x2, f.y1, f.y2, f.xOrigin, f.xOrigin + f.xSize, f.yOrigin,
                            f.yOrigin + f.ySize, map->State().PageSystem());
        const DoublePoint p = plot.DataToDevice(x, y);
        return QPoint(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
    }
    QPoint Legend(std::uint32_t level) {
        const MScale& legend = Document().Legend;
        const double step = legend.GetYSize() / (Document().BoundaryCount() + 1.0);
        const IntPoint p =
            map->State().PageSystem().PageToDevice(legend.GetXOrigin() + legend.GetXSize() / 2.0,
                                                   legend.GetYOrigin() + step * (level + 0.5));
        return QPoint(p.x, p.y);
    }

    ExampleFolder folder;
    MainWindow window;
    MapView* map = nullptr;
};

TEST_F(MapEditingWindow, ContextMenusByPlace) {
    ASSERT_NE(map, nullptr);
    std::unique_ptr<QMenu> view(map->ContextMenuAt(At(1990.5, 40.5), Qt::ControlModifier, map));
    ASSERT_TRUE(view);
    EXPECT_EQ(Items(view.get()),
              (QStringList{"Zoom &In", "Zoom &Out", "&Center Here", "&Fit Page"}));
    std::unique_ptr<QMenu> cell(map->ContextMenuAt(At(1990.5, 40.5), Qt::NoModifier, map));
    ASSERT_TRUE(cell);
    EXPECT_EQ(Items(cell.get()),
              (QStringList{"Pull &Upper Line", "Pull &Lower Line", "&Insert Contour Line",
                           "&Delete Region", "|", "Change &Color"}));
    std::unique_ptr<QMenu> legend(map->ContextMenuAt(Legend(3), Qt::NoModifier, map));
    ASSERT_TRUE(legend);
    EXPECT_EQ(Items(legend.get()),
              (QStringList{"Change &Level", "&Insert Level", "&Delete Level", "|", "Change &Color",
                           "Shift Colors &Up", "Shift Colors Do&wn", "&Reverse Colors"}));
    // Outside the plot and the legend there is no menu.
    EXPECT_FALSE(map->ContextMenuAt(QPoint(2, 2), Qt::NoModifier, map));
}

TEST_F(MapEditingWindow, EditsAreTakenBackAndDoneAgain) {
    ASSERT_NE(map, nullptr);
    const std::uint32_t before = Document().BoundaryCount();
    map->ContextMenuAt(At(1990.5, 40.5), Qt::NoModifier, map)->deleteLater();
    ASSERT_TRUE(map->RunCellCommand(Cmd::InsertContourLine));
    EXPECT_EQ(Document().BoundaryCount(), before + 1);
    EXPECT_TRUE(map->IsDirty());
    QAction* undo = window.UndoMapAction();
    ASSERT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo Insert Contour Line");

    undo->trigger();
    EXPECT_EQ(Document().BoundaryCount(), before);
    // Every edit taken back: nothing left to save.
    EXPECT_FALSE(map->IsDirty());
    window.RedoMapAction()->trigger();
    EXPECT_EQ(Document().BoundaryCount(), before + 1);
    EXPECT_TRUE(map->IsDirty());

    // Legend edits and colour shifts go the same way.
    map->ContextMenuAt(Legend(0), Qt::NoModifier, map)->deleteLater();
    const LRGBColor top = Document().LevelColors.Level(Document().BoundaryCount());
    ASSERT_TRUE(map->RunLegendCommand(Cmd::ReverseColors));
    EXPECT_EQ(Document().LevelColors.Level(0), top);
    undo->trigger();
    EXPECT_NE(Document().LevelColors.Level(0), top);
}

TEST_F(MapEditingWindow, RubberBandZoomsFromEitherCorner) {
    ASSERT_NE(map, nullptr);
    const auto drag = [&](QPoint from, QPoint to) {
        map->Execute(Cmd::FitPage);
        QTest::mousePress(map, Qt::LeftButton, Qt::ControlModifier, from);
        QTest::mouseMove(map, to);
        QMouseEvent move(QEvent::MouseMove, to, map->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::ControlModifier);
        QApplication::sendEvent(map, &move);
        QTest::mouseRelease(map, Qt::LeftButton, Qt::ControlModifier, to);
        const PageCoordinateSystem& page = map->State().PageSystem();
        return std::array<double, 4>{page.GetX1(), page.GetX2(), page.GetY1(), page.GetY2()};
    };
    const std::array<double, 4> whole = drag(QPoint(300, 300), QPoint(300, 300));
    map->Execute(Cmd::FitPage);
    const PageCoordinateSystem& page = map->State().PageSystem();
    EXPECT_EQ(whole[0], page.GetX1());
    EXPECT_EQ(whole[1], page.GetX2());

    const std::array<double, 4> forward = drag(QPoint(200, 150), QPoint(400, 300));
    const std::array<double, 4> backward = drag(QPoint(400, 300), QPoint(200, 150));
    EXPECT_EQ(forward, backward);
    EXPECT_LT(forward[1] - forward[0], whole[1] - whole[0]);
}

TEST_F(MapEditingWindow, PointerReadoutInTheStatusBar) {
    ASSERT_NE(map, nullptr);
    const QPoint at = At(1990.5, 40.5);
    QMouseEvent move(QEvent::MouseMove, at, map->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(map, &move);
    EXPECT_EQ(window.StatusPane(2)->text(), "y=1990");
    EXPECT_EQ(window.StatusPane(3)->text(), "a=40");
    EXPECT_EQ(window.StatusPane(8)->text(), "c=1950");
    EXPECT_TRUE(window.StatusPane(1)->text().startsWith("v="));
    // A screen reader reads the value with the pane's name.
    EXPECT_EQ(window.StatusPane(2)->accessibleDescription(), "y=1990");
}

TEST_F(MapEditingWindow, MapAppearanceOkAndCancel) {
    ASSERT_NE(map, nullptr);
    ChartDocument& document = Document();
    {
        MapAppearanceDialog dialog(map->Entry().Document(), map);
        // 39 columns: no triangles.
        EXPECT_EQ(dialog.MapTypes()->count(), 5);
        dialog.MapTypes()->setCurrentIndex(dialog.MapTypes()->findText("HParallelogram"));
        QTest::keyClicks(dialog.WidthEdit(), "x");
        dialog.WidthEdit()->setText("-1");
        emit dialog.WidthEdit()->textEdited("-1");
        BoxAnswers answers;
        dialog.accept();
        EXPECT_EQ(answers.texts, std::vector<std::string>{"Width must be positive or zero"});
        EXPECT_EQ(document.MapType, 0u);
        dialog.WidthEdit()->setText("2.5");
        dialog.ContourSwitch()->setChecked(false);
        dialog.accept();
        EXPECT_EQ(document.MapType, 3u);
        EXPECT_EQ(document.ContourLinesWidth, 2.5);
        EXPECT_FALSE(document.ContourLines);
    }
    {
        MapAppearanceDialog dialog(map->Entry().Document(), map);
        EXPECT_FALSE(dialog.WidthEdit()->isEnabled());
        dialog.MapTypes()->setCurrentIndex(0);
        dialog.ContourSwitch()->setChecked(true);
        dialog.reject();
        EXPECT_EQ(document.MapType, 3u);
        EXPECT_FALSE(document.ContourLines);
    }
}

TEST_F(MapEditingWindow, ColorSchemesOkAndCancel) {
    ASSERT_NE(map, nullptr);
    ChartDocument& document = Document();
    const LRGBColorVect original = document.LevelColors;
    {
        ColorSchemeDialog dialog(document, map);
        EXPECT_EQ(dialog.Schemes()->count(), 8);
        EXPECT_EQ(dialog.Schemes()->itemText(5), "Viridis");
        dialog.Schemes()->setCurrentIndex(dialog.Schemes()->findText("Gray"));
        dialog.reject();
        EXPECT_EQ(document.LevelColors.Level(0), original.Level(0));
    }
    {
        // The last scheme chosen comes first next time; OK applies it.
        ColorSchemeDialog dialog(document, map);
        EXPECT_EQ(dialog.Schemes()->currentText(), "Gray");
        dialog.accept();
        const std::uint32_t step = 255 / (document.BoundaryCount() + 2);
        EXPECT_EQ(document.LevelColors.Level(0), MakeRGB(step, step, step));
        EXPECT_EQ(document.LevelColors.Level(document.BoundaryCount() + 1),
                  original.Level(document.BoundaryCount() + 1));
    }
}

} // namespace
