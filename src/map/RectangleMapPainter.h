#pragma once

#include "map/MapPainter.h"

// Cells as rectangles: one matrix column per index unit along x, one row
// per unit along y. Runs go along rows.
class RectangleMapPainter : public MapPainter {
public:
    void PaintCells(Surface& surface, const PageCoordinateSystem& page,
                    const MapPaintInput& map) const override;
    void PaintCellsInLayers(Surface& surface, const PageCoordinateSystem& page,
                            const MapPaintInput& map) const override;
    void PaintContours(Surface& surface, const PageCoordinateSystem& page,
                       const MapPaintInput& map) const override;
    std::optional<MapCellHit> CellFromPoint(IntPoint point, const PageCoordinateSystem& page,
                                            const MapPaintInput& map) const override;
};
