#include "map/VLTrapMapPainter.h"

#include "map/MapPaintSupport.h"

#include <array>

void VLTrapMapPainter::PaintCells(Surface& surface, const PageCoordinateSystem& page,
                                  const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid(page, map.plot, 0, columns, 0, std::int64_t{rows} + 1);
    const LevelBrushes brushes(map.colors, map.levels, columns);
    const std::int32_t* x = grid.X();
    const std::int32_t* y = grid.Y();

    for (std::uint32_t c = 0; c < columns; ++c) {
        const std::int32_t left = x[c];
        const std::int32_t right = x[c + 1];
        if (left == right) {
            continue; // a column without width fills nothing
        }
        ForEachRun(map.levels.Data() + static_cast<std::size_t>(c) * rows, 1, rows,
                   [&](std::uint32_t s, std::uint32_t e, std::uint16_t level) {
                       // Both parallel sides of no length: no area.
                       if (y[s + 1] != y[e + 1] || y[s] != y[e]) {
                           const std::array<IntPoint, 4> run = {
                               IntPoint{left, y[s + 1]}, IntPoint{left, y[e + 1]},
                               IntPoint{right, y[e]}, IntPoint{right, y[s]}};
                           surface.FillPolygon(run, brushes[level]);
                       }
                   });
    }
}

void VLTrapMapPainter::PaintContours(Surface& surface, const PageCoordinateSystem& page,
                                     const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const ScopedPen pen(surface, ContourPen(page, map.contours));
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid(page, map.plot, 0, columns, 0, std::int64_t{rows} + 1);
    const std::int32_t* x = grid.X();
    const std::int32_t* y = grid.Y();
    const std::uint32_t lastRow = rows - 1;
    const std::uint32_t lastColumn = columns - 1;
    const std::uint32_t missing = map.boundaryCount + 1;

    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::uint16_t* row = map.levels.Data() + r;
        const std::int32_t y0 = y[r];
        const std::int32_t y1 = y[r + 1];
        const std::int32_t y2 = y[r + 2];
        for (std::uint32_t c = 0; c < columns; ++c) {
            const std::uint16_t* cell = row + static_cast<std::size_t>(c) * rows;
            const std::uint16_t level = *cell;
            const bool valued = level != missing;
            // The outline: edges without a neighbouring cell across them.
            if (valued) {
                if (r == 0) {
                    DrawSegment(surface, x[c], y1, x[c + 1], y0);
                }
                if (r == lastRow) {
                    DrawSegment(surface, x[c], y2, x[c + 1], y1);
                }
                if (c == 0 || r == lastRow) {
                    DrawSegment(surface, x[c], y1, x[c], y2);
                }
                if (c == lastColumn || r == 0) {
                    DrawSegment(surface, x[c + 1], y1, x[c + 1], y0);
                }
            }
            if (r < lastRow) {
                // The left side borders cell (r + 1, c - 1), the upper edge (r + 1, c).
                if (c > 0 && level != cell[1 - static_cast<std::ptrdiff_t>(rows)]) {
                    DrawSegment(surface, x[c], y1, x[c], y2);
                }
                if (level != cell[1]) {
                    DrawSegment(surface, x[c], y2, x[c + 1], y1);
                }
            }
        }
    }
}

std::optional<MapCellHit> VLTrapMapPainter::CellFromPoint(IntPoint point,
                                                          const PageCoordinateSystem& page,
                                                          const MapPaintInput& map) const {
    const auto at =
        IndexPositionOf(point, page, map, map.data.GetColumns(), map.data.GetRows() + 1.0);
    if (!at) {
        return std::nullopt;
    }
    // On or above the falling edge: the cell whose lower edge ends in this unit.
    const std::int64_t row = 1.0 - at->fx <= at->fy ? at->j : at->j - 1;
    return HitInside(map, row, at->i);
}
