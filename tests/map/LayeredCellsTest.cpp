#include "MapPainterTestSupport.h"

#include "render/FillGathering.h"
#include "render/RectOutline.h"

#include <random>
#include <regex>
#include <set>

namespace {

// A recording surface that gathers as a vector file does, so that the
// painters lay their cells on in layers.
// Unions of rectangles are recorded as the rings of their outline, as a
// vector file draws them: "FillRects x,y x,y ... / x,y ... brush=...".
class GatheringSurface : public RecordingSurface, public FillGathering {
public:
    bool BeginGathering() override { return true; }
    void EndGathering() override {}
    void FillRects(std::span<const DeviceRect> rects, Brush brush) override {
        const Outline outline = OutlineOfRects(rects);
        std::string line = "FillRects";
        std::size_t k = 0;
        for (const std::int32_t count : outline.counts) {
            line += k == 0 ? "" : " /";
            for (std::int32_t n = 0; n < count; ++n, ++k) {
                line += " " + std::to_string(outline.corners[k].x) + "," +
                        std::to_string(outline.corners[k].y);
            }
        }
        Record(line + " brush=" + FormatBrush(brush));
    }
};

// The device pixels of the test page, each with the levels painted over it
// in order; a pixel belongs to a fill when its centre lies inside (FillRect:
// left <= x < right, top <= y < bottom).
class Canvas {
public:
    static constexpr int kSize = 1000;

    explicit Canvas(const std::vector<std::string>& log) : layers_(kSize * kSize) {
        const std::regex rect(
            "^FillRect (-?\\d+) (-?\\d+) (-?\\d+) (-?\\d+) brush=solid:0x00000(\\d)$");
        const std::regex polygon("^FillPolygon (.*) brush=solid:0x00000(\\d)$");
        const std::regex rings("^FillRects (.*) brush=solid:0x00000(\\d)$");
        std::smatch m;
        for (const std::string& line : log) {
            if (std::regex_match(line, m, rect)) {
                const int level = std::stoi(m[5]);
                for (int y = std::stoi(m[2]); y < std::stoi(m[4]); ++y) {
                    for (int x = std::stoi(m[1]); x < std::stoi(m[3]); ++x) {
                        Paint(x, y, level);
                    }
                }
            } else if (std::regex_match(line, m, polygon)) {
                const int level = std::stoi(m[2]);
                PaintPolygon(Points(m[1])[0], level);
            } else if (std::regex_match(line, m, rings)) {
                PaintRings(Points(m[1]), std::stoi(m[2]));
            } else {
                ADD_FAILURE() << "not a fill: " << line;
            }
        }
    }

