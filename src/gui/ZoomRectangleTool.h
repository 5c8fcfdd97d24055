#pragma once

#include "view/ZoomDrag.h"

#include <QPoint>

class MapViewState;
class QRubberBand;
class QWidget;

// The Ctrl-drag zoom of a map view: it owns the rubber band the user draws,
// the drag under way and its cancel. The view forwards its mouse events.
class ZoomRectangleTool {
public:
    explicit ZoomRectangleTool(QWidget& view) : view_(view) {}

    void Press(QPoint at);
    // True when the move belonged to a drag.
    bool Move(QPoint at);
    // Ends a drag: true when the view zoomed to the rectangle; false when
    // no drag was under way, or the rectangle had no area.
    bool Release(QPoint at, MapViewState& state);
    // Drops a drag under way (Escape, or the view lost the focus).
    bool Cancel();
    bool IsDragging() const { return drag_.IsActive(); }

private:
    QWidget& view_;
    // Made at the first drag, a child of the view.
    QRubberBand* band_ = nullptr;
    ZoomDrag drag_;
};
