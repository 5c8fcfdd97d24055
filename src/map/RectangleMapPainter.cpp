#include "map/RectangleMapPainter.h"

#include "map/LayeredFills.h"
#include "map/MapPaintSupport.h"

void RectangleMapPainter::PaintCells(Surface& surface, const PageCoordinateSystem& page,
                                     const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid(page, map.plot, 0, columns, 0, rows);
    const LevelBrushes brushes(map.colors, map.levels, columns);
    const std::int32_t* x = grid.X();
    const std::int32_t* y = grid.Y();

    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::int32_t bottom = y[r];
        const std::int32_t top = y[r + 1];
        if (bottom == top) {
            continue; // a row without height fills nothing
        }
        // The matrix is stored by columns: along a row, cells lie rows apart.
        ForEachRun(
            map.levels.Data() + r, rows, columns,
            [&](std::uint32_t start, std::uint32_t end, std::uint16_t level) {
                if (x[start] != x[end]) {
                    surface.FillRect(DeviceRect{x[start], top, x[end], bottom}, brushes[level]);
                }
            });
    }
}

void RectangleMapPainter::PaintCellsInLayers(Surface& surface, const PageCoordinateSystem& page,
                                             const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid(page, map.plot, 0, columns, 0, rows);
    const LevelBrushes brushes(map.colors, map.levels, columns);
    const std::uint16_t* levels = map.levels.Data();
    // A rectangle is a square whose halves share its cell.
    PaintLayeredSquares(surface,
                        {grid, 0, columns, 0, rows, Diagonal::Rising,
                         [&](std::int64_t j, SquareHalves* out) {
                             const std::uint16_t* cell = levels + j;
                             for (std::uint32_t c = 0; c < columns; ++c, cell += rows) {
                                 out[c] = {*cell, *cell};
                             }
                         },
                         [&](std::int64_t i, SquareHalves* out) {
                             // The matrix is stored by columns.
                             const std::uint16_t* cell = levels + i * rows;
                             for (std::uint32_t r = 0; r < rows; ++r) {
                                 out[r] = {cell[r], cell[r]};
                             }
                         }},
                        brushes);
}

void RectangleMapPainter::PaintContours(Surface& surface, const PageCoordinateSystem& page,
                                        const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const ScopedPen pen(surface, ContourPen(page, map.contours));
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid(page, map.plot, 0, columns, 0, rows);
    const std::int32_t* x = grid.X();
    const std::int32_t* y = grid.Y();

    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::uint16_t* row = map.levels.Data() + r;
        const bool hasAbove = r + 1 < rows;
        for (std::uint32_t c = 0; c < columns; ++c) {
            const std::uint16_t* cell = row + static_cast<std::size_t>(c) * rows;
            const std::uint16_t level = *cell;
            if (hasAbove && level != cell[1]) {
                DrawSegment(surface, x[c], y[r + 1], x[c + 1], y[r + 1]);
            }
            if (c + 1 < columns && level != cell[rows]) {
                DrawSegment(surface, x[c + 1], y[r], x[c + 1], y[r + 1]);
            }
        }
    }
}

std::optional<MapCellHit> RectangleMapPainter::CellFromPoint(IntPoint point,
                                                             const PageCoordinateSystem& page,
                                                             const MapPaintInput& map) const {
    const auto at = IndexPositionOf(point, page, map, map.data.GetColumns(), map.data.GetRows());
    if (!at) {
        return std::nullopt;
    }
    return HitInside(map, at->j, at->i);
}