    // The level shown at a pixel, -1 where nothing was painted.
    int Shown(int x, int y) const {
        const auto& levels = layers_[y * kSize + x];
        return levels.empty() ? -1 : levels.back();
    }
    // Whether a fill of level went over the pixel.
    bool Covers(int x, int y, int level) const {
        const auto& levels = layers_[y * kSize + x];
        return std::find(levels.begin(), levels.end(), level) != levels.end();
    }

private:
    // The corners of each ring of "x,y x,y ... / x,y ...".
    static std::vector<std::vector<IntPoint>> Points(const std::string& text) {
        static const std::regex point("(-?\\d+),(-?\\d+)|/");
        std::vector<std::vector<IntPoint>> rings(1);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), point);
             it != std::sregex_iterator(); ++it) {
            if (it->str() == "/") {
                rings.emplace_back();
            } else {
                rings.back().push_back({std::stoi((*it)[1]), std::stoi((*it)[2])});
            }
        }
        return rings;
    }

    // Rings with upright and level sides, by the nonzero winding rule: a
    // ray to the right counts sides running down as +1, up as -1.
    void PaintRings(const std::vector<std::vector<IntPoint>>& rings, int level) {
        for (int y = 0; y < kSize; ++y) {
            // The upright sides across this row of pixel centres, by x.
            std::vector<std::pair<int, int>> crossings;
            for (const auto& ring : rings) {
                for (std::size_t k = 0; k < ring.size(); ++k) {
                    const IntPoint a = ring[k], b = ring[(k + 1) % ring.size()];
                    if (a.x == b.x && std::min(a.y, b.y) <= y && y < std::max(a.y, b.y)) {
                        crossings.emplace_back(a.x, b.y > a.y ? 1 : -1);
                    }
                }
            }
            std::sort(crossings.begin(), crossings.end());
            // Right of a pixel, the winding is what the sides beyond add up
            // to; walking left to right, each side passed takes its part off.
            int winding = 0;
            for (const auto& crossing : crossings) {
                winding += crossing.second;
            }
            std::size_t next = 0;
            for (int x = crossings.empty() ? kSize : crossings.front().first; x < kSize; ++x) {
                for (; next < crossings.size() && crossings[next].first <= x; ++next) {
                    winding -= crossings[next].second;
                }
                if (next == crossings.size()) {
                    break;
                }
                if (winding != 0) {
                    Paint(x, y, level);
                }
            }
        }
    }

    void Paint(int x, int y, int level) {
        ASSERT_TRUE(x >= 0 && y >= 0 && x < kSize && y < kSize) << x << "," << y;
        layers_[y * kSize + x].push_back(level);
    }

    // Convex polygons: a centre lies inside when it is on the inner side of
    // every edge. The maps below are laid out so that no centre lies on a
    // slanted edge.
    void PaintPolygon(const std::vector<IntPoint>& corners, int level) {
        const auto [left, right] = std::minmax_element(
            corners.begin(), corners.end(), [](IntPoint a, IntPoint b) { return a.x < b.x; });
        const auto [top, bottom] = std::minmax_element(
            corners.begin(), corners.end(), [](IntPoint a, IntPoint b) { return a.y < b.y; });
        for (int y = top->y; y < bottom->y; ++y) {
            for (int x = left->x; x < right->x; ++x) {
                int positive = 0, negative = 0;
                for (std::size_t k = 0; k < corners.size(); ++k) {
                    const IntPoint a = corners[k], b = corners[(k + 1) % corners.size()];
                    const double cross =
                        (b.x - a.x) * (y + 0.5 - a.y) - (b.y - a.y) * (x + 0.5 - a.x);
                    positive += cross > 0;
                    negative += cross < 0;
                }
                if (positive == 0 || negative == 0) {
                    Paint(x, y, level);
                }
            }
        }
    }

    std::vector<std::vector<int>> layers_;
};

class LayeredCellsTest : public MapPainterTest {
protected:
    // A random map of rows x columns with levels 0 .. 3 and a few missing
    // cells, on a plot where every index unit is 10 pixels wide and 7 high:
    // an odd height and an even width keep every pixel centre off the
    // diagonals.
    // With stripes, most cells take the level of their column's stripe,
    // so that runs up the columns are fewer than along the rows.
    void SetRandomMap(MapType type, std::uint32_t rows, std::uint32_t columns, unsigned seed,
                      bool stripes = false) {
        std::mt19937 random(seed);
        levels = WMAT(rows, columns);
        data = DMAT(rows, columns);
        for (std::uint32_t r = 0; r < rows; ++r) {
            for (std::uint32_t c = 0; c < columns; ++c) {
                const auto roll = random() % 16;
                const auto level = stripes && roll > 2 ? (c / 3) % 4 : roll % 4;
                levels.Set(r, c, static_cast<std::uint16_t>(roll == 0 ? kBoundaries + 1 : level));
            }
        }
        const bool alongRows = type == MapType::HParallelogram || type == MapType::HLParallelogram;
        const bool alongColumns =
            type == MapType::VParallelogram || type == MapType::VLParallelogram;
        const bool pairs = type == MapType::Triangle || type == MapType::LTriangle;
        const std::int32_t unitsX = pairs ? columns / 2 : columns + (alongRows ? 1 : 0);
        const std::int32_t unitsY = rows + (alongColumns ? 1 : 0);
        SetPlot((pairs ? 20 : 10) * unitsX, 7 * unitsY);
    }

    std::vector<std::string> PaintInLayers(MapType type) {
        GatheringSurface gathering;
        contours.on = false;
        Painter(type)->Draw(gathering, page, Input());
        return gathering.Log();
    }
};

