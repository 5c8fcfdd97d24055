#pragma once

#include "render/ForwardingSurface.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

// Passes everything on to its target, but merges the straight segments
// drawn with MoveTo and LineTo as they come: a segment on the line of one
// still open is dropped when that one covers it, and along a horizontal or
// vertical line one that overlaps or touches it lengthens it. A map with
// far more cells than device pixels draws its contours along the same few
// pixel lines millions of times; merged, each is drawn once. Each segment
// costs one look-up, so the work is linear in the segments drawn. Only for
// drawing that is nothing but segments of one pen: the open lines are drawn
// when the pen changes or the merger goes.
class SegmentMerger final : public ForwardingSurface {
public:
    explicit SegmentMerger(Surface& target) : ForwardingSurface(target) {}
    ~SegmentMerger() override { Flush(); }
    SegmentMerger(const SegmentMerger&) = delete;
    SegmentMerger& operator=(const SegmentMerger&) = delete;

    Pen SelectPen(Pen pen) override {
        Flush();
        return Target().SelectPen(pen);
    }
    void MoveTo(std::int32_t x, std::int32_t y) override { position_ = {x, y}; }
    void LineTo(std::int32_t x, std::int32_t y) override;

    // The segments passed on to the target so far.
    std::size_t Drawn() const { return drawn_; }

private:
    // A line: its direction reduced and pointing right or down, and its
    // offset.
    struct Line {
        std::int64_t dx, dy, offset;
        friend bool operator==(const Line&, const Line&) = default;
    };
    struct LineHash {
        std::size_t operator()(const Line& line) const;
    };
    // The open run of a line: where along it it begins and ends.
    struct Run {
        std::int64_t begin, end;
        IntPoint from, to;
    };

    void Draw(const Run& run);
    void Flush();

    IntPoint position_;
    std::unordered_map<Line, std::size_t, LineHash> open_;
    // The open runs in the order their lines were first drawn, so that the
    // output does not depend on the hash.
    std::vector<Run> runs_;
    std::size_t drawn_ = 0;
};
