#include "map/TriangleMapPainter.h"

#include "map/TriangleCells.h"

namespace {

// The square (x0, bottom) .. (x1, top) cut from lower left to upper right.
struct RisingDiagonal {
    static std::array<IntPoint, 3> Lower(std::int32_t x0, std::int32_t x1, std::int32_t bottom,
                                         std::int32_t top) {
        return {IntPoint{x0, bottom}, IntPoint{x1, bottom}, IntPoint{x1, top}};
    }
    static std::array<IntPoint, 3> Upper(std::int32_t x0, std::int32_t x1, std::int32_t bottom,
                                         std::int32_t top) {
        return {IntPoint{x0, bottom}, IntPoint{x1, top}, IntPoint{x0, top}};
    }
};

} // namespace

void TriangleMapPainter::PaintCells(Surface& surface, const PageCoordinateSystem& page,
                                    const MapPaintInput& map) const {
    PaintTriangleCells<RisingDiagonal>(surface, page, map);
}

void TriangleMapPainter::PaintContours(Surface& surface, const PageCoordinateSystem& page,
                                       const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const ScopedPen pen(surface, ContourPen(page, map.contours));
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t pairs = map.levels.GetColumns() / 2;
    const MapIndexGrid grid(page, map.plot, 0, pairs, 0, rows);
    const std::int32_t* x = grid.X();
    const std::int32_t* y = grid.Y();
    const std::size_t pairStride = 2 * static_cast<std::size_t>(rows);

    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::uint16_t* row = map.levels.Data() + r;
        const bool hasAbove = r + 1 < rows;
        for (std::uint32_t k = 0; k < pairs; ++k) {
            // a: the lower right triangle (column 2k); b: the upper left (2k + 1).
            const std::uint16_t* square = row + k * pairStride;
            const std::uint16_t a = square[0];
            const std::uint16_t b = square[rows];
            if (a != b) {
                DrawSegment(surface, x[k], y[r], x[k + 1], y[r + 1]);
            }
            // Right of a lies the upper left triangle of the next square.
            if (k + 1 < pairs && a != square[pairStride + rows]) {
                DrawSegment(surface, x[k + 1], y[r], x[k + 1], y[r + 1]);
            }
            // Above b lies the lower right triangle of the square above.
            if (hasAbove && b != square[1]) {
                DrawSegment(surface, x[k], y[r + 1], x[k + 1], y[r + 1]);
            }
        }
    }
}

std::optional<MapCellHit> TriangleMapPainter::CellFromPoint(IntPoint point,
                                                            const PageCoordinateSystem& page,
                                                            const MapPaintInput& map) const {
    const std::uint32_t pairs = map.data.GetColumns() / 2;
    const auto at = IndexPositionOf(point, page, map, pairs, map.data.GetRows());
    if (!at || at->i >= pairs) {
        return std::nullopt;
    }
    // On or above the diagonal: the upper left triangle.
    const std::int64_t column = at->fx <= at->fy ? 2 * at->i + 1 : 2 * at->i;
    return HitInside(map, at->j, column);
}
