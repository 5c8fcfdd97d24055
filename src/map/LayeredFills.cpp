#include "map/LayeredFills.h"

#include "render/FillGathering.h"

#include <algorithm>
#include <array>
#include <span>
#include <unordered_map>
#include <vector>

namespace {

using Triangle = std::array<IntPoint, 3>;

// The level a square is filled with whole: the lower of its halves, when
// both have cells.
std::int32_t BaseLevel(const SquareHalves& halves) {
    if (halves.below == SquareHalves::kNoCell || halves.above == SquareHalves::kNoCell) {
        return SquareHalves::kNoCell;
    }
    return std::min(halves.below, halves.above);
}

// Rectangles are filled clockwise on the screen; triangles are given the
// same turn, so that where fills of one colour overlap, every surface's
// fill rule adds them up instead of cutting one out of the other.
Triangle Clockwise(Triangle t) {
    const std::int64_t cross = static_cast<std::int64_t>(t[1].x - t[0].x) * (t[2].y - t[0].y) -
                               static_cast<std::int64_t>(t[1].y - t[0].y) * (t[2].x - t[0].x);
    if (cross < 0) {
        std::swap(t[1], t[2]);
    }
    return t;
}

// The fills of every level, kept until all are known and drawn in level
// order. Rectangles are kept in the frame of the painter that adds them:
// transposed, x is minus the device y and y minus the device x.
class Layers {
public:
    explicit Layers(bool transposed) : transposed_(transposed) {}

    // Rows come from the bottom up: a rectangle right on top of one of the
    // same level and width in the row before lengthens that one.
    void Add(std::int32_t level, const DeviceRect& rect) {
        if (rect.left >= rect.right || rect.top >= rect.bottom) {
            return;
        }
        std::vector<DeviceRect>& rects = At(level).rects;
        const auto below = previousRow_.find({level, rect.left, rect.right, rect.bottom});
        if (below != previousRow_.end()) {
            rects[below->second].top = rect.top;
            currentRow_[{level, rect.left, rect.right, rect.top}] = below->second;
            previousRow_.erase(below);
            return;
        }
        currentRow_[{level, rect.left, rect.right, rect.top}] = rects.size();
        rects.push_back(rect);
    }
    std::size_t RectCount() const {
        std::size_t count = 0;
        for (const Layer& layer : layers_) {
            count += layer.rects.size();
        }
        return count;
    }
    // The rectangles added since are the ones the next row may lengthen.
    void EndRow() {
        std::swap(previousRow_, currentRow_);
        currentRow_.clear();
    }
    void Add(std::int32_t level, const Triangle& triangle) {
        At(level).triangles.push_back(Clockwise(triangle));
    }
    // Each level's rectangles go to a gathering surface as one union, which
    // it draws as an outline: no edge inside the level at all.
    void Draw(Surface& surface, const LevelBrushes& brushes) const {
        auto* gathering = dynamic_cast<FillGathering*>(&surface);
        for (std::size_t level = 0; level < layers_.size(); ++level) {
            const Brush brush = brushes[static_cast<std::uint16_t>(level)];
            const Layer& layer = layers_[level];
            std::span<const DeviceRect> rects = layer.rects;
            std::vector<DeviceRect> onDevice;
            if (transposed_) {
                for (const DeviceRect& r : layer.rects) {
                    onDevice.push_back({-r.bottom, -r.right, -r.top, -r.left});
                }
                rects = onDevice;
            }
            if (gathering != nullptr) {
                if (!rects.empty()) {
                    gathering->FillRects(rects, brush);
                }
            } else {
                for (const DeviceRect& rect : rects) {
                    surface.FillRect(rect, brush);
                }
            }
            for (const Triangle& triangle : layer.triangles) {
                surface.FillPolygon(triangle, brush);
            }
        }
    }

private:
    // A rectangle's level, its sides' x and its top.
    struct TopKey {
        std::int32_t level, left, right, top;
        friend bool operator==(const TopKey&, const TopKey&) = default;
    };
    struct TopKeyHash {
        std::size_t operator()(const TopKey& k) const {
            std::size_t hash = 0;
            for (const std::int32_t part : {k.level, k.left, k.right, k.top}) {
                hash = (hash ^ static_cast<std::uint32_t>(part)) * 0x100000001B3ull;
            }
            return hash;
        }
    };
    struct Layer {
        std::vector<DeviceRect> rects;
        std::vector<Triangle> triangles;
    };
    Layer& At(std::int32_t level) {
        const auto index = static_cast<std::size_t>(level);
        if (index >= layers_.size()) {
            layers_.resize(index + 1);
        }
        return layers_[index];
    }
    const bool transposed_;
    std::vector<Layer> layers_;
    // The rectangles of the last row and of this one, by their tops.
    std::unordered_map<TopKey, std::size_t, TopKeyHash> previousRow_, currentRow_;
};

// The base levels of one row of squares, with kNoCell for a row that is
// not painted (outside the grid, or without height).
struct RowBases {
    std::vector<SquareHalves> halves;
    std::vector<std::int32_t> bases;
};

// The triangle of one half of the square x0 .. x1, top .. bottom.
Triangle HalfOf(Diagonal diagonal, bool below, std::int32_t x0, std::int32_t x1, std::int32_t top,
                std::int32_t bottom) {
    const bool rising = diagonal == Diagonal::Rising;
    if (below) {
        return {IntPoint{x0, bottom}, IntPoint{x1, bottom}, IntPoint{rising ? x1 : x0, top}};
    }
    return {IntPoint{rising ? x0 : x1, bottom}, IntPoint{x1, top}, IntPoint{x0, top}};
}

// Paints the squares row by row. Transposed, it takes the grid's columns
// for rows, in a frame where x is minus the device y and y minus the device
// x, which keeps x growing along a row and y shrinking from row to row.
class LayerPainter {
public:
    LayerPainter(const SquareGrid& squares, bool transposed, Layers& layers)
        : squares_(squares), transposed_(transposed), layers_(layers) {
        const MapIndexGrid& grid = squares.grid;
        if (transposed) {
            for (std::int64_t j = squares.y1; j <= squares.y2; ++j) {
                along_.push_back(-grid.Y()[j]);
            }
            for (std::int64_t i = squares.x1; i <= squares.x2; ++i) {
                across_.push_back(-grid.X()[i]);
            }
            x_ = along_.data();
            y_ = across_.data() - squares.x1;
            rowFirst_ = squares.x1;
            rowEnd_ = squares.x2;
        } else {
            x_ = grid.X() + squares.x1;
            y_ = grid.Y();
            rowFirst_ = squares.y1;
            rowEnd_ = squares.y2;
        }
        count_ = transposed ? squares.y2 - squares.y1 : squares.x2 - squares.x1;
        for (RowBases* row : {&below_, &current_, &above_}) {
            row->halves.resize(static_cast<std::size_t>(count_));
            row->bases.resize(static_cast<std::size_t>(count_));
        }
    }

