#include "render/RectOutline.h"

#include <algorithm>
#include <utility>

namespace {

// Half-open x intervals, sorted and apart from one another.
using Interval = std::pair<std::int32_t, std::int32_t>;

// A horizontal band of the union: y from top to bottom, covered over its
// intervals.
struct Band {
    std::int32_t top;
    std::int32_t bottom;
    std::size_t first; // into the shared interval list
    std::size_t count;
};

struct Edge {
    IntPoint from;
    IntPoint to;
};

bool Before(IntPoint a, IntPoint b) {
    return a.x != b.x ? a.x < b.x : a.y < b.y;
}

class Tracer {
public:
    explicit Tracer(std::span<const DeviceRect> rects) {
        for (const DeviceRect& rect : rects) {
            if (rect.left < rect.right && rect.top < rect.bottom) {
                rects_.push_back(rect);
            }
        }
    }

    Outline Trace() {
        MakeBands();
        MakeEdges();
        return LinkRings();
    }

private:
    // Cuts the union into bands between the rectangles' tops and bottoms;
    // neighbouring bands with the same intervals become one.
    void MakeBands() {
        std::vector<std::int32_t> ys;
        ys.reserve(2 * rects_.size());
        for (const DeviceRect& rect : rects_) {
            ys.push_back(rect.top);
            ys.push_back(rect.bottom);
        }
        std::sort(ys.begin(), ys.end());
        ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
        std::sort(rects_.begin(), rects_.end(),
                  [](const DeviceRect& a, const DeviceRect& b) { return a.top < b.top; });

        std::vector<const DeviceRect*> active;
        std::vector<Interval> covered;
        std::size_t next = 0;
        for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
            const std::int32_t top = ys[k];
            const std::int32_t bottom = ys[k + 1];
            std::erase_if(active, [&](const DeviceRect* rect) { return rect->bottom <= top; });
            for (; next < rects_.size() && rects_[next].top <= top; ++next) {
                active.push_back(&rects_[next]);
            }
            covered.clear();
            for (const DeviceRect* rect : active) {
                covered.emplace_back(rect->left, rect->right);
            }
            std::sort(covered.begin(), covered.end());
            const std::size_t first = intervals_.size();
            for (const Interval& interval : covered) {
                if (intervals_.size() > first && interval.first <= intervals_.back().second) {
                    intervals_.back().second = std::max(intervals_.back().second, interval.second);
                } else {
                    intervals_.push_back(interval);
                }
            }
            const std::size_t count = intervals_.size() - first;
            if (count == 0) {
                continue;
            }
            if (!bands_.empty() && bands_.back().bottom == top && bands_.back().count == count &&
                std::equal(intervals_.begin() + first, intervals_.end(),
                           intervals_.begin() + bands_.back().first)) {
                bands_.back().bottom = bottom;
                intervals_.resize(first);
            } else {
                bands_.push_back({top, bottom, first, count});
            }
        }
    }

    std::span<const Interval> IntervalsOf(const Band& band) const {
        return {intervals_.data() + band.first, band.count};
    }

    // The sides of every interval, and along each band border the parts
    // covered on one side only: a top side where the band below is
    // covered, running right, and a bottom side where the band above is,
    // running left.
    void MakeEdges() {
        for (std::size_t k = 0; k < bands_.size(); ++k) {
            const Band& band = bands_[k];
            for (const auto& [left, right] : IntervalsOf(band)) {
                edges_.push_back({{left, band.bottom}, {left, band.top}});
                edges_.push_back({{right, band.top}, {right, band.bottom}});
            }
            const bool joinsAbove = k > 0 && bands_[k - 1].bottom == band.top;
            Border(band.top, joinsAbove ? IntervalsOf(bands_[k - 1]) : std::span<const Interval>(),
                   IntervalsOf(band));
            const bool joinsBelow = k + 1 < bands_.size() && bands_[k + 1].top == band.bottom;
            if (!joinsBelow) {
                Border(band.bottom, IntervalsOf(band), {});
            }
        }
    }

