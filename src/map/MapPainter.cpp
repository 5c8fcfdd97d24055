#include "map/MapPainter.h"

#include "render/FillGathering.h"

void MapPainter::Draw(Surface& surface, const PageCoordinateSystem& page,
                      const MapPaintInput& map) const {
    {
        const ScopedGathering cells(surface);
        if (cells.Gathers()) {
            PaintCellsInLayers(surface, page, map);
        } else {
            PaintCells(surface, page, map);
        }
    }
    if (map.contours.on) {
        // The contours all use one pen.
        const ScopedGathering contours(surface);
        PaintContours(surface, page, map);
    }
}
