#include "render/SegmentJoiner.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Joined(const std::vector<std::pair<IntPoint, IntPoint>>& segments) {
    RecordingSurface surface;
    {
        SegmentJoiner joiner(surface);
        const ScopedPen pen(joiner, Pen{PenStyle::Solid, 2, 0x0000ff});
        for (const auto& [from, to] : segments) {
            joiner.MoveTo(from.x, from.y);
            joiner.LineTo(to.x, to.y);
        }
    }
    return surface.Log();
}

} // namespace

TEST(SegmentJoiner, SegmentsOnOneLineThatTouchOrOverlapBecomeOne) {
    // Along a row of cells, either way round; a gap keeps two apart.
    EXPECT_EQ(
        Joined({{{10, 5}, {20, 5}}, {{30, 5}, {20, 5}}, {{25, 5}, {40, 5}}, {{41, 5}, {50, 5}}}),
        (std::vector<std::string>{"SelectPen solid:2:0x0000ff", "MoveTo 10 5", "LineTo 40 5",
                                  "MoveTo 41 5", "LineTo 50 5", "MoveTo 50 5",
                                  "SelectPen solid:0:0x000000"}));
    // Slanted segments on one line join too; lines that meet end to end,
    // at any angle, are drawn as one line through them; a parallel line
    // stays apart.
    EXPECT_EQ(Joined({{{0, 0}, {0, 10}},
                      {{1, 0}, {1, 10}},
                      {{0, 10}, {0, 20}},
                      {{0, 0}, {3, 6}},
                      {{3, 6}, {4, 8}},
                      {{4, 8}, {6, 9}}}),
              (std::vector<std::string>{"SelectPen solid:2:0x0000ff", "MoveTo 6 9", "LineTo 4 8",
                                        "LineTo 0 0", "LineTo 0 20", "MoveTo 1 0", "LineTo 1 10",
                                        "MoveTo 6 9", "SelectPen solid:0:0x000000"}));
    // Segments of no length draw nothing.
    EXPECT_EQ(Joined({{{3, 3}, {3, 3}}}), (std::vector<std::string>{"SelectPen solid:2:0x0000ff",
                                                                    "SelectPen solid:0:0x000000"}));
}
