#include "render/PageLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(PageLayout, FitsThePageWithSquareUnitsAndIgnoresEmptyWindows) {
    // A wide window on a landscape page: blank bands left and right.
    PageCoordinateSystem wide(0, 2970, 0, 2100, 0, 2000, 700, 0);
    FitPage(wide, PageSize::A4(true));
    EXPECT_DOUBLE_EQ(wide.GetY1(), 0);
    EXPECT_DOUBLE_EQ(wide.GetY2(), 2100);
    EXPECT_DOUBLE_EQ(wide.GetX1() + wide.GetX2(), 2970);
    EXPECT_DOUBLE_EQ(wide.XScale(), wide.YScale());

    // A tall window on a portrait page: bands above and below.
    PageCoordinateSystem tall(0, 2970, 0, 2100, 0, 400, 1000, 0);
    FitPage(tall, PageSize::A4(false));
    EXPECT_DOUBLE_EQ(tall.GetX1(), 0);
    EXPECT_DOUBLE_EQ(tall.GetX2(), 2100);
    EXPECT_DOUBLE_EQ(tall.GetY1() + tall.GetY2(), 2970);
    EXPECT_NEAR(tall.XScale(), tall.YScale(), 1e-12);

    const PageCoordinateSystem before = tall; // an empty window changes nothing
    SetPageWindowWithAspect(tall, 5, 5, 0, 100);
    SetPageWindowWithAspect(tall, 0, 100, 7, 7);
    EXPECT_EQ(tall, before);
}

} // namespace
