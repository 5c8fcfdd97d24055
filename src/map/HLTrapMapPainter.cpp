#include "map/HLTrapMapPainter.h"

#include "map/MapPaintSupport.h"

#include <array>

void HLTrapMapPainter::PaintCells(Surface& surface, const PageCoordinateSystem& page,
                                  const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid(page, map.plot, -1, columns, 0, rows);
    const LevelBrushes brushes(map.colors, map.levels, columns);
    const std::int32_t* x = grid.X(); // x[-1] is the left plot edge
    const std::int32_t* y = grid.Y();

    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::int32_t bottom = y[r];
        const std::int32_t top = y[r + 1];
        if (bottom == top) {
            continue; // a row without height fills nothing
        }
        ForEachRun(map.levels.Data() + r, rows, columns,
                   [&](std::uint32_t s, std::uint32_t e, std::uint16_t level) {
                       const std::int64_t s1 = std::int64_t{s} - 1;
                       const std::int64_t e1 = std::int64_t{e} - 1;
                       // Both parallel sides of no length: no area.
                       if (x[s] != x[e] || x[s1] != x[e1]) {
                           const std::array<IntPoint, 4> run = {
                               IntPoint{x[s], bottom}, IntPoint{x[e], bottom}, IntPoint{x[e1], top},
                               IntPoint{x[s1], top}};
                           surface.FillPolygon(run, brushes[level]);
                       }
                   });
    }
}

void HLTrapMapPainter::PaintContours(Surface& surface, const PageCoordinateSystem& page,
                                     const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const ScopedPen pen(surface, ContourPen(page, map.contours));
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid(page, map.plot, -1, columns, 0, rows);
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
            const std::int64_t left = std::int64_t{c} - 1;
            const bool valued = level != missing;
            // The outline: edges without a neighbouring cell across them.
            if (valued) {
                if (r == 0 || c == lastColumn) {
                    DrawSegment(surface, x[c], y0, x[c + 1], y0);
                }
                if (r == lastRow || c == 0) {
                    DrawSegment(surface, x[c], y1, x[left], y1);
                }
                if (c == 0) {
                    DrawSegment(surface, x[c], y0, x[left], y1);
                }
                if (c == lastColumn) {
                    DrawSegment(surface, x[c], y1, x[c + 1], y0);
                }
            }
            if (c > 0) {
                // The left edge borders cell (r, c - 1), the upper edge (r + 1, c - 1).
                const std::uint16_t* leftCell = cell - rows;
                if (level != leftCell[0]) {
                    DrawSegment(surface, x[c], y0, x[left], y1);
                }
                if (r < lastRow && level != leftCell[1]) {
                    DrawSegment(surface, x[c], y1, x[left], y1);
                }
            }
        }
    }
}

std::optional<MapCellHit> HLTrapMapPainter::CellFromPoint(IntPoint point,
                                                          const PageCoordinateSystem& page,
                                                          const MapPaintInput& map) const {
    // The hit test counts x from 0, one unit right of the painting's -1.
    const auto at =
        IndexPositionOf(point, page, map, map.data.GetColumns() + 1.0, map.data.GetRows());
    if (!at) {
        return std::nullopt;
    }
    // On or right of the falling edge: the cell that starts at this unit.
    const std::int64_t column = 1.0 - at->fx <= at->fy ? at->i : at->i - 1;
    return HitInside(map, at->j, column);
}
