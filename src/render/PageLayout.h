#pragma once

#include "render/PageCoordinateSystem.h"

// How a map view lays its page out in its window.

// The page of a sheet in page units: A4 across (2970 x 2100) in landscape,
// 2100 x 2970 in portrait.
struct PageSize {
    double width = 2970;
    double height = 2100;

    static PageSize A4(bool landscape) {
        return landscape ? PageSize{2970, 2100} : PageSize{2100, 2970};
    }
};

// Shows the page window (x1, x2, y1, y2) on the system's device viewport so
// that one page unit has the same size along x and y: the window is widened
// about its centre along the axis that has room to spare. Nothing happens
// when the window has no width or no height.
void SetPageWindowWithAspect(PageCoordinateSystem& system, double x1, double x2, double y1,
                             double y2);

// Shows the whole page, centred, on the device viewport.
inline void FitPage(PageCoordinateSystem& system, const PageSize& page) {
    SetPageWindowWithAspect(system, 0, page.width, 0, page.height);
}