    void Paint() {
        Load(below_, rowFirst_ - 1);
        Load(current_, rowFirst_);
        for (std::int64_t j = rowFirst_; j < rowEnd_; ++j) {
            Load(above_, j + 1);
            PaintRow(j);
            layers_.EndRow();
            std::swap(below_, current_);
            std::swap(current_, above_);
        }
    }

private:
    bool RowHasHeight(std::int64_t j) const {
        return j >= rowFirst_ && j < rowEnd_ && y_[j] != y_[j + 1];
    }

    void Load(RowBases& row, std::int64_t j) {
        if (!RowHasHeight(j)) {
            std::fill(row.bases.begin(), row.bases.end(), SquareHalves::kNoCell);
            return;
        }
        (transposed_ ? squares_.columnHalves : squares_.rowHalves)(j, row.halves.data());
        std::transform(row.halves.begin(), row.halves.end(), row.bases.begin(), BaseLevel);
    }

    // How far a layer reaches into the neighbour that extends extent units.
    static std::int32_t Reach(std::int32_t extent) { return std::min(kLayerOverlap, extent); }

    void PaintRow(std::int64_t j) {
        if (!RowHasHeight(j)) {
            return;
        }
        const std::int32_t top = y_[j + 1];
        const std::int32_t bottom = y_[j];
        const std::int32_t up = RowHasHeight(j + 1) ? Reach(y_[j + 1] - y_[j + 2]) : 0;
        const std::int32_t down = RowHasHeight(j - 1) ? Reach(y_[j - 1] - y_[j]) : 0;
        const std::int64_t count = count_;
        const std::int32_t* x = x_;
        const std::int32_t* bases = current_.bases.data();

        for (std::int64_t s = 0; s < count;) {
            const std::int32_t level = bases[s];
            std::int64_t e = s + 1;
            while (e < count && bases[e] == level) {
                ++e;
            }
            if (level != SquareHalves::kNoCell && x[s] != x[e]) {
                const std::int32_t left =
                    x[s] - (s > 0 && bases[s - 1] > level ? Reach(x[s] - x[s - 1]) : 0);
                const std::int32_t right =
                    x[e] + (e < count && bases[e] > level ? Reach(x[e + 1] - x[e]) : 0);
                DeviceRect run{left, top, right, bottom};
                if (ReachInto(above_, s, e, left, right, level, top - up, top)) {
                    run.top -= up;
                }
                if (ReachInto(below_, s, e, left, right, level, bottom, bottom + down)) {
                    run.bottom += down;
                }
                layers_.Add(level, run);
            }
            s = e;
        }
        PaintHalves(top, bottom);
    }

