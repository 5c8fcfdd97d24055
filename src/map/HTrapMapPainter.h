#pragma once

#include "map/RectangleMapPainter.h"

// Cells as parallelograms sheared along the rows: cell (r, c) has the corners
// (c, r), (c + 1, r), (c + 2, r + 1), (c + 1, r + 1), leaning one column to
// the right per row, along the cohort diagonal. The index space is one unit
// wider than the matrix; at the left and right plot edges one unit triangle
// per row stays unpainted. Runs go along rows, and the valued part of the
// map gets an outline.
class HTrapMapPainter final : public RectangleMapPainter {
public:
    void PaintCells(Surface& surface, const PageCoordinateSystem& page,
                    const MapPaintInput& map) const override;
    void PaintContours(Surface& surface, const PageCoordinateSystem& page,
                       const MapPaintInput& map) const override;
    std::optional<MapCellHit> CellFromPoint(IntPoint point, const PageCoordinateSystem& page,
                                            const MapPaintInput& map) const override;
};
