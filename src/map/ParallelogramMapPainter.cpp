#include "map/ParallelogramMapPainter.h"

#include "map/LayeredFills.h"
#include "map/MapPaintSupport.h"

#include <algorithm>
#include <array>

namespace {

// The matrix borders that an outline edge lies on, combined.
enum Border : unsigned { kFirstRow = 1, kLastRow = 2, kFirstColumn = 4, kLastColumn = 8 };

// A segment from (c + x0, r + y0) to (c + x1, r + y1), cell (r, c) being
// the one examined.
struct Edge {
    int x0, y0, x1, y1;
};

// An outline edge: drawn for a valued cell on any of the borders named.
struct OutlineRule {
    unsigned borders;
    Edge edge;
};

// The edge to the neighbour dr rows up and dc columns right: drawn when
// the two levels differ. The edge is not examined when there is no such
// neighbour.
struct InteriorRule {
    int dr, dc;
    Edge edge;
};

// What tells the four shears apart.
struct ShearRules {
    // Runs go along rows (else along columns).
    bool alongRows;
    // How far along the run the corners of the run's lower (rows) or left
    // (columns) side are shifted, and those of the opposite side.
    int nearShift, farShift;
    // The segments of every cell, in the order they are drawn: the outline
    // first, then the edges to the neighbours, each interior edge being
    // examined from one of its two cells only.
    std::array<OutlineRule, 4> outline;
    std::array<InteriorRule, 2> interior;
};

constexpr ShearRules RulesOf(Shear shear) {
    switch (shear) {
    case Shear::RowsLeanRight:
        return {.alongRows = true,
                .nearShift = 0,
                .farShift = 1,
                .outline = {{{kFirstRow | kFirstColumn, {0, 0, 1, 0}},
                             {kLastRow | kLastColumn, {1, 1, 2, 1}},
                             {kFirstColumn, {0, 0, 1, 1}},
                             {kLastColumn, {1, 0, 2, 1}}}},
                .interior = {{{1, 1, {1, 1, 2, 1}}, {0, 1, {1, 0, 2, 1}}}}};
    case Shear::RowsLeanLeft:
        return {.alongRows = true,
                .nearShift = 0,
                .farShift = -1,
                .outline = {{{kFirstRow | kLastColumn, {0, 0, 1, 0}},
                             {kLastRow | kFirstColumn, {0, 1, -1, 1}},
                             {kFirstColumn, {0, 0, -1, 1}},
                             {kLastColumn, {0, 1, 1, 0}}}},
                .interior = {{{0, -1, {0, 0, -1, 1}}, {1, -1, {0, 1, -1, 1}}}}};
    case Shear::ColumnsRise:
        return {.alongRows = false,
                .nearShift = 0,
                .farShift = 1,
                .outline = {{{kFirstRow, {0, 0, 1, 1}},
                             {kLastRow, {0, 1, 1, 2}},
                             {kFirstColumn | kFirstRow, {0, 0, 0, 1}},
                             {kLastColumn | kLastRow, {1, 1, 1, 2}}}},
                .interior = {{{1, 1, {1, 1, 1, 2}}, {1, 0, {0, 1, 1, 2}}}}};
    case Shear::ColumnsFall:
        break;
    }
    return {.alongRows = false,
            .nearShift = 1,
            .farShift = 0,
            .outline = {{{kFirstRow, {0, 1, 1, 0}},
                         {kLastRow, {0, 2, 1, 1}},
                         {kFirstColumn | kLastRow, {0, 1, 0, 2}},
                         {kLastColumn | kFirstRow, {1, 1, 1, 0}}}},
            .interior = {{{1, -1, {0, 1, 0, 2}}, {1, 0, {0, 2, 1, 1}}}}};
}

// The borders on which a cell has no neighbour for this rule.
constexpr unsigned NoNeighbourOn(const InteriorRule& rule) {
    unsigned borders = rule.dr > 0 ? kLastRow : 0u;
    if (rule.dc > 0) {
        borders |= kLastColumn;
    } else if (rule.dc < 0) {
        borders |= kFirstColumn;
    }
    return borders;
}

template <Shear S>
constexpr ShearRules kRules = RulesOf(S);

// The index window: one unit longer than the matrix along the shear.
template <Shear S>
MapIndexGrid IndexGrid(const PageCoordinateSystem& page, const MapPaintInput& map) {
    constexpr ShearRules rules = kRules<S>;
    constexpr std::int64_t low = std::min(rules.nearShift, rules.farShift);
    constexpr std::int64_t high = std::max(rules.nearShift, rules.farShift);
    const std::int64_t rows = map.levels.GetRows();
    const std::int64_t columns = map.levels.GetColumns();
    return rules.alongRows ? MapIndexGrid(page, map.plot, low, columns + high, 0, rows)
                           : MapIndexGrid(page, map.plot, 0, columns, low, rows + high);
}

} // namespace

