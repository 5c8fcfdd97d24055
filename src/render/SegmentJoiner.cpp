#include "render/SegmentJoiner.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <numeric>
#include <optional>
#include <tuple>

SegmentOnLine PlaceOnLine(IntPoint a, IntPoint b) {
    if (b.x < a.x || (b.x == a.x && b.y < a.y)) {
        std::swap(a, b);
    }
    std::int64_t dx = static_cast<std::int64_t>(b.x) - a.x;
    std::int64_t dy = static_cast<std::int64_t>(b.y) - a.y;
    const std::int64_t divisor = std::gcd(dx, dy);
    dx /= divisor;
    dy /= divisor;
    return {dx, dy, dy * a.x - dx * a.y, dx * a.x + dy * a.y, dx * b.x + dy * b.y, a, b};
}

void SegmentJoiner::LineTo(std::int32_t x, std::int32_t y) {
    const IntPoint to{x, y};
    if (to != position_) {
        segments_.push_back({position_, to});
    }
    position_ = to;
}

void SegmentJoiner::Flush() {
    if (segments_.empty()) {
        return;
    }
    std::vector<SegmentOnLine> placed;
    placed.reserve(segments_.size());
    for (const Segment& segment : segments_) {
        placed.push_back(PlaceOnLine(segment.from, segment.to));
    }
    segments_.clear();
    std::sort(placed.begin(), placed.end(), [](const SegmentOnLine& a, const SegmentOnLine& b) {
        return std::tie(a.dx, a.dy, a.offset, a.begin) < std::tie(b.dx, b.dy, b.offset, b.begin);
    });
    std::vector<Segment> joined;
    SegmentOnLine line = placed.front();
    for (std::size_t k = 1; k < placed.size(); ++k) {
        const SegmentOnLine& next = placed[k];
        if (next.dx == line.dx && next.dy == line.dy && next.offset == line.offset &&
            next.begin <= line.end) {
            if (next.end > line.end) {
                line.end = next.end;
                line.to = next.to;
            }
            continue;
        }
        joined.push_back({line.from, line.to});
        line = next;
    }
    joined.push_back({line.from, line.to});
    DrawChains(joined);
}

void SegmentJoiner::DrawChains(const std::vector<Segment>& segments) {
    // Every segment's two ends, by point.
    std::vector<std::pair<IntPoint, std::size_t>> ends;
    ends.reserve(2 * segments.size());
    for (std::size_t k = 0; k < segments.size(); ++k) {
        ends.emplace_back(segments[k].from, k);
        ends.emplace_back(segments[k].to, k);
    }
    const auto before = [](const std::pair<IntPoint, std::size_t>& a,
                           const std::pair<IntPoint, std::size_t>& b) {
        return std::tie(a.first.x, a.first.y, a.second) < std::tie(b.first.x, b.first.y, b.second);
    };
    std::sort(ends.begin(), ends.end(), before);
    std::vector<bool> used(segments.size(), false);
    // The other end of an unused segment that ends at point, if any.
    auto next = [&](IntPoint point) -> std::optional<IntPoint> {
        auto it =
            std::lower_bound(ends.begin(), ends.end(), std::pair{point, std::size_t{0}}, before);
        for (; it != ends.end() && it->first == point; ++it) {
            if (!used[it->second]) {
                used[it->second] = true;
                const Segment& s = segments[it->second];
                return s.from == point ? s.to : s.from;
            }
        }
        return std::nullopt;
    };
    const IntPoint restore = position_;
    std::deque<IntPoint> chain;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        if (used[k]) {
            continue;
        }
        used[k] = true;
        chain.assign({segments[k].from, segments[k].to});
        while (const auto point = next(chain.back())) {
            chain.push_back(*point);
        }
        while (const auto point = next(chain.front())) {
            chain.push_front(*point);
        }
        Target().MoveTo(chain.front().x, chain.front().y);
        for (std::size_t n = 1; n < chain.size(); ++n) {
            Target().LineTo(chain[n].x, chain[n].y);
        }
    }
    Target().MoveTo(restore.x, restore.y);
}
