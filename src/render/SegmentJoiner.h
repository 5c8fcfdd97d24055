#pragma once

#include "render/ForwardingSurface.h"

#include <vector>

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