template <Shear S>
void ParallelogramMapPainter<S>::PaintCells(Surface& surface, const PageCoordinateSystem& page,
                                            const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    constexpr ShearRules rules = kRules<S>;
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid = IndexGrid<S>(page, map);
    const LevelBrushes brushes(map.colors, map.levels, columns);
    // Device positions along the runs and across them.
    const std::int32_t* along = rules.alongRows ? grid.X() : grid.Y();
    const std::int32_t* across = rules.alongRows ? grid.Y() : grid.X();
    const std::int32_t* nearSide = along + rules.nearShift;
    const std::int32_t* farSide = along + rules.farShift;
    const std::uint32_t lines = rules.alongRows ? rows : columns;
    const std::uint32_t length = rules.alongRows ? columns : rows;
    // The matrix is stored by columns: along a row, cells lie rows apart.
    const std::size_t lineStart = rules.alongRows ? 1 : rows;
    const std::size_t cellStride = rules.alongRows ? rows : 1;
    auto point = [](std::int32_t a, std::int32_t b) {
        return rules.alongRows ? IntPoint{a, b} : IntPoint{b, a};
    };

    for (std::uint32_t k = 0; k < lines; ++k) {
        const std::int32_t near = across[k];
        const std::int32_t far = across[k + 1];
        if (near == far) {
            continue; // a row or column without extent fills nothing
        }
        ForEachRun(map.levels.Data() + k * lineStart, cellStride, length,
                   [&](std::uint32_t s, std::uint32_t e, std::uint16_t level) {
                       // Both parallel sides of no length: no area.
                       if (nearSide[s] != nearSide[e] || farSide[s] != farSide[e]) {
                           const std::array<IntPoint, 4> run = {
                               point(nearSide[s], near), point(nearSide[e], near),
                               point(farSide[e], far), point(farSide[s], far)};
                           surface.FillPolygon(run, brushes[level]);
                       }
                   });
    }
}

template <Shear S>
void ParallelogramMapPainter<S>::PaintCellsInLayers(Surface& surface,
                                                    const PageCoordinateSystem& page,
                                                    const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    constexpr ShearRules rules = kRules<S>;
    const std::int64_t rows = map.levels.GetRows();
    const std::int64_t columns = map.levels.GetColumns();
    const MapIndexGrid grid = IndexGrid<S>(page, map);
    const LevelBrushes brushes(map.colors, map.levels, map.levels.GetColumns());
    const std::uint16_t* levels = map.levels.Data();
    auto level = [&](std::int64_t r, std::int64_t c) -> std::int32_t {
        if (r < 0 || r >= rows || c < 0 || c >= columns) {
            return SquareHalves::kNoCell;
        }
        return levels[c * rows + r];
    };
    // Every unit square of the index grid holds halves of two cells, cut
    // by the diagonal that the slanted cell sides follow; the squares at
    // either end of a row or column have a cell in one half only.
    constexpr Diagonal diagonal =
        rules.farShift > rules.nearShift ? Diagonal::Rising : Diagonal::Falling;
    constexpr std::int64_t low = std::min(rules.nearShift, rules.farShift);
    constexpr std::int64_t high = std::max(rules.nearShift, rules.farShift);
    if constexpr (rules.alongRows) {
        // Square i of row j: the cell of column i below the diagonal, and
        // the one before (leaning right) or after (leaning left) above it.
        constexpr std::int64_t aboveOffset = diagonal == Diagonal::Rising ? -1 : 1;
        PaintLayeredSquares(surface,
                            {grid, low, columns + high, 0, rows, diagonal,
                             [&](std::int64_t j, SquareHalves* out) {
                                 for (std::int64_t i = low; i < columns + high; ++i) {
                                     out[i - low] = {level(j, i), level(j, i + aboveOffset)};
                                 }
                             }},
                            brushes);
    } else {
        // Square j of column c: the cell of row j above the diagonal, the
        // one of row j - 1 below it.
        PaintLayeredSquares(surface,
                            {grid, 0, columns, low, rows + high, diagonal,
                             [&](std::int64_t j, SquareHalves* out) {
                                 for (std::int64_t c = 0; c < columns; ++c) {
                                     out[c] = {level(j - 1, c), level(j, c)};
                                 }
                             }},
                            brushes);
    }
}

