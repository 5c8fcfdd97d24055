#include "view/StatusTexts.h"

#include "core/FormatNumber.h"
#include "document/ChartDocument.h"
#include "document/DerivedSetup.h"
#include "frame/AxisNames.h"
#include "view/MapHits.h"

#include <cmath>

namespace {

using Axis = AxisName;

std::string Floor(double value) {
    return FormatNumber(std::floor(value), "F0");
}

const char* Prefix(Axis axis) {
    switch (axis) {
    case Axis::Year:
        return "y=";
    case Axis::Age:
        return "a=";
    case Axis::Cohort:
        return "c=";
    case Axis::Other:
        break;
    }
    return "";
}

// Panes 2, 3 and 8: the two axes and the third of year, age and cohort,
// which follows from them (cohort = year - age).
void AxisTexts(const ChartDocument& document, DoublePoint data, StatusTexts& texts) {
    const Axis x = AxisNamed(document.Frame.xLabel);
    const Axis y = AxisNamed(document.Frame.yLabel);
    const bool named = x != Axis::Other && y != Axis::Other && x != y;
    if (!named) {
        texts[2] = "x=" + FormatNumber(data.x, "F2");
        texts[3] = "y=" + FormatNumber(data.y, "F2");
        texts[8] = "z=" + FormatNumber(data.x - data.y, "F2");
        return;
    }
    texts[2] = Prefix(x) + Floor(data.x);
    texts[3] = Prefix(y) + Floor(data.y);
    // The axis that is neither x nor y, and its value from the other two:
    // cohort = year - age.
    struct Third {
        Axis x, y, third;
        double fromX, fromY;
    };
    static constexpr Third kThirds[] = {
        {Axis::Year, Axis::Age, Axis::Cohort, 1, -1}, {Axis::Age, Axis::Year, Axis::Cohort, -1, 1},
        {Axis::Cohort, Axis::Age, Axis::Year, 1, 1},  {Axis::Age, Axis::Cohort, Axis::Year, 1, 1},
        {Axis::Cohort, Axis::Year, Axis::Age, -1, 1}, {Axis::Year, Axis::Cohort, Axis::Age, 1, -1},
    };
    for (const Third& row : kThirds) {
        if (row.x == x && row.y == y) {
            texts[8] = Prefix(row.third) + Floor(row.fromX * data.x + row.fromY * data.y);
        }
    }
}

} // namespace

StatusTexts MapStatusAt(const ChartDocument& document, const PageCoordinateSystem& page,
                        IntPoint point) {
    StatusTexts texts;
    if (const std::optional<CellUnderPoint> cell = CellAt(document, page, point)) {
        const std::string level = " (" + FormatNumber(static_cast<double>(cell->level), "F0") + ")";
        if (document.Derived && !document.OriginalMatrix.IsEmpty()) {
            // A derived value is read beside the values it came from, in
            // three significant digits as a demographer quotes a ratio.
            texts[1] =
                "v=" + (cell->missing ? std::string("NA") : FormatNumber(cell->value, "G3")) +
                level + " " + DerivedSourceText(document, cell->row, cell->column);
        } else {
            texts[1] = "v=" + FormatNumber(cell->value, "F6") + level;
        }
    }
    if (const std::optional<DoublePoint> data = DataPointAt(document, page, point)) {
        AxisTexts(document, *data, texts);
    }
    const DoublePoint pagePoint = page.DeviceToPage(point.x, point.y);
    texts[4] = "px=" + FormatNumber(point.x, "F0");
    texts[5] = "py=" + FormatNumber(point.y, "F0");
    texts[6] = "xp=" + FormatNumber(pagePoint.x, "F0");
    texts[7] = "yp=" + FormatNumber(pagePoint.y, "F0");
    return texts;
}
