#include "gui/ZoomRectangleTool.h"

#include "view/MapViewState.h"

#include <QRubberBand>

namespace {

IntPoint ToInt(QPoint p) {
    return IntPoint{p.x(), p.y()};
}

} // namespace

void ZoomRectangleTool::Press(QPoint at) {
    if (band_ == nullptr) {
        band_ = new QRubberBand(QRubberBand::Rectangle, &view_);
    }
    drag_.Start(ToInt(at));
    band_->setGeometry(QRect(at, QSize()));
    band_->show();
}

bool ZoomRectangleTool::Move(QPoint at) {
    if (!drag_.Move(ToInt(at))) {
        return false;
    }
    const IntPoint start = drag_.StartPoint();
    band_->setGeometry(QRect(QPoint(start.x, start.y), at).normalized());
    return true;
}

bool ZoomRectangleTool::Release(QPoint at, MapViewState& state) {
    if (!drag_.IsActive()) {
        return false;
    }
    band_->hide();
    const std::optional<ZoomDrag::Corners> corners = drag_.Finish(ToInt(at));
    return corners && state.ZoomToDeviceRect(corners->nearCorner, corners->farCorner);
}

bool ZoomRectangleTool::Cancel() {
    if (!drag_.IsActive()) {
        return false;
    }
    drag_.Cancel();
    band_->hide();
    return true;
}