template <Shear S>
void ParallelogramMapPainter<S>::PaintContours(Surface& surface, const PageCoordinateSystem& page,
                                               const MapPaintInput& map) const {
    if (!HasCellsToPaint(map)) {
        return;
    }
    const ScopedPen pen(surface, ContourPen(page, map.contours));
    const std::uint32_t rows = map.levels.GetRows();
    const std::uint32_t columns = map.levels.GetColumns();
    const MapIndexGrid grid = IndexGrid<S>(page, map);
    const std::int32_t* x = grid.X();
    const std::int32_t* y = grid.Y();
    const std::uint32_t lastRow = rows - 1;
    const std::int32_t* xEnd = x + columns;
    const std::uint32_t missing = map.boundaryCount + 1;

    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::int32_t* yr = y + r;
        const unsigned rowBorders = (r == 0 ? kFirstRow : 0u) | (r == lastRow ? kLastRow : 0u);
        // Along the row: xc points at the device x of the cell's left corner;
        // the matrix is stored by columns, so its cells lie rows apart.
        const std::uint16_t* cell = map.levels.Data() + r;
        for (const std::int32_t* xc = x;; cell += rows) {
            const std::uint16_t level = *cell;
            const unsigned borders =
                rowBorders | (xc == x ? kFirstColumn : 0u) | (xc + 1 == xEnd ? kLastColumn : 0u);
            auto draw = [&](const Edge& e) {
                DrawSegment(surface, xc[e.x0], yr[e.y0], xc[e.x1], yr[e.y1]);
            };
            if (borders != 0 && level != missing) {
                for (const OutlineRule& rule : kRules<S>.outline) {
                    if (rule.borders & borders) {
                        draw(rule.edge);
                    }
                }
            }
            for (const InteriorRule& rule : kRules<S>.interior) {
                if (!(NoNeighbourOn(rule) & borders) &&
                    level != cell[static_cast<std::ptrdiff_t>(rows) * rule.dc + rule.dr]) {
                    draw(rule.edge);
                }
            }
            if (++xc == xEnd) {
                break;
            }
        }
    }
}

template <Shear S>
std::optional<MapCellHit>
ParallelogramMapPainter<S>::CellFromPoint(IntPoint point, const PageCoordinateSystem& page,
                                          const MapPaintInput& map) const {
    constexpr ShearRules rules = kRules<S>;
    // The hit test counts index units from 0 along the shear too.
    const auto at =
        IndexPositionOf(point, page, map, map.data.GetColumns() + (rules.alongRows ? 1.0 : 0.0),
                        map.data.GetRows() + (rules.alongRows ? 0.0 : 1.0));
    if (!at) {
        return std::nullopt;
    }
    // A slanted edge cuts the unit in two; a point on it counts as above.
    constexpr bool rising = rules.farShift > rules.nearShift;
    const bool above = (rising ? at->fx : 1.0 - at->fx) <= at->fy;
    // Where rows are sheared, the part above a rising edge is its left part
    // and belongs to the cell before; above a falling edge lies the cell of
    // this unit. Where columns are sheared, the cell of this unit always
    // lies above the edge and the cell before below it.
    const bool before = rules.alongRows ? above == rising : !above;
    if (rules.alongRows) {
        return HitInside(map, at->j, before ? at->i - 1 : at->i);
    }
    return HitInside(map, before ? at->j - 1 : at->j, at->i);
}

template class ParallelogramMapPainter<Shear::RowsLeanRight>;
template class ParallelogramMapPainter<Shear::RowsLeanLeft>;
template class ParallelogramMapPainter<Shear::ColumnsRise>;
template class ParallelogramMapPainter<Shear::ColumnsFall>;
