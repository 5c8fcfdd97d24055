#include "view/MapViewState.h"

#include "core/ExceptionReports.h"
#include "core/LException.h"
#include "core/WMException.h"
#include "document/ChartDocument.h"
#include "frame/PlotFrame.h"
#include "map/MapPage.h"
#include "view/DocumentPage.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

// A page unit may not grow past 32767 / 6000 pixels (device coordinates
// would overflow 16 bits on the page) nor shrink below 50 / 6000 of one.
constexpr double kZoomInLimit = 32767.0;
constexpr double kZoomOutLimit = 50.0;
constexpr double kZoomReference = 6000.0;

} // namespace

bool WithinZoomLimits(double x1, double x2, double y1, double y2, IntSize screen) {
    if (x1 > x2) {
        std::swap(x1, x2);
    }
    if (y1 > y2) {
        std::swap(y1, y2);
    }
    const double width = x2 - x1;
    const double height = y2 - y1;
    const double horzRes = screen.width;
    const double vertRes = screen.height;
    const bool notTooSmall = horzRes / kZoomInLimit * kZoomReference < width &&
                             vertRes / kZoomInLimit * kZoomReference < height;
    const bool notTooLarge = width < horzRes / kZoomOutLimit * kZoomReference &&
                             height < vertRes / kZoomOutLimit * kZoomReference;
    return notTooSmall && notTooLarge;
}

MapViewState::MapViewState() : pageSize_{kDefaultPageWidth, kDefaultPageHeight} {}

void MapViewState::RecomputePage(std::optional<DoubleSize> printerPage) {
    if (!printerPage || !(printerPage->width > 0) || !(printerPage->height > 0)) {
        pageSize_ = PageSize{kDefaultPageWidth, kDefaultPageHeight};
    } else {
        pageSize_ = PageSize{printerPage->width, printerPage->height};
    }
    SetWindowWithAspect(0, pageSize_.width, 0, pageSize_.height);
}

bool MapViewState::Resize(int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    page_.SetDeviceRect(0, width, height, 0);
    if (!fitPlotArea_) {
        FitPage();
    }
    return true;
}

void MapViewState::SetWindowWithAspect(double x1, double x2, double y1, double y2) {
    try {
        if (fitPlotArea_) {
            page_.SetPageWindow(x1, x2, y1, y2);
        } else {
            SetPageWindowWithAspect(page_, x1, x2, y1, y2);
        }
    } catch (const LException&) {
        // A window the page system cannot show (empty, not finite) leaves
        // the view where it was.
    }
}

bool MapViewState::ZoomTo(double x1, double x2, double y1, double y2) {
    if (x1 > x2) {
        std::swap(x1, x2);
    }
    if (y1 > y2) {
        std::swap(y1, y2);
    }
    if (!WithinZoomLimits(x1, x2, y1, y2, screen_)) {
        return false;
    }
    SetWindowWithAspect(x1, x2, y1, y2);
    return true;
}

void MapViewState::FitPage() {
    SetWindowWithAspect(0, pageSize_.width, 0, pageSize_.height);
}

bool MapViewState::ZoomIn() {
    const double h = (page_.GetX2() - page_.GetX1()) * 0.5;
    const double v = (page_.GetY2() - page_.GetY1()) * 0.5;
    if (h == 0 || v == 0) {
        return false;
    }
    const DoublePoint p = DeviceToPage(lastClick);
    return ZoomTo(p.x - h / 2.0, p.x + h / 2.0, p.y - v / 2.0, p.y + v / 2.0);
}

bool MapViewState::ZoomOut() {
    const double h = (page_.GetX2() - page_.GetX1()) * 0.5;
    const double v = (page_.GetY2() - page_.GetY1()) * 0.5;
    if (h == 0 || v == 0) {
        return false;
    }
    const DoublePoint p = DeviceToPage(lastClick);
    return ZoomTo(p.x - h * 2.0, p.x + h * 2.0, p.y - v * 2.0, p.y + v * 2.0);
}

void MapViewState::CenterHere() {
    const double w = page_.GetX2() - page_.GetX1();
    const double h = page_.GetY2() - page_.GetY1();
    const DoublePoint p = DeviceToPage(lastClick);
    SetWindowWithAspect(p.x - w / 2, p.x + w / 2, p.y - h / 2, p.y + h / 2);
}

bool MapViewState::ZoomToDeviceRect(IntPoint a, IntPoint b) {
    const DoublePoint pa = DeviceToPage(a);
    const DoublePoint pb = DeviceToPage(b);
    return ZoomTo(pa.x, pb.x, pa.y, pb.y);
}

void MapViewState::Move(MoveDirection direction) {
    double dx = 0;
    double dy = 0;
    switch (direction) {
    case MoveDirection::Up:
        dy = kMoveStep;
        break;
    case MoveDirection::Down:
        dy = -kMoveStep;
        break;
    case MoveDirection::Left:
        dx = -kMoveStep;
        break;
    case MoveDirection::Right:
        dx = kMoveStep;
        break;
    }
    SetWindowWithAspect(page_.GetX1() + dx, page_.GetX2() + dx, page_.GetY1() + dy,
                        page_.GetY2() + dy);
}

void MapViewState::ToggleFitPlotArea(const PlotFrame& frame) {
    if (fitPlotArea_) {
        LeaveFitPlotArea();
        return;
    }
    const double x1 = frame.xOrigin;
    const double x2 = x1 + frame.xSize;
    const double y1 = frame.yOrigin;
    const double y2 = y1 + frame.ySize;
    if (!(x2 > x1) || !(y2 > y1)) {
        // A plot without area cannot fill the window.
        return;
    }
    savedX1_ = page_.GetX1();
    savedX2_ = page_.GetX2();
    savedY1_ = page_.GetY1();
    savedY2_ = page_.GetY2();
    fitPlotArea_ = true;
    SetWindowWithAspect(x1, x2, y1, y2);
}

void MapViewState::LeaveFitPlotArea() {
    if (!fitPlotArea_) {
        return;
    }
    fitPlotArea_ = false;
    SetWindowWithAspect(savedX1_, savedX2_, savedY1_, savedY2_);
}

DoublePoint MapViewState::DeviceToPage(IntPoint point) const {
    return page_.DeviceToPage(point.x, point.y);
}

IntPoint MapViewState::ViewportCentre() const {
    return IntPoint{(page_.GetLeft() + page_.GetRight()) / 2,
                    (page_.GetTop() + page_.GetBottom()) / 2};
}

std::optional<std::string> MapViewState::Paint(Surface& surface, ChartDocument& document,
                                               bool printing, const MapCellsDrawer& cells) {
    paintComplete = false;
    MapPageOptions options;
    options.page = pageSize_;
    options.showMap = showMap;
    options.fitPlotArea = fitPlotArea_;
    options.pageOutline = pageOutline;
    options.printing = printing;
    options.cells = cells;
    std::optional<std::string> failure;
    try {
        PaintMapPage(surface, page_, PageContentOf(document), options);
    } catch (const LException& e) {
        failure = PaintExceptionText(e);
    } catch (const WMException& e) {
        failure = "Matrix exception " + std::to_string(e.GetCode());
    } catch (const std::bad_alloc&) {
        failure = "Not enough memory to draw the map";
    }
    paintComplete = true;
    return failure;
}
