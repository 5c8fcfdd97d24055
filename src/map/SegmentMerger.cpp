#include "map/SegmentMerger.h"

#include "render/SegmentJoiner.h"

std::size_t SegmentMerger::LineHash::operator()(const Line& line) const {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::int64_t part : {line.dx, line.dy, line.offset}) {
        hash = (hash ^ static_cast<std::uint64_t>(part)) * 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}

void SegmentMerger::LineTo(std::int32_t x, std::int32_t y) {
    const IntPoint start = position_;
    const IntPoint end{x, y};
    position_ = end;
    if (start == end) {
        return;
    }
    const SegmentOnLine placed = PlaceOnLine(start, end);
    const Line line{placed.dx, placed.dy, placed.offset};
    // A segment drawn alone keeps its direction.
    const Run next{placed.begin, placed.end, start, end};
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
    const bool straight = placed.dx == 0 || placed.dy == 0;
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
