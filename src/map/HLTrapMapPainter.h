#pragma once

#include "map/RectangleMapPainter.h"

// Cells as parallelograms sheared against the rows: cell (r, c) has the
// corners (c, r), (c + 1, r), (c, r + 1), (c - 1, r + 1), leaning one column
// to the left per row. The index space runs from -1 to the number of
// columns; at the left and right plot edges one unit triangle per row stays
// unpainted. Runs go along rows, and the valued part of the map gets an
// outline.
class HLTrapMapPainter final : public RectangleMapPainter {
public:
    void PaintCells(Surface& surface, const PageCoordinateSystem& page,
                    const MapPaintInput& map) const override;
    void PaintContours(Surface& surface, const PageCoordinateSystem& page,
                       const MapPaintInput& map) const override;
    std::optional<MapCellHit> CellFromPoint(IntPoint point, const PageCoordinateSystem& page,
                                            const MapPaintInput& map) const override;
};
