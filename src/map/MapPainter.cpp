#include "map/MapPainter.h"

#include "map/SegmentMerger.h"
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
        // A map of more cells than pixels repeats its edges along the same
        // pixel lines: merged first, every line is drawn once.
        const ScopedGathering contours(surface);
        if (contours.Gathers()) {
            SegmentJoiner joined(surface);
            SegmentMerger merged(joined);
            PaintContours(merged, page, map);
        } else {
            SegmentMerger merged(surface);
            PaintContours(merged, page, map);
        }
    }
}
