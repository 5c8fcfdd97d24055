#pragma once

#include "map/RectangleMapPainter.h"

// How the cells of a parallelogram map are sheared, by one unit per row or
// column; the corners of cell (r, c) in index space:
enum class Shear {
    RowsLeanRight, // (c, r), (c + 1, r), (c + 2, r + 1), (c + 1, r + 1)
    RowsLeanLeft,  // (c, r), (c + 1, r), (c, r + 1), (c - 1, r + 1)
    ColumnsRise,   // (c, r), (c, r + 1), (c + 1, r + 2), (c + 1, r + 1)
    ColumnsFall,   // (c, r + 1), (c, r + 2), (c + 1, r + 1), (c + 1, r)
};

// Cells as parallelograms. The index space is one unit longer along the
// shear than the matrix, so along the two plot edges where the sheared rows
// or columns end, one unit triangle per row or column stays unpainted. Runs
// go along the sheared rows or columns, and the valued part of the map gets
// an outline.
template <Shear S>
class ParallelogramMapPainter : public RectangleMapPainter {
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

extern template class ParallelogramMapPainter<Shear::RowsLeanRight>;
extern template class ParallelogramMapPainter<Shear::RowsLeanLeft>;
extern template class ParallelogramMapPainter<Shear::ColumnsRise>;
extern template class ParallelogramMapPainter<Shear::ColumnsFall>;
