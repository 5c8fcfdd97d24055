#include "map/SplitSquareMapPainter.h"

#include "map/MapPaintSupport.h"

#include <array>

template <Diagonal D>
void SplitSquareMapPainter<D>::PaintCells(Surface& surface, const PageCoordinateSystem& page,
                                          const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    constexpr bool rising = D == Diagonal::Rising;
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t pairs = map.levels.GetColumns() / 2;
    const MapIndexGrid grid(page, map.plot, 0, pairs, 0, rows);
    const LevelBrushes brushes(map.colors, map.levels, 2 * pairs);
    const std::int32_t* x = grid.X();
    const std::int32_t* y = grid.Y();
    const std::size_t pairStride = 2 * static_cast<std::size_t>(rows);

    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::int32_t bottom = y[r];
        const std::int32_t top = y[r + 1];
        if (bottom == top) {
            continue; // a row without height fills nothing
        }
        const std::uint16_t* row = map.levels.Data() + r;
        // The pending run of whole squares: pairs start .. k - 1 of one level.
        bool pending = false;
        std::uint32_t start = 0;
        std::uint16_t runLevel = 0;
        auto fillRun = [&](std::uint32_t end) {
            if (x[start] != x[end]) {
                surface.FillRect(DeviceRect{x[start], top, x[end], bottom}, brushes[runLevel]);
            }
        };
        for (std::uint32_t k = 0; k < pairs; ++k) {
            const std::uint16_t* square = row + k * pairStride;
            const std::uint16_t a = square[0];
            const std::uint16_t b = square[rows];
            if (a != b) {
                if (pending) {
                    fillRun(k);
                    pending = false;
                }
                const std::int32_t x0 = x[k];
                const std::int32_t x1 = x[k + 1];
                if (x0 != x1) { // otherwise both triangles have no area
                    const std::array<IntPoint, 3> below = {IntPoint{x0, bottom},
                                                           IntPoint{x1, bottom},
                                                           IntPoint{rising ? x1 : x0, top}};
                    const std::array<IntPoint, 3> above = {IntPoint{rising ? x0 : x1, bottom},
                                                           IntPoint{x1, top}, IntPoint{x0, top}};
                    surface.FillPolygon(below, brushes[a]);
                    surface.FillPolygon(above, brushes[b]);
                }
            } else if (!pending || runLevel != a) {
                if (pending) {
                    fillRun(k);
                }
                pending = true;
                start = k;
                runLevel = a;
            }
        }
        if (pending) {
            fillRun(pairs);
        }
    }
}

template <Diagonal D>
void SplitSquareMapPainter<D>::PaintCellsInLayers(Surface& surface,
                                                  const PageCoordinateSystem& page,
                                                  const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t pairs = map.levels.GetColumns() / 2;
    const MapIndexGrid grid(page, map.plot, 0, pairs, 0, rows);
    const LevelBrushes brushes(map.colors, map.levels, 2 * pairs);
    const std::uint16_t* levels = map.levels.Data();
    PaintLayeredSquares(surface,
                        {grid, 0, pairs, 0, rows, D,
                         [&](std::int64_t j, SquareHalves* out) {
                             // The even column below the diagonal, the odd one above.
                             const std::uint16_t* cell = levels + j;
                             for (std::uint32_t k = 0; k < pairs; ++k, cell += 2 * rows) {
                                 out[k] = {cell[0], cell[rows]};
                             }
                         }},
                        brushes);
}

template <Diagonal D>
void SplitSquareMapPainter<D>::PaintContours(Surface& surface, const PageCoordinateSystem& page,
                                             const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    constexpr bool rising = D == Diagonal::Rising;
    const ScopedPen pen(surface, ContourPen(page, map.contours));
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t pairs = map.levels.GetColumns() / 2;
    const MapIndexGrid grid(page, map.plot, 0, pairs, 0, rows);
    const std::int32_t* x = grid.X();
    const std::int32_t* y = grid.Y();
    const std::size_t pairStride = 2 * static_cast<std::size_t>(rows);
    // A square's half along its right side meets the next square's half
    // along its left side: a and the next b for a rising diagonal, b and the
    // next a for a falling one.
    const std::size_t nextLeftHalf = pairStride + (rising ? rows : 0);

    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::uint16_t* row = map.levels.Data() + r;
        const bool hasAbove = r + 1 < rows;
        for (std::uint32_t k = 0; k < pairs; ++k) {
            // a: the half below the diagonal (column 2k); b: the half above.
            const std::uint16_t* square = row + k * pairStride;
            const std::uint16_t a = square[0];
            const std::uint16_t b = square[rows];
            if (a != b) {
                DrawSegment(surface, x[rising ? k : k + 1], y[r], x[rising ? k + 1 : k], y[r + 1]);
            }
            if (k + 1 < pairs && (rising ? a : b) != square[nextLeftHalf]) {
                DrawSegment(surface, x[k + 1], y[r], x[k + 1], y[r + 1]);
            }
            // Above b lies the lower half of the square above.
            if (hasAbove && b != square[1]) {
                DrawSegment(surface, x[k], y[r + 1], x[k + 1], y[r + 1]);
            }
        }
    }
}

template <Diagonal D>
std::optional<MapCellHit> SplitSquareMapPainter<D>::CellFromPoint(IntPoint point,
                                                                  const PageCoordinateSystem& page,
                                                                  const MapPaintInput& map) const {
    const std::uint32_t pairs = map.data.GetColumns() / 2;
    const auto at = IndexPositionOf(point, page, map, pairs, map.data.GetRows());
    if (!at || at->i >= pairs) {
        return std::nullopt;
    }
    // On or above the diagonal: the odd column.
    const double across = D == Diagonal::Rising ? at->fx : 1.0 - at->fx;
    return HitInside(map, at->j, across <= at->fy ? 2 * at->i + 1 : 2 * at->i);
}

template class SplitSquareMapPainter<Diagonal::Rising>;
template class SplitSquareMapPainter<Diagonal::Falling>;
