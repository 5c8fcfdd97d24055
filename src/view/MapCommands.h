#pragma once

#include "document/EditSnapshot.h"
#include "view/MapHits.h"

#include <cstdint>
#include <optional>
#include <string>

class ChartDocument;

// The edits a map view makes in place, on its document: the commands of
// the cell and legend context menus. Each keeps the colour table L + 2
// long, reclassifies the map and lets the legend follow the scale; the view
// marks itself modified and repaints when one answers Changed.
enum class MapEdit { Unchanged, Changed };

// Which cell commands a click on this cell (or on none) may run.
struct CellMenuState {
    bool pullUpper = false;
    bool pullLower = false;
    bool insertContour = false;
    bool deleteRegion = false;
    bool changeColor = false;
};
CellMenuState CellMenuEnablers(const ChartDocument& document,
                               const std::optional<CellUnderPoint>& cell);

// Moves the upper (lower) line of the cell's class to the cell's value;
// the top (bottom) class gets a new line above (below) it instead. A pull
// that would leave two equal boundaries is refused with a message: a scale
// that is not increasing classifies cells wrongly.
MapEdit PullUpperLine(ChartDocument& document, const CellUnderPoint& cell);
MapEdit PullLowerLine(ChartDocument& document, const CellUnderPoint& cell);
// Cuts the cell's class at its value (refused when the value already is a
// boundary).
MapEdit InsertContourLine(ChartDocument& document, const CellUnderPoint& cell);
// Merges the cell's class into its neighbour.
MapEdit DeleteRegion(ChartDocument& document, const CellUnderPoint& cell);

// Smart Scale: the boundaries become quantiles of the data, repeated ones
// merged into one (so fewer levels, their colours kept from the bottom),
// and the legend's number format tells every two neighbours apart.
// Unchanged, leaving the scale as it was, when the data have no values.
MapEdit SmartScaleLevels(ChartDocument& document);

// The legend menu's commands on level k.
MapEdit InsertLevel(ChartDocument& document, std::uint32_t k);
MapEdit DeleteLevel(ChartDocument& document, std::uint32_t k);
enum class ColorShift { Up, Down, Reverse };
void ShiftLevelColors(ChartDocument& document, ColorShift shift);

// The text of the Info box for a view whose client area is width x height.
std::string MapInfoText(const ChartDocument& document, int width, int height);
