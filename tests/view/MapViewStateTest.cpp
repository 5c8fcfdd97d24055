#include "view/MapViewState.h"
#include "frame/PlotFrame.h"

#include <gtest/gtest.h>

namespace {

struct Window {
    double x1, x2, y1, y2;
};

Window WindowOf(const MapViewState& view) {
    const PageCoordinateSystem& page = view.PageSystem();
    return {page.GetX1(), page.GetX2(), page.GetY1(), page.GetY2()};
}

void ExpectWindow(const MapViewState& view, Window expected) {
    const Window actual = WindowOf(view);
    EXPECT_NEAR(actual.x1, expected.x1, 1e-6);
    EXPECT_NEAR(actual.x2, expected.x2, 1e-6);
    EXPECT_NEAR(actual.y1, expected.y1, 1e-6);
    EXPECT_NEAR(actual.y2, expected.y2, 1e-6);
}

// A view of w x h pixels on a screen of 1024 x 768.
MapViewState ViewOf(int width, int height) {
    MapViewState view;
    view.SetScreen({1024, 768});
    view.Resize(width, height);
    return view;
}

TEST(ZoomLimits, BothAxesBoundInAndOut) {
    const IntSize screen{1024, 768};
    // In: 1024 * 6000 / 32767 = 187.53 page units across, 140.6 up.
    EXPECT_TRUE(WithinZoomLimits(0, 188, 0, 141, screen));
    EXPECT_FALSE(WithinZoomLimits(0, 187.5, 0, 1000, screen));
    EXPECT_FALSE(WithinZoomLimits(0, 1000, 0, 140, screen));
    // Out: 1024 * 6000 / 50 = 122880 across, 92160 up.
    EXPECT_TRUE(WithinZoomLimits(0, 122879, 0, 92159, screen));
    EXPECT_FALSE(WithinZoomLimits(0, 122880, 0, 1000, screen));
    EXPECT_FALSE(WithinZoomLimits(0, 1000, 0, 92160, screen));
    // Corners in any order.
    EXPECT_TRUE(WithinZoomLimits(1000, 0, 1000, 0, screen));
}

// A wide window centres the page with bands beside it (its height fills
// the window); a tall one widens y; a printer's page replaces A4.
TEST(MapViewLayout, TheWholePageCentredInAnyWindowOrOnAPrinterPage) {
    const double width = 2100.0 * 2000 / 700;
    ExpectWindow(ViewOf(2000, 700), {1485 - width / 2, 1485 + width / 2, 0, 2100});
    ExpectWindow(ViewOf(594, 1000), {0, 2970, 1050 - 2500, 1050 + 2500});

    MapViewState view = ViewOf(1000, 1000);
    view.RecomputePage(DoubleSize{2100, 2970});
    EXPECT_EQ(view.Page().width, 2100);
    ExpectWindow(view, {1050 - 1485, 1050 + 1485, 0, 2970});
    view.RecomputePage(DoubleSize{0, 2970});
    EXPECT_EQ(view.Page().width, 2970);
    EXPECT_EQ(view.Page().height, 2100);
    view.RecomputePage(std::nullopt);
    EXPECT_EQ(view.Page().width, 2970);
}

TEST(MapViewZoom, ZoomInHalvesAroundTheClickAndBothWaysStopAtTheLimits) {
    MapViewState view = ViewOf(1024, 724);
    view.lastClick = {512, 362};
    const Window before = WindowOf(view);
    const DoublePoint centre = view.DeviceToPage(view.lastClick);
    ASSERT_TRUE(view.ZoomIn());
    const Window after = WindowOf(view);
    EXPECT_NEAR(after.x2 - after.x1, (before.x2 - before.x1) / 2, 1e-6);
    EXPECT_NEAR((after.x1 + after.x2) / 2, centre.x, 1e-6);
    EXPECT_NEAR((after.y1 + after.y2) / 2, centre.y, 1e-6);

    int accepted = 1;
    while (view.ZoomIn()) {
        ++accepted;
        ASSERT_LT(accepted, 20);
    }
    // 2970 / 2^4 = 185.6 is below the 187.5 limit: four halvings are refused.
    EXPECT_EQ(accepted, 3);
    const Window last = WindowOf(view);
    EXPECT_NEAR(last.x2 - last.x1, (before.x2 - before.x1) / 8, 1e-6);
    // A refused zoom changes nothing.
    EXPECT_FALSE(view.ZoomIn());
    ExpectWindow(view, last);

    // Out from the whole page: 2970 * 2^5 = 95040 fits under 122880, 2^6 does not.
    MapViewState out = ViewOf(1024, 724);
    out.lastClick = {100, 100};
    accepted = 0;
    while (out.ZoomOut()) {
        ++accepted;
        ASSERT_LT(accepted, 20);
    }
    EXPECT_EQ(accepted, 5);
    EXPECT_LT(WindowOf(out).x2 - WindowOf(out).x1, 122880.0);
}

TEST(MapViewZoom, CenterHereKeepsTheSizeAndMovesTheCorner) {
    MapViewState view = ViewOf(1024, 724);
    view.lastClick = {512, 362};
    view.ZoomIn();
    const Window zoomed = WindowOf(view);
    // The page's lower left corner, clicked.
    const IntPoint corner = view.PageSystem().PageToDevice(0, 0);
    view.lastClick = corner;
    view.CenterHere();
    const Window centred = WindowOf(view);
    EXPECT_NEAR(centred.x2 - centred.x1, zoomed.x2 - zoomed.x1, 1e-6);
    EXPECT_NEAR((centred.x1 + centred.x2) / 2, 0, 2.0);
    EXPECT_NEAR((centred.y1 + centred.y2) / 2, 0, 2.0);
}

TEST(MapViewZoom, MovesShiftByFiveCentimetres) {
    MapViewState view = ViewOf(1024, 724);
    const Window start = WindowOf(view);
    view.Move(MoveDirection::Up);
    view.Move(MoveDirection::Right);
    view.Move(MoveDirection::Right);
    ExpectWindow(view, {start.x1 + 1000, start.x2 + 1000, start.y1 + 500, start.y2 + 500});
    view.Move(MoveDirection::Down);
    view.Move(MoveDirection::Left);
    ExpectWindow(view, {start.x1 + 500, start.x2 + 500, start.y1, start.y2});
}

TEST(MapViewZoom, RubberBandZoomIsBoundToo) {
    MapViewState view = ViewOf(1024, 724);
    const Window start = WindowOf(view);
    // Three pixels across is far inside the limit: refused.
    EXPECT_FALSE(view.ZoomToDeviceRect({100, 100}, {103, 103}));
    ExpectWindow(view, start);
    EXPECT_TRUE(view.ZoomToDeviceRect({612, 462}, {412, 262}));
    const Window zoomed = WindowOf(view);
    EXPECT_LT(zoomed.x2 - zoomed.x1, start.x2 - start.x1);
}

TEST(MapViewZoom, ResizingAfterZoomShowsTheWholePageAgain) {
    MapViewState view = ViewOf(1024, 724);
    const Window whole = WindowOf(view);
    view.lastClick = {300, 300};
    view.ZoomIn();
    EXPECT_FALSE(view.Resize(0, 500));
    EXPECT_NE(WindowOf(view).x1, whole.x1);
    ASSERT_TRUE(view.Resize(1024, 724));
    ExpectWindow(view, whole);
}

TEST(MapViewFitPlotArea, StretchesThePlotAndRestoresTheWindow) {
    MapViewState view = ViewOf(800, 800);
    view.lastClick = {200, 600};
    view.ZoomIn();
    const Window zoomed = WindowOf(view);
    PlotFrame frame;
    frame.xOrigin = 400;
    frame.yOrigin = 300;
    frame.xSize = 2000;
    frame.ySize = 500;

    view.ToggleFitPlotArea(frame);
    ASSERT_TRUE(view.IsFitPlotArea());
    // No aspect correction: the wide plot fills the square window.
    ExpectWindow(view, {400, 2400, 300, 800});
    // Resizing keeps the plot over the whole window.
    view.Resize(600, 300);
    ExpectWindow(view, {400, 2400, 300, 800});
    view.Resize(800, 800);

    view.ToggleFitPlotArea(frame);
    EXPECT_FALSE(view.IsFitPlotArea());
    ExpectWindow(view, zoomed);

    // A plot without area cannot be fitted.
    frame.xSize = 0;
    view.ToggleFitPlotArea(frame);
    EXPECT_FALSE(view.IsFitPlotArea());
}

} // namespace
