#include "map/SegmentMerger.h"
#include "map/MapPainterTestSupport.h"

#include <cstdio>
#include <numeric>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

namespace {

// The device points a segment passes through exactly: its lattice points.
using Points = std::set<std::pair<std::int32_t, std::int32_t>>;

// The lattice points covered by the segments of a log of MoveTo / LineTo
// calls, and how many segments it holds.
std::pair<Points, std::size_t> Covered(const std::vector<std::string>& log) {
    Points points;
    std::size_t segments = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    for (const std::string& line : log) {
        std::int32_t nx = 0;
        std::int32_t ny = 0;
        if (std::sscanf(line.c_str(), "MoveTo %d %d", &nx, &ny) == 2) {
            x = nx;
            y = ny;
        } else if (std::sscanf(line.c_str(), "LineTo %d %d", &nx, &ny) == 2) {
            ++segments;
            const std::int32_t dx = nx - x;
            const std::int32_t dy = ny - y;
            const std::int32_t steps = std::gcd(dx, dy);
            for (std::int32_t k = 0; k <= steps; ++k) {
                points.insert({x + dx / steps * k, y + dy / steps * k});
            }
            x = nx;
            y = ny;
        }
    }
    return {points, segments};
}

class ContourMerging : public MapPainterTest {
protected:
    // A map of one row (or one column) whose level changes at every cell,
    // on a plot of 100 device pixels: far more cell edges than pixels.
    void LongMap(std::uint32_t cells, bool oneRow) {
        levels = WMAT(oneRow ? 1 : cells, oneRow ? cells : 1);
        data = DMAT(levels.GetRows(), levels.GetColumns());
        for (std::uint32_t k = 0; k < cells; ++k) {
            levels.Data()[k] = static_cast<std::uint16_t>(k % 2);
        }
    }

    // The contours through a merger, and as the painter gives them; nothing
    // for a shape that cannot show the map (triangles need two columns).
    std::optional<std::pair<std::vector<std::string>, std::vector<std::string>>>
    Both(MapType type) {
        surface.ClearLog();
        try {
            SegmentMerger merged(surface);
            Painter(type)->PaintContours(merged, page, Input());
        } catch (const LException&) {
            return std::nullopt;
        }
        const std::vector<std::string> merged = surface.Log();
        return std::pair{merged, Paint(type, true)};
    }
};

// Every shape draws the same points with at most one segment per pixel
// line, however many cells share it.
TEST_F(ContourMerging, LongMapsDrawEachPixelLineOnce) {
    for (const bool oneRow : {true, false}) {
        LongMap(10000, oneRow);
        for (const MapType type : kAllShapes) {
            const auto both = Both(type);
            if (!both) {
                EXPECT_NE(type, MapType::Rectangle);
                continue;
            }
            const auto& [merged, direct] = *both;
            const auto [mergedPoints, mergedCount] = Covered(merged);
            const auto [directPoints, directCount] = Covered(direct);
            const int shape = static_cast<int>(type);
            EXPECT_EQ(mergedPoints, directPoints) << shape << " " << oneRow;
            EXPECT_FALSE(mergedPoints.empty()) << shape << " " << oneRow;
            // A few hundred pixel lines at most across a plot of 100 pixels.
            EXPECT_LE(mergedCount, 1000u) << shape << " " << oneRow;
            EXPECT_GT(directCount, 5000u) << shape << " " << oneRow;
        }
    }
}

TEST(SegmentMerger, MergesStraightRunsAndDropsCoveredSegments) {
    RecordingSurface surface;
    {
        SegmentMerger merger(surface);
        const auto segment = [&](std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                 std::int32_t y1) {
            merger.MoveTo(x0, y0);
            merger.LineTo(x1, y1);
        };
        segment(0, 0, 0, 10);    // a vertical run
        segment(0, 20, 0, 10);   // touches it, drawn backwards
        segment(5, 0, 15, 0);    // a horizontal one
        segment(0, 30, 0, 40);   // apart from the first run: that one is drawn
        segment(0, 0, 10, 10);   // a diagonal
        segment(2, 2, 4, 4);     // covered by it
        segment(5, 5, 10, 10);   // covered up to its very end
        segment(10, 10, 20, 20); // touching, but a diagonal never grows
        segment(7, 7, 7, 7);     // nothing
        EXPECT_EQ(merger.Drawn(), 2u);
        EXPECT_EQ(surface.Count("LineTo"), 2u);
    }
    EXPECT_EQ(surface.Text(), "MoveTo 0 0\nLineTo 0 20\n"
                              "MoveTo 0 0\nLineTo 10 10\n"
                              "MoveTo 0 30\nLineTo 0 40\n"
                              "MoveTo 5 0\nLineTo 15 0\n"
                              "MoveTo 10 10\nLineTo 20 20");
}

} // namespace
