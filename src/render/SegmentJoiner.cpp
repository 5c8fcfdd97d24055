#include "render/SegmentJoiner.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <tuple>

namespace {

// A segment on its line: the line's direction (dx, dy), reduced and
// pointing right or down, the line's offset, and where along the line the
// segment begins and ends.
struct OnLine {
    std::int64_t dx, dy, offset, begin, end;
    IntPoint from, to;
};

OnLine Place(IntPoint a, IntPoint b) {
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

} // namespace

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
    std::vector<OnLine> placed;
    placed.reserve(segments_.size());
    for (const Segment& segment : segments_) {
        placed.push_back(Place(segment.from, segment.to));
    }
    segments_.clear();
    std::sort(placed.begin(), placed.end(), [](const OnLine& a, const OnLine& b) {
        return std::tie(a.dx, a.dy, a.offset, a.begin) < std::tie(b.dx, b.dy, b.offset, b.begin);
    });
    const IntPoint restore = position_;
    auto draw = [&](const OnLine& line) {
        Target().MoveTo(line.from.x, line.from.y);
        Target().LineTo(line.to.x, line.to.y);
    };
    OnLine joined = placed.front();
    for (std::size_t k = 1; k < placed.size(); ++k) {
        const OnLine& next = placed[k];
        if (next.dx == joined.dx && next.dy == joined.dy && next.offset == joined.offset &&
            next.begin <= joined.end) {
            if (next.end > joined.end) {
                joined.end = next.end;
                joined.to = next.to;
            }
            continue;
        }
        draw(joined);
        joined = next;
    }
    draw(joined);
    Target().MoveTo(restore.x, restore.y);
}
