#include "map/MapPainter.h"

void MapPainter::Draw(Surface& surface, const PageCoordinateSystem& page,
                      const MapPaintInput& map) const {
    PaintCells(surface, page, map);
    if (map.contours.on) {
        PaintContours(surface, page, map);
    }
}
