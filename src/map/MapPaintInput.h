#pragma once

#include "core/DMAT.h"
#include "core/WMAT.h"
#include "scale/LRGBColorVect.h"

#include <cstdint>

// The plot rectangle on the page, in page units: its lower left corner and
// its size.
struct MapPlotRect {
    std::int32_t xOrigin = 0;
    std::int32_t yOrigin = 0;
    std::int32_t xSize = 0;
    std::int32_t ySize = 0;
};

// The document's contour line settings: whether they are drawn, their
// width in page units (0.1 mm) and their colour.
struct ContourSettings {
    bool on = false;
    double width = 0.0;
    LRGBColor color = 0;
};

// Everything a map painter reads for one call, borrowed from the document
// for the duration of that call.
struct MapPaintInput {
    // One scale level per data cell: 0 .. boundaryCount for the classes,
    // boundaryCount + 1 for a cell without a value.
    const WMAT& levels;
    // The data matrix; only hit tests read its values.
    const DMAT& data;
    // The number of boundaries of the scale; without any, nothing is drawn.
    std::uint32_t boundaryCount = 0;
    // One colour per level index, the missing colour last.
    const LRGBColorVect& colors;
    MapPlotRect plot;
    ContourSettings contours;
};
