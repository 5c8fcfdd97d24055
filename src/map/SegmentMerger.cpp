#include "map/SegmentMerger.h"

#include <numeric>
#include <utility>

std::size_t SegmentMerger::LineHash::operator()(const Line& line) const {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::int64_t part : {line.dx, line.dy, line.offset}) {
        hash = (hash ^ static_cast<std::uint64_t>(part)) * 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}

void SegmentMerger::LineTo(std::int32_t x, std::int32_t y) {
    const IntPoint start = position_;
    IntPoint a = start;
    IntPoint b{x, y};
    position_ = b;
    if (a == b) {
        return;
    }
    if (b.x < a.x || (b.x == a.x && b.y < a.y)) {
        std::swap(a, b);
    }
    std::int64_t dx = static_cast<std::int64_t>(b.x) - a.x;
    std::int64_t dy = static_cast<std::int64_t>(b.y) - a.y;
    const std::int64_t divisor = std::gcd(dx, dy);
    dx /= divisor;
    dy /= divisor;
    const Line line{dx, dy, dy * a.x - dx * a.y};
    // A segment drawn alone keeps its direction.
    const bool swapped = a != start;
    const Run next{dx * a.x + dy * a.y, dx * b.x + dy * b.y, swapped ? b : a, swapped ? a : b};
    const auto [it, added] = open_.try_emplace(line, runs_.size());
    if (added) {
        runs_.push_back(next);
        return;
    }
    Run& run = runs_[it->second];
    if (next.begin >= run.begin && next.end <= run.end) {
        return; // drawn already
    }
    const auto lower = [](const Run& r) {
        return r.from.x < r.to.x || (r.from.x == r.to.x && r.from.y < r.to.y) ? r.from : r.to;
    };
    const auto upper = [](const Run& r) {
        return r.from.x < r.to.x || (r.from.x == r.to.x && r.from.y < r.to.y) ? r.to : r.from;
    };
    // A diagonal drawn in one piece may step its pixels otherwise than in
    // two: only horizontal and vertical runs grow.
    const bool straight = dx == 0 || dy == 0;
    if (straight && next.begin <= run.end && next.end >= run.begin) {
        IntPoint from = lower(run);
        IntPoint to = upper(run);
        if (next.begin < run.begin) {
            run.begin = next.begin;
            from = lower(next);
        }
        if (next.end > run.end) {
            run.end = next.end;
            to = upper(next);
        }
        run.from = from;
        run.to = to;
        return;
    }
    Draw(run);
    run = next;
}

void SegmentMerger::Draw(const Run& run) {
    Target().MoveTo(run.from.x, run.from.y);
    Target().LineTo(run.to.x, run.to.y);
    ++drawn_;
}

void SegmentMerger::Flush() {
    for (const Run& run : runs_) {
        Draw(run);
    }
    runs_.clear();
    open_.clear();
}
