#include "render/RectOutline.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The winding number of the rings around the point (x + 0.5, y + 0.5): a
// ray to the right counts sides running down as +1 and up as -1, so a
// clockwise ring (on the screen, y downwards) winds +1.
int Winding(const Outline& outline, int x, int y) {
    int winding = 0;
    std::size_t first = 0;
    for (const std::int32_t count : outline.counts) {
        for (std::int32_t k = 0; k < count; ++k) {
            const IntPoint a = outline.corners[first + k];
            const IntPoint b = outline.corners[first + (k + 1) % count];
            if (a.x == b.x && a.x > x && std::min(a.y, b.y) <= y && y < std::max(a.y, b.y)) {
                winding += b.y > a.y ? 1 : -1;
            }
        }
        first += static_cast<std::size_t>(count);
    }
    return winding;
}

bool Covered(const std::vector<DeviceRect>& rects, int x, int y) {
    for (const DeviceRect& r : rects) {
        if (r.left <= x && x < r.right && r.top <= y && y < r.bottom) {
            return true;
        }
    }
    return false;
}

// Every corner turns: no corner lies on the line between its neighbours.
void ExpectEveryCornerTurns(const Outline& outline) {
    std::size_t first = 0;
    for (const std::int32_t count : outline.counts) {
        ASSERT_GE(count, 4);
        for (std::int32_t k = 0; k < count; ++k) {
            const IntPoint a = outline.corners[first + (k + count - 1) % count];
            const IntPoint b = outline.corners[first + k];
            const IntPoint c = outline.corners[first + (k + 1) % count];
            EXPECT_FALSE((a.x == b.x && b.x == c.x) || (a.y == b.y && b.y == c.y))
                << b.x << "," << b.y;
            EXPECT_TRUE(a.x == b.x || a.y == b.y) << "a slanted side at " << b.x << "," << b.y;
        }
        first += static_cast<std::size_t>(count);
    }
}

} // namespace

TEST(RectOutline, ARectangleAndAbuttingOnesMakeOneClockwiseRing) {
    const Outline one = OutlineOfRects(std::vector<DeviceRect>{{10, 20, 30, 40}});
    EXPECT_EQ(one.counts, std::vector<std::int32_t>{4});
    EXPECT_EQ(one.corners, (std::vector<IntPoint>{{10, 20}, {30, 20}, {30, 40}, {10, 40}}));

    // Side by side, one over the other and overlapping: still one ring.
    const Outline joined = OutlineOfRects(
        std::vector<DeviceRect>{{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 10, 20, 15}, {5, 5, 15, 12}});
    EXPECT_EQ(joined.counts, std::vector<std::int32_t>{4});
    EXPECT_EQ(joined.corners, (std::vector<IntPoint>{{0, 0}, {20, 0}, {20, 15}, {0, 15}}));

    EXPECT_TRUE(OutlineOfRects(std::vector<DeviceRect>{{5, 5, 5, 9}, {1, 2, 3, 2}}).counts.empty());
}

TEST(RectOutline, AFrameHasAHoleTurningTheOtherWay) {
    const std::vector<DeviceRect> frame = {
        {0, 0, 30, 10}, {0, 20, 30, 30}, {0, 10, 10, 20}, {20, 10, 30, 20}};
    const Outline outline = OutlineOfRects(frame);
    ASSERT_EQ(outline.counts.size(), 2u);
    EXPECT_EQ(Winding(outline, 15, 15), 0);
    EXPECT_EQ(Winding(outline, 5, 15), 1);
    ExpectEveryCornerTurns(outline);
}

// Random rectangles, overlapping, abutting and touching at corners: the
// rings cover exactly their union, once.
TEST(RectOutline, RingsCoverExactlyTheUnionOfRandomRectangles) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        std::vector<DeviceRect> rects;
        const int count = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < count; ++k) {
            const int x = static_cast<int>(random() % 16), y = static_cast<int>(random() % 16);
            rects.push_back({x, y, x + 1 + static_cast<int>(random() % 6),
                             y + 1 + static_cast<int>(random() % 6)});
        }
        const Outline outline = OutlineOfRects(rects);
        ExpectEveryCornerTurns(outline);
        for (int y = -1; y < 24; ++y) {
            for (int x = -1; x < 24; ++x) {
                ASSERT_EQ(Winding(outline, x, y), Covered(rects, x, y) ? 1 : 0) << x << "," << y;
            }
        }
    }
}
