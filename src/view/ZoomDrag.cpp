#include "view/ZoomDrag.h"

void ZoomDrag::Start(IntPoint at) {
    start_ = at;
    current_ = at;
    active_ = true;
}

bool ZoomDrag::Move(IntPoint at) {
    if (!active_) {
        return false;
    }
    current_ = at;
    return true;
}

std::optional<ZoomDrag::Corners> ZoomDrag::Finish(IntPoint end) {
    if (!active_) {
        return std::nullopt;
    }
    active_ = false;
    current_ = end;
    if (end.x == start_.x || end.y == start_.y) {
        return std::nullopt;
    }
    const IntPoint far{end.x + (end.x > start_.x ? 1 : 0), end.y + (end.y > start_.y ? 1 : 0)};
    const IntPoint near{start_.x + (start_.x > end.x ? 1 : 0),
                        start_.y + (start_.y > end.y ? 1 : 0)};
    return Corners{near, far};
}
