#pragma once

#include "map/RectangleMapPainter.h"

// Cells as triangles, two matrix columns per index unit along x: each unit
// square is cut by its rising diagonal, from the lower left to the upper
// right corner. The even column is the lower right triangle, the odd column
// the upper left one. Squares whose halves share a level are filled as runs
// of whole squares along the row.
class TriangleMapPainter final : public RectangleMapPainter {
public:
    void PaintCells(Surface& surface, const PageCoordinateSystem& page,
                    const MapPaintInput& map) const override;
    void PaintContours(Surface& surface, const PageCoordinateSystem& page,
                       const MapPaintInput& map) const override;
    std::optional<MapCellHit> CellFromPoint(IntPoint point, const PageCoordinateSystem& page,
                                            const MapPaintInput& map) const override;
};