TEST_F(LayeredCellsTest, LayersShowTheSamePictureAsTheCells) {
    for (MapType type : kAllShapes) {
        for (unsigned seed : {1u, 2u, 3u, 4u}) {
            SCOPED_TRACE(::testing::Message()
                         << "shape " << static_cast<int>(type) << " seed " << seed);
            SetRandomMap(type, 9, 12, seed, seed == 4);
            const Canvas cells(Paint(type, false));
            const Canvas layers(PaintInLayers(type));
            int differing = 0;
            for (int y = 0; y < Canvas::kSize; ++y) {
                for (int x = 0; x < Canvas::kSize; ++x) {
                    differing += cells.Shown(x, y) != layers.Shown(x, y);
                }
            }
            EXPECT_EQ(differing, 0);
        }
    }
}

// Where two pixels of different levels meet, one layer lies under both, so
// a viewer that smooths the edge between them has no background to mix in.
TEST_F(LayeredCellsTest, NeighbouringPixelsShareALayerSoNoBackgroundShowsBetweenThem) {
    for (MapType type : {MapType::Rectangle, MapType::Triangle, MapType::LTriangle}) {
        for (unsigned seed : {4u, 5u, 6u}) {
            SCOPED_TRACE(::testing::Message()
                         << "shape " << static_cast<int>(type) << " seed " << seed);
            SetRandomMap(type, 9, 12, seed, seed == 6);
            const Canvas layers(PaintInLayers(type));
            int bare = 0;
            for (int y = 0; y + 1 < Canvas::kSize; ++y) {
                for (int x = 0; x + 1 < Canvas::kSize; ++x) {
                    for (const auto& [nx, ny] :
                         {std::pair{x + 1, y}, std::pair{x, y + 1}, std::pair{x + 1, y + 1}}) {
                        const int a = layers.Shown(x, y), b = layers.Shown(nx, ny);
                        if (a < 0 || b < 0 || a == b) {
                            continue;
                        }
                        bool shared = false;
                        for (int level = 0; level <= std::min(a, b) && !shared; ++level) {
                            shared = layers.Covers(x, y, level) && layers.Covers(nx, ny, level);
                        }
                        bare += !shared;
                    }
                }
            }
            EXPECT_EQ(bare, 0);
        }
    }
}

TEST_F(LayeredCellsTest, ALayerReachesTwoPixelsUnderEachHigherNeighbourAndNoFurther) {
    const auto fills = [&](std::initializer_list<std::string_view> map, std::int32_t width,
                           std::int32_t height) {
        SetMap(map);
        SetPlot(width, height);
        std::vector<std::string> calls = PaintInLayers(MapType::Rectangle);
        for (std::string& call : calls) {
            call = std::regex_replace(call, std::regex(" brush=solid:0x00000"), " =");
        }
        return calls;
    };
    // The lower level reaches under the higher one, not the other way.
    EXPECT_EQ(fills({"02"}, 200, 100),
              (std::vector<std::string>{"FillRects 100,800 202,800 202,900 100,900 =0",
                                        "FillRects 200,800 300,800 300,900 200,900 =2"}));
    // Up, right and into the corner, where all three neighbours are higher;
    // the level 1 cell reaches right, but neither down into the 0 nor into
    // the corner of the 2 below, which the 0 reaches already.
    EXPECT_EQ(fills({"13", "02"}, 200, 200),
              (std::vector<std::string>{"FillRects 100,798 202,798 202,900 100,900 =0",
                                        "FillRects 100,700 202,700 202,800 100,800 =1",
                                        "FillRects 200,798 300,798 300,900 200,900 =2",
                                        "FillRects 200,700 300,700 300,800 200,800 =3"}));
    // Never beyond the neighbour: rows one pixel high take one pixel.
    EXPECT_EQ(fills({"2", "0"}, 100, 2),
              (std::vector<std::string>{"FillRects 100,898 200,898 200,900 100,900 =0",
                                        "FillRects 100,898 200,898 200,899 100,899 =2"}));
    // A level is one outline, with a hole where a higher level lies inside
    // it beyond the reach.
    EXPECT_EQ(fills({"000", "010", "000"}, 300, 300),
              (std::vector<std::string>{"FillRects 100,600 400,600 400,900 100,900 / "
                                        "202,702 202,798 298,798 298,702 =0",
                                        "FillRects 200,700 300,700 300,800 200,800 =1"}));
}

} // namespace
