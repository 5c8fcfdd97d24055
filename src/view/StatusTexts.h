#pragma once

#include "render/Geometry.h"

#include <array>
#include <string>

class ChartDocument;
class PageCoordinateSystem;

// The texts of the status bar's panes 1 to 8 for the pointer at a device
// point of a map view (index 0 is unused): the value and level of the cell
// under it, the data point named by the axes (year, age and cohort when the
// axis labels say so), the point in pixels and in page units.
using StatusTexts = std::array<std::string, 9>;

StatusTexts MapStatusAt(const ChartDocument& document, const PageCoordinateSystem& page,
                        IntPoint point);
