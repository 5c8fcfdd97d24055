#include "view/CellLayer.h"
#include "view/CellRaster.h"

#include "scale/LRGBColorVect.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CellLayerKey RectangleKey(IntPoint leftBottom, IntPoint rightTop) {
    CellLayerKey key;
    key.revision = 3;
    key.leftBottom = leftBottom;
    key.rightTop = rightTop;
    key.contourPen = 1;
    key.columnEdges = {leftBottom.x, (leftBottom.x + rightTop.x) / 2, rightTop.x};
    key.rowEdges = {leftBottom.y, rightTop.y};
    return key;
}

TEST(CellLayerShift, OnlyAGridThatMovedAsAWhole) {
    const CellLayerKey kept = RectangleKey({100, 400}, {300, 200});
    EXPECT_EQ(CellLayerShift(kept, kept), (IntPoint{0, 0}));
    const CellLayerKey moved = RectangleKey({90, 420}, {290, 220});
    EXPECT_EQ(CellLayerShift(kept, moved), (IntPoint{-10, 20}));

    // One inner grid line a pixel off: rounding did not follow the move.
    CellLayerKey uneven = moved;
    uneven.columnEdges[1] += 1;
    EXPECT_FALSE(CellLayerShift(kept, uneven));
    // Corners moved unevenly (a pixel wider).
    EXPECT_FALSE(CellLayerShift(kept, RectangleKey({90, 420}, {291, 220})));

    // Another document state, pen or map type is another picture.
    CellLayerKey edited = moved;
    edited.revision = 4;
    EXPECT_FALSE(CellLayerShift(kept, edited));
    CellLayerKey wider = kept;
    wider.contourPen = 2;
    EXPECT_FALSE(CellLayerShift(kept, wider));
    CellLayerKey triangles = kept;
    triangles.mapType = 1;
    EXPECT_FALSE(CellLayerShift(kept, triangles));

    // Shapes without a grid are kept only for the very same place.
    CellLayerKey shape = kept;
    shape.mapType = 1;
    shape.columnEdges.clear();
    shape.rowEdges.clear();
    EXPECT_EQ(CellLayerShift(shape, shape), (IntPoint{0, 0}));
    CellLayerKey shapeMoved = shape;
    shapeMoved.leftBottom = {90, 420};
    shapeMoved.rightTop = {290, 220};
    EXPECT_FALSE(CellLayerShift(shape, shapeMoved));
}

TEST(CellLayerRegion, TheShownPartOfThePlotWithRoomForThePen) {
    const CellLayerKey key = RectangleKey({100, 400}, {300, 200});
    // Half a one-pixel pen rounds to nothing; two pixels of room remain.
    EXPECT_EQ(CellLayerBounds(key), (DeviceRect{98, 198, 302, 402}));
    EXPECT_EQ(CellLayerRegion(key, {1000, 800}, 0), (DeviceRect{98, 198, 302, 402}));
    EXPECT_EQ(CellLayerRegion(key, {250, 300}, 0), (DeviceRect{98, 198, 250, 300}));
    EXPECT_EQ(CellLayerRegion(key, {250, 300}, 10), (DeviceRect{98, 198, 260, 310}));
    // A plot out of sight keeps the window's first pixel.
    EXPECT_EQ(CellLayerRegion(key, {90, 90}, 0), (DeviceRect{0, 0, 1, 1}));
}

TEST(KeptLayerPlace, ShiftedWhileItCoversWhatShows) {
    const CellLayerKey kept = RectangleKey({100, 400}, {300, 200});
    const IntSize window{320, 420};
    const DeviceRect region = CellLayerRegion(kept, window, 0); // 98 .. 302, 198 .. 402
    // Moved left by 10: still all inside the window, the picture follows.
    EXPECT_EQ(KeptLayerPlace(kept, region, RectangleKey({90, 400}, {290, 200}), window),
              (IntPoint{88, 198}));
    // Moved right until the bounds end exactly at the window's edge: kept.
    EXPECT_EQ(KeptLayerPlace(kept, region, RectangleKey({118, 400}, {318, 200}), window),
              (IntPoint{116, 198}));
    // Cut by the window's bottom edge: moved down, the kept rows still
    // cover what shows; moved up by one pixel, the row at the edge was not
    // kept.
    const DeviceRect cut = CellLayerRegion(kept, {320, 300}, 0); // 98 .. 302, 198 .. 300
    EXPECT_EQ(KeptLayerPlace(kept, cut, RectangleKey({100, 401}, {300, 201}), {320, 300}),
              (IntPoint{98, 199}));
    EXPECT_FALSE(KeptLayerPlace(kept, cut, RectangleKey({100, 399}, {300, 199}), {320, 300}));
}

// The pixels of a rectangle map's cells: each pixel takes the colour of the
// only cell of positive extent over it, and cells rounded to nothing leave
// no trace.
TEST(RasterRectangleCells, EachPixelTakesTheCellOfPositiveExtent) {
    // 3 rows by 4 columns, stored by columns; levels 0 .. 2.
    WMAT levels(3, 4);
    const std::uint16_t values[3][4] = {{0, 1, 2, 0}, {1, 1, 0, 2}, {2, 0, 1, 1}};
    for (std::uint32_t r = 0; r < 3; ++r) {
        for (std::uint32_t c = 0; c < 4; ++c) {
            levels.Set(r, c, values[r][c]);
        }
    }
    DMAT data(3, 4);
    LRGBColorVect colors(4);
    colors.Level(0) = 0x0000FF; // red
    colors.Level(1) = 0x00FF00; // green
    colors.Level(2) = 0xFF0000; // blue
    colors.Level(3) = 0x808080;
    // The page maps 1:1 onto the device; the plot is 6 pixels wide and 3
    // high, so columns are 1.5 pixels and rows 1 pixel.
    const PageCoordinateSystem page(0, 20, 0, 10, 0, 20, 10, 0);
    const MapPaintInput map{levels, data, 2, colors, MapPlotRect{2, 2, 6, 3}, {}};
    const DeviceRect region{0, 0, 10, 10};
    std::vector<std::uint32_t> pixels(100, 0);
    RasterRectangleCells(page, map, region, pixels.data(), 10);
    const std::uint32_t red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF;
    // Device rows: the plot spans y 5 .. 7 (row 0 at the bottom, y 7).
    const auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * 10 + x)]; };
    // Column edges at 2, 3 (3.5 rounds down), 5, 6 (6.5 rounds down), 8.
    EXPECT_EQ(at(2, 7), red);
    EXPECT_EQ(at(3, 7), green);
    EXPECT_EQ(at(4, 7), green);
    EXPECT_EQ(at(5, 7), blue);
    EXPECT_EQ(at(6, 7), red);
    EXPECT_EQ(at(7, 7), red);
    EXPECT_EQ(at(2, 5), blue);
    EXPECT_EQ(at(7, 5), green);
    // Outside the plot nothing is set, at the exact edges included.
    EXPECT_EQ(at(1, 6), 0u);
    EXPECT_EQ(at(8, 6), 0u);
    EXPECT_EQ(at(4, 4), 0u);
    EXPECT_EQ(at(4, 8), 0u);

    // A level beyond the colours throws, as the painter does, setting
    // nothing.
    levels.Set(0, 0, 7);
    std::vector<std::uint32_t> untouched(100, 0);
    EXPECT_ANY_THROW(RasterRectangleCells(page, map, region, untouched.data(), 10));
    EXPECT_EQ(untouched, std::vector<std::uint32_t>(100, 0));
}

} // namespace
