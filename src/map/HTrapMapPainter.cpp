#include "map/HTrapMapPainter.h"

#include "map/MapPaintSupport.h"

#include <array>

void HTrapMapPainter::PaintCells(Surface& surface, const PageCoordinateSystem& page,
                                 const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid(page, map.plot, 0, std::int64_t{columns} + 1, 0, rows);
    const LevelBrushes brushes(map.colors, map.levels, columns);
    const std::int32_t* x = grid.X();
    const std::int32_t* y = grid.Y();

    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::int32_t bottom = y[r];
        const std::int32_t top = y[r + 1];
        if (bottom == top) {
            continue; // a row without height fills nothing
        }
        ForEachRun(map.levels.Data() + r, rows, columns,
                   [&](std::uint32_t s, std::uint32_t e, std::uint16_t level) {
                       // Both parallel sides of no length: no area.
                       if (x[s] != x[e] || x[s + 1] != x[e + 1]) {
                           const std::array<IntPoint, 4> run = {
                               IntPoint{x[s], bottom}, IntPoint{x[e], bottom},
                               IntPoint{x[e + 1], top}, IntPoint{x[s + 1], top}};
                           surface.FillPolygon(run, brushes[level]);
                       }
                   });
    }
}

void HTrapMapPainter::PaintContours(Surface& surface, const PageCoordinateSystem& page,
                                    const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const ScopedPen pen(surface, ContourPen(page, map.contours));
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid(page, map.plot, 0, std::int64_t{columns} + 1, 0, rows);
    const std::int32_t* x = grid.X();
    const std::int32_t* y = grid.Y();
    const std::uint32_t lastRow = rows - 1;
    const std::uint32_t lastColumn = columns - 1;
    const std::uint32_t missing = map.boundaryCount + 1;

    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::uint16_t* row = map.levels.Data() + r;
        const std::int32_t y0 = y[r];
        const std::int32_t y1 = y[r + 1];
        for (std::uint32_t c = 0; c < columns; ++c) {
            const std::uint16_t* cell = row + static_cast<std::size_t>(c) * rows;
            const std::uint16_t level = *cell;
            const bool valued = level != missing;
            // The outline: edges without a neighbouring cell across them.
            if (valued) {
                if (r == 0 || c == 0) {
                    DrawSegment(surface, x[c], y0, x[c + 1], y0);
                }
                if (r == lastRow || c == lastColumn) {
                    DrawSegment(surface, x[c + 1], y1, x[c + 2], y1);
                }
                if (c == 0) {
                    DrawSegment(surface, x[c], y0, x[c + 1], y1);
                }
                if (c == lastColumn) {
                    DrawSegment(surface, x[c + 1], y0, x[c + 2], y1);
                }
            }
            if (c < lastColumn) {
                // The upper edge borders cell (r + 1, c + 1), the right edge (r, c + 1).
                if (r < lastRow && level != cell[rows + 1]) {
                    DrawSegment(surface, x[c + 1], y1, x[c + 2], y1);
                }
                if (level != cell[rows]) {
                    DrawSegment(surface, x[c + 1], y0, x[c + 2], y1);
                }
            }
        }
    }
}

std::optional<MapCellHit> HTrapMapPainter::CellFromPoint(IntPoint point,
                                                         const PageCoordinateSystem& page,
                                                         const MapPaintInput& map) const {
    const auto at =
        IndexPositionOf(point, page, map, map.data.GetColumns() + 1.0, map.data.GetRows());
    if (!at) {
        return std::nullopt;
    }
    // On or left of the rising edge: the cell that starts one unit earlier.
    const std::int64_t column = at->fx <= at->fy ? at->i - 1 : at->i;
    return HitInside(map, at->j, column);
}
