#include "map/MapPainter.h"

#include "render/FillGathering.h"

void MapPainter::Draw(Surface& surface, const PageCoordinateSystem& page,
                      const MapPaintInput& map) const {
    {
        // Cells never overlap, and contours all use one pen.
        const ScopedGathering cells(surface);
        PaintCells(surface, page, map);
    }
    if (map.contours.on) {
        const ScopedGathering contours(surface);
        PaintContours(surface, page, map);
    }
}
