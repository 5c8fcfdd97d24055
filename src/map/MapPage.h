#pragma once

#include "annotations/LLine.h"
#include "annotations/LRectangle.h"
#include "annotations/LText.h"
#include "core/LObjectContainer.h"
#include "frame/PlotFrame.h"
#include "map/CohortLines.h"
#include "map/MapPaintInput.h"
#include "render/PageCoordinateSystem.h"
#include "render/PageLayout.h"
#include "scale/MScale.h"
#include "setup/TextEncoding.h"

#include <cstdint>
#include <functional>

class Surface;

// Draws the cells and contour lines of a map in place of its painter: a
// window that keeps them as a picture draws that picture instead.
using MapCellsDrawer =
    std::function<void(Surface&, const PageCoordinateSystem&, const MapPaintInput&)>;

// Everything on one map's page, borrowed from its document for one paint.
// The frame, the legend and the texts record where their texts were drawn,
// so they are not const.
struct MapPageContent {
    const WMAT& levels;
    const DMAT& data;
    const DMAT& scale;
    const LRGBColorVect& colors;
    std::uint32_t mapType = 0;
    ContourSettings contours;
    PlotFrame& frame;
    MScale& legend;
    LObjectContainer<LText>& texts;
    LObjectContainer<LLine>& lines;
    LObjectContainer<LRectangle>& rectangles;
    // The encoding of the setup file the texts come from; they reach the
    // surface as UTF-8.
    TextEncoding textEncoding = TextEncoding::Utf8;
    // The cohort lines over the cells; none draws none.
    const CohortLineSettings* cohortLines = nullptr;
};

// What the view shows besides the content.
struct MapPageOptions {
    PageSize page;
    // The cells and their contour lines (the view's Show Plot).
    bool showMap = true;
    // Only the cells, stretched over the window (the view's Fit Plot Area).
    bool fitPlotArea = false;
    // The dotted outline of the sheet, on screen only.
    bool pageOutline = true;
    // A print job: the whole page is mapped onto the printer's device,
    // whatever the view shows, and no outline is drawn.
    bool printing = false;
    // When set, draws the cells and contour lines instead of the map type's
    // painter (never while printing).
    MapCellsDrawer cells;
};

// Paints a map's page: the page outline, the cells and contour lines, the
// cohort lines, the legend, the plot frame, then the text, line and rectangle annotations.
// The view's page system is the same afterwards, also when an LException
// (a plot without area, a reversed data range) leaves the paint.
void PaintMapPage(Surface& surface, PageCoordinateSystem& view, const MapPageContent& content,
                  const MapPageOptions& options);
