#pragma once

#include "render/Geometry.h"

#include <cstdint>
#include <span>
#include <vector>

// The outline of a union of device rectangles, as closed rings of corners:
// every outer border turns clockwise on the screen (like a rectangle from
// its top left corner to the right), every hole the other way, so that the
// rings filled together by the nonzero winding rule cover exactly the
// union. A ring's last corner joins its first; no corner lies on a
// straight line between its neighbours. Where two parts of the union touch
// at a corner only, they may share that corner in one ring.
struct Outline {
    std::vector<IntPoint> corners;
    // The number of corners of each ring, in the order of corners.
    std::vector<std::int32_t> counts;
};

// The rectangles may overlap and come in any order; empty ones count for
// nothing.
Outline OutlineOfRects(std::span<const DeviceRect> rects);
