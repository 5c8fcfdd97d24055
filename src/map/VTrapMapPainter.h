#pragma once

#include "map/RectangleMapPainter.h"

// Cells as parallelograms sheared along the columns: cell (r, c) has the
// corners (c, r), (c, r + 1), (c + 1, r + 2), (c + 1, r + 1), rising one row
// from its left side to its right side. The index space is one unit higher
// than the matrix; at the lower and upper plot edges one unit triangle per
// column stays unpainted. Runs go along columns, and the valued part of the
// map gets an outline.
class VTrapMapPainter final : public RectangleMapPainter {
public:
    void PaintCells(Surface& surface, const PageCoordinateSystem& page,
                    const MapPaintInput& map) const override;
    void PaintContours(Surface& surface, const PageCoordinateSystem& page,
                       const MapPaintInput& map) const override;
    std::optional<MapCellHit> CellFromPoint(IntPoint point, const PageCoordinateSystem& page,
                                            const MapPaintInput& map) const override;
};
