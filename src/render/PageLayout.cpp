#include "render/PageLayout.h"

void SetPageWindowWithAspect(PageCoordinateSystem& system, double x1, double x2, double y1,
                             double y2) {
    if (x1 == x2 || y1 == y2) {
        return;
    }
    const double deviceWidth = static_cast<double>(system.GetRight()) - system.GetLeft();
    const double deviceHeight = static_cast<double>(system.GetBottom()) - system.GetTop();
    const double sx = deviceWidth / (x2 - x1);
    const double sy = deviceHeight / (y2 - y1);
    if (sx <= sy) {
        const double d = (deviceHeight / sx - (y2 - y1)) * 0.5;
        y1 -= d;
        y2 += d;
    } else {
        const double d = (deviceWidth / sy - (x2 - x1)) * 0.5;
        x1 -= d;
        x2 += d;
    }
    system.SetPageWindow(x1, x2, y1, y2);
}
