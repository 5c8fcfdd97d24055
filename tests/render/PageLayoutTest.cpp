#include "render/PageLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(PageLayout, FitPageCentresTheWholePageWithSquareUnits) {
    // A wide window on a landscape page: blank bands left and right.
    PageCoordinateSystem wide(0, 2970, 0, 2100, 0, 2000, 700, 0);
    FitPage(wide, PageSize::A4(true));
    EXPECT_DOUBLE_EQ(wide.GetY1(), 0);
    EXPECT_DOUBLE_EQ(wide.GetY2(), 2100);
    EXPECT_LT(wide.GetX1(), 0);
    EXPECT_DOUBLE_EQ(wide.GetX1() + wide.GetX2(), 2970);
    EXPECT_DOUBLE_EQ(wide.XScale(), wide.YScale());

    // A tall window on a portrait page: bands above and below.
    PageCoordinateSystem tall(0, 2970, 0, 2100, 0, 400, 1000, 0);
    FitPage(tall, PageSize::A4(false));
    EXPECT_DOUBLE_EQ(tall.GetX1(), 0);
    EXPECT_DOUBLE_EQ(tall.GetX2(), 2100);
    EXPECT_DOUBLE_EQ(tall.GetY1() + tall.GetY2(), 2970);
    EXPECT_NEAR(tall.XScale(), tall.YScale(), 1e-12);
    // The page's corners land inside the viewport.
    const IntPoint lowerLeft = tall.PageToDevice(0.0, 0.0);
    EXPECT_EQ(lowerLeft.x, 0);
    EXPECT_GT(lowerLeft.y, 0);
    EXPECT_LT(lowerLeft.y, 1000);
}

TEST(PageLayout, AnEmptyWindowChangesNothing) {
    PageCoordinateSystem system(0, 2970, 0, 2100, 0, 1024, 720, 0);
    const PageCoordinateSystem before = system;
    SetPageWindowWithAspect(system, 5, 5, 0, 100);
    SetPageWindowWithAspect(system, 0, 100, 7, 7);
    EXPECT_EQ(system, before);
}

} // namespace