    void Border(std::int32_t y, std::span<const Interval> above, std::span<const Interval> below) {
        changes_.clear();
        for (const auto& [left, right] : above) {
            changes_.push_back({left, 1, 0});
            changes_.push_back({right, -1, 0});
        }
        for (const auto& [left, right] : below) {
            changes_.push_back({left, 0, 1});
            changes_.push_back({right, 0, -1});
        }
        std::sort(changes_.begin(), changes_.end(),
                  [](const Change& a, const Change& b) { return a.x < b.x; });
        int inAbove = 0, inBelow = 0;
        // The state of the stretch that began at start: -1 bottom side,
        // 1 top side, 0 none.
        int state = 0;
        std::int32_t start = 0;
        for (std::size_t i = 0; i < changes_.size();) {
            const std::int32_t x = changes_[i].x;
            for (; i < changes_.size() && changes_[i].x == x; ++i) {
                inAbove += changes_[i].above;
                inBelow += changes_[i].below;
            }
            const int now = (inBelow > 0) - (inAbove > 0);
            if (now != state) {
                if (state == 1) {
                    edges_.push_back({{start, y}, {x, y}});
                } else if (state == -1) {
                    edges_.push_back({{x, y}, {start, y}});
                }
                state = now;
                start = x;
            }
        }
    }

    // Follows the edges from end to start into rings. At a corner where
    // two parts touch, either way on gives closed rings.
    Outline LinkRings() {
        std::sort(edges_.begin(), edges_.end(),
                  [](const Edge& a, const Edge& b) { return Before(a.from, b.from); });
        std::vector<bool> used(edges_.size(), false);
        auto unusedFrom = [&](IntPoint point) -> std::size_t {
            auto it = std::lower_bound(edges_.begin(), edges_.end(), point,
                                       [](const Edge& e, IntPoint p) { return Before(e.from, p); });
            for (; it != edges_.end() && it->from == point; ++it) {
                const auto index = static_cast<std::size_t>(it - edges_.begin());
                if (!used[index]) {
                    return index;
                }
            }
            return edges_.size();
        };
        Outline outline;
        for (std::size_t first = 0; first < edges_.size(); ++first) {
            if (used[first]) {
                continue;
            }
            const std::size_t ringStart = outline.corners.size();
            const IntPoint origin = edges_[first].from;
            std::size_t edge = first;
            while (edge < edges_.size()) {
                used[edge] = true;
                AddCorner(outline.corners, ringStart, edges_[edge].from);
                if (edges_[edge].to == origin) {
                    break;
                }
                edge = unusedFrom(edges_[edge].to);
            }
            // The ring closes on its first corner, which may itself lie
            // on a straight line, or make its last one do so.
            auto& corners = outline.corners;
            for (bool straightened = true; straightened && corners.size() - ringStart >= 3;) {
                straightened = false;
                if (Straight(corners.back(), corners[ringStart], corners[ringStart + 1])) {
                    corners.erase(corners.begin() + static_cast<std::ptrdiff_t>(ringStart));
                    straightened = true;
                } else if (Straight(corners[corners.size() - 2], corners.back(),
                                    corners[ringStart])) {
                    corners.pop_back();
                    straightened = true;
                }
            }
            outline.counts.push_back(static_cast<std::int32_t>(corners.size() - ringStart));
        }
        return outline;
    }

    static bool Straight(IntPoint a, IntPoint b, IntPoint c) {
        return (a.x == b.x && b.x == c.x) || (a.y == b.y && b.y == c.y);
    }

    static void AddCorner(std::vector<IntPoint>& corners, std::size_t ringStart, IntPoint corner) {
        if (corners.size() - ringStart >= 2 &&
            Straight(corners[corners.size() - 2], corners.back(), corner)) {
            corners.back() = corner;
        } else {
            corners.push_back(corner);
        }
    }

    std::vector<DeviceRect> rects_;
    std::vector<Band> bands_;
    std::vector<Interval> intervals_;
    std::vector<Edge> edges_;
    // Every interval end along one band border, with how it changes the
    // cover above and below.
    struct Change {
        std::int32_t x;
        int above;
        int below;
    };
    std::vector<Change> changes_;
};

} // namespace

Outline OutlineOfRects(std::span<const DeviceRect> rects) {
    return Tracer(rects).Trace();
}
