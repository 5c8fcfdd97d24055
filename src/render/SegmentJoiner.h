#pragma once

#include "render/ForwardingSurface.h"

#include <cstdint>
#include <vector>

// A segment placed on its line: the line's direction (dx, dy) in lowest
// terms, pointing right (or down where it is vertical), its offset
// dy * x - dx * y, the span begin..end the segment covers along it, and its
// ends in that direction.
struct SegmentOnLine {
    std::int64_t dx, dy, offset, begin, end;
    IntPoint from, to;
};
// The segment from a to b placed on its line; a and b differ.
SegmentOnLine PlaceOnLine(IntPoint a, IntPoint b);

// Passes everything on to its target, but keeps the straight segments
// drawn with MoveTo and LineTo and draws them when the pen changes or it
// goes: segments that lie on one line and overlap or touch become one, and
// segments that meet end to end are drawn as one line through all of them,
// so that a contour along many cells is one line in a vector file rather
// than one per cell edge. Only for drawing that is nothing but segments of
// one pen: the picture is the same, but the order of the segments is not.
class SegmentJoiner final : public ForwardingSurface {
public:
    explicit SegmentJoiner(Surface& target) : ForwardingSurface(target) {}
    ~SegmentJoiner() override { Flush(); }
    SegmentJoiner(const SegmentJoiner&) = delete;
    SegmentJoiner& operator=(const SegmentJoiner&) = delete;

    Pen SelectPen(Pen pen) override {
        Flush();
        return Target().SelectPen(pen);
    }
    void MoveTo(std::int32_t x, std::int32_t y) override { position_ = {x, y}; }
    void LineTo(std::int32_t x, std::int32_t y) override;

private:
    struct Segment {
        IntPoint from;
        IntPoint to;
    };
    void Flush();
    // Draws the segments as lines through as many of them as meet.
    void DrawChains(const std::vector<Segment>& segments);

    IntPoint position_;
    std::vector<Segment> segments_;
};
