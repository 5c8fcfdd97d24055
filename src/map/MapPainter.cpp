#include "map/MapPainter.h"

#include "render/FillGathering.h"
#include "render/SegmentJoiner.h"

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
        // The contours all use one pen; gathered, the cell edges along one
        // line become one segment.
        const ScopedGathering contours(surface);
        if (contours.Gathers()) {
            SegmentJoiner joined(surface);
            PaintContours(joined, page, map);
        } else {
            PaintContours(surface, page, map);
        }
    }
}
