#pragma once

#include "render/Geometry.h"

#include <optional>

// The drag of a zoom rectangle, in device pixels: where it started, where
// the pointer is, and the rectangle a release zooms to.
class ZoomDrag {
public:
    struct Corners {
        IntPoint nearCorner;
        IntPoint farCorner;
    };

    void Start(IntPoint at);
    // The pointer moved: false when no drag is under way.
    bool Move(IntPoint at);
    void Cancel() { active_ = false; }
    bool IsActive() const { return active_; }
    IntPoint StartPoint() const { return start_; }
    IntPoint Current() const { return current_; }

    // Ends the drag at a point. The pixel under the pointer belongs to the
    // rectangle, so its far side lies one past the pointer on the side it
    // moved to. Nothing when no drag was under way or the rectangle has no
    // width or no height.
    std::optional<Corners> Finish(IntPoint end);

private:
    IntPoint start_;
    IntPoint current_;
    bool active_ = false;
};