    // Adds the parts of the band from .. to over squares s - 1 .. e of the
    // neighbouring row, clipped to left .. right, that lie over squares of
    // a higher base level. True, and nothing added, when the run's own fill
    // may take in the whole band instead: when some square under it is
    // higher and none lower (those of the same level are filled by this
    // layer anyway).
    bool ReachInto(const RowBases& row, std::int64_t s, std::int64_t e, std::int32_t left,
                   std::int32_t right, std::int32_t level, std::int32_t from, std::int32_t to) {
        if (from == to) {
            return false;
        }
        const std::int64_t count = count_;
        const std::int32_t* x = x_;
        const std::int64_t first = std::max<std::int64_t>(s - 1, 0);
        const std::int64_t last = std::min(e, count - 1);
        auto clipped = [&](std::int64_t c) {
            return std::pair{std::max(x[c], left), std::min(x[c + 1], right)};
        };
        bool higher = false;
        bool lower = false;
        for (std::int64_t c = first; c <= last; ++c) {
            const auto [a, b] = clipped(c);
            if (a < b) {
                higher = higher || row.bases[c] > level;
                lower = lower || row.bases[c] < level;
            }
        }
        if (!higher || !lower) {
            return higher;
        }
        std::int32_t bandStart = 0;
        std::int32_t bandEnd = 0;
        bool open = false;
        for (std::int64_t c = first; c <= last; ++c) {
            const auto [a, b] = clipped(c);
            // Into the corner beyond either end of the run only where the
            // square beside it is higher too: otherwise that square, or one
            // lower still, reaches into the corner.
            const bool inside = c >= s && c < e;
            const bool corner = c < s ? row.bases[s] > level : row.bases[e - 1] > level;
            if (a >= b || row.bases[c] <= level || !(inside || corner)) {
                continue;
            }
            if (open && bandEnd == a) {
                bandEnd = b;
                continue;
            }
            if (open) {
                layers_.Add(level, DeviceRect{bandStart, from, bandEnd, to});
            }
            open = true;
            bandStart = a;
            bandEnd = b;
        }
        if (open) {
            layers_.Add(level, DeviceRect{bandStart, from, bandEnd, to});
        }
        return false;
    }

    // The higher half of every cut square, and the one half of a square
    // that has a cell in one half only.
    void PaintHalves(std::int32_t top, std::int32_t bottom) {
        const std::int64_t count = count_;
        const std::int32_t* x = x_;
        for (std::int64_t i = 0; i < count; ++i) {
            const SquareHalves& h = current_.halves[i];
            if (h.below == h.above || x[i] == x[i + 1]) {
                continue;
            }
            const bool belowOnTop = h.above == SquareHalves::kNoCell ||
                                    (h.below != SquareHalves::kNoCell && h.below > h.above);
            layers_.Add(belowOnTop ? h.below : h.above,
                        HalfOf(squares_.diagonal, belowOnTop, x[i], x[i + 1], top, bottom));
        }
    }

    const SquareGrid& squares_;
    const bool transposed_;
    std::vector<std::int32_t> along_, across_;
    // x of the squares' sides along a row, from the first; y of the rows'
    // sides, by row.
    const std::int32_t* x_ = nullptr;
    const std::int32_t* y_ = nullptr;
    std::int64_t count_ = 0;
    std::int64_t rowFirst_ = 0, rowEnd_ = 0;
    Layers& layers_;
    RowBases below_, current_, above_;
};

} // namespace

void PaintLayeredSquares(Surface& surface, const SquareGrid& squares, const LevelBrushes& brushes) {
    if (squares.x2 <= squares.x1 || squares.y2 <= squares.y1) {
        return;
    }
    Layers layers(false);
    LayerPainter(squares, false, layers).Paint();
    if (squares.columnHalves) {
        // Runs up the columns may be fewer than along the rows.
        Layers upright(true);
        LayerPainter(squares, true, upright).Paint();
        if (upright.RectCount() < layers.RectCount()) {
            upright.Draw(surface, brushes);
            return;
        }
    }
    layers.Draw(surface, brushes);
}
