#pragma once

// The fill of the two triangle shapes, which differ only in the diagonal
// that cuts each square.

#include "map/MapPaintSupport.h"

#include <array>

// Paints the square pairs of a triangle map. Diagonal::Lower(x0, x1, bottom,
// top) and Diagonal::Upper(...) give the corners of the triangles of the
// pair's even and odd column.
template <typename Diagonal>
void PaintTriangleCells(Surface& surface, const PageCoordinateSystem& page,
                        const MapPaintInput& map) {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const std::uint32_t rows = map.levels.GetRows();
    // An odd last column has no partner and is never drawn.
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
                if (x[k] != x[k + 1]) { // otherwise both triangles have no area
                    surface.FillPolygon(Diagonal::Lower(x[k], x[k + 1], bottom, top), brushes[a]);
                    surface.FillPolygon(Diagonal::Upper(x[k], x[k + 1], bottom, top), brushes[b]);
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
