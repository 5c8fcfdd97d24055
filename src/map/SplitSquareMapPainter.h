#pragma once

#include "map/LayeredFills.h"
#include "map/RectangleMapPainter.h"

// Cells as triangles, two matrix columns per index unit along x: each unit
// square is cut by its diagonal, the even column being the triangle below
// it and the odd column the one above. Squares whose halves share a level
// are filled as runs of whole squares along the row. An odd last column has
// no partner and is never drawn.
template <Diagonal D>
class SplitSquareMapPainter : public RectangleMapPainter {
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

extern template class SplitSquareMapPainter<Diagonal::Rising>;
extern template class SplitSquareMapPainter<Diagonal::Falling>;
