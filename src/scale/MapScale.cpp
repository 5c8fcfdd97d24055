#include "scale/MapScale.h"

#include "core/LException.h"
#include "core/WMException.h"
#include "scale/ScaleLimits.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <string>

namespace {

constexpr LRGBColor kWhite = 0xFFFFFF;

// DMAT::IsMissingValue, inlined for the whole-matrix loops.
inline bool IsMissingCell(double value) {
    const auto top = static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(value) >> 48) & 0x7FFF;
    return top == 0x7FFF || top == 0x7FF8;
}

std::size_t CellCount(const DMAT& m) {
    return static_cast<std::size_t>(m.GetRows()) * m.GetColumns();
}

// The level of one value: the first boundary, in stored order, that the
// value is not greater than. A NaN compares unordered and stops at once.
inline std::uint32_t LinearLevel(const double* bounds, std::uint32_t count, double value) {
    std::uint32_t level = 0;
    while (level < count && value > bounds[level]) {
        ++level;
    }
    return level;
}

// True when no boundary is a NaN and each is at most the next. Then "value >
// b[i]" is true for a prefix of the boundaries and false after it, so the
// level found by the linear search is the number of boundaries below the
// value, which a binary search finds. A NaN value is below nothing and gets
// level 0 either way.
bool IsAscending(const double* bounds, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        if (std::isnan(bounds[i]) || (i + 1 < count && !(bounds[i] <= bounds[i + 1]))) {
            return false;
        }
    }
    return true;
}

void ClassifyLinear(const double* cells, std::size_t n, const double* bounds, std::uint32_t count,
                    std::uint16_t* levels) {
    const auto missingLevel = static_cast<std::uint16_t>(count + 1);
    for (std::size_t k = 0; k < n; ++k) {
        levels[k] = IsMissingCell(cells[k])
                        ? missingLevel
                        : static_cast<std::uint16_t>(LinearLevel(bounds, count, cells[k]));
    }
}

// Binary search without branches on the comparisons: the walk depends only
// on count, and each step moves the base by half or by nothing. A block of
// cells goes through the steps together so that their independent searches
// overlap in the processor instead of waiting on each other's loads.
void ClassifyAscending(const double* cells, std::size_t n, const double* bounds,
                       std::uint32_t count, std::uint16_t* levels) {
    const auto missingLevel = static_cast<std::uint16_t>(count + 1);
    constexpr std::size_t kBlock = 16;
    std::size_t k = 0;
    for (; k + kBlock <= n; k += kBlock) {
        const double* v = cells + k;
        std::uint32_t base[kBlock] = {};
        for (std::uint32_t length = count; length > 1;) {
            const std::uint32_t half = length / 2;
            for (std::size_t j = 0; j < kBlock; ++j) {
                base[j] += half * static_cast<std::uint32_t>(bounds[base[j] + half] < v[j]);
            }
            length -= half;
        }
        for (std::size_t j = 0; j < kBlock; ++j) {
            const std::uint32_t level =
                base[j] + static_cast<std::uint32_t>(bounds[base[j]] < v[j]);
            levels[k + j] = IsMissingCell(v[j]) ? missingLevel : static_cast<std::uint16_t>(level);
        }
    }
    for (; k < n; ++k) {
        std::uint32_t base = 0;
        for (std::uint32_t length = count; length > 1;) {
            const std::uint32_t half = length / 2;
            base += half * static_cast<std::uint32_t>(bounds[base + half] < cells[k]);
            length -= half;
        }
        const std::uint32_t level = base + static_cast<std::uint32_t>(bounds[base] < cells[k]);
        levels[k] = IsMissingCell(cells[k]) ? missingLevel : static_cast<std::uint16_t>(level);
    }
}

// Puts the values that belong at positions (i + 1) * step, for i in
// [first, last), in place and copies them into bounds[i]. Every such
// position lies in [lo, hi), and they are strictly increasing (step > 0), so
// each selection splits the range for the boundaries on either side of it.
void SelectPositions(double* values, std::size_t lo, std::size_t hi, std::uint32_t first,
                     std::uint32_t last, std::size_t step, double* bounds) {
    while (first < last) {
        const std::uint32_t middle = first + (last - first) / 2;
        const std::size_t position = (static_cast<std::size_t>(middle) + 1) * step;
        std::nth_element(values + lo, values + position, values + hi);
        bounds[middle] = values[position];
        SelectPositions(values, lo, position, first, middle, step, bounds);
        lo = position + 1;
        first = middle + 1;
    }
}

void MakeSequence(DMAT& scale, double start, std::uint32_t count, auto next) {
    if (count == 0) {
        scale.Clear();
        return;
    }
    scale.SetSize(count, 1);
    double* bounds = scale.Data();
    bounds[0] = start;
    for (std::uint32_t i = 1; i < count; ++i) {
        bounds[i] = next(bounds[i - 1]);
    }
}

} // namespace

std::uint32_t BoundaryCount(const DMAT& scale) {
    return scale.IsEmpty() ? 0 : scale.GetRows();
}

void ClassifyLevels(const DMAT& data, const DMAT& scale, WMAT& levels) {
    if (data.IsEmpty()) {
        return;
    }
    const std::uint32_t count = BoundaryCount(scale);
    if (count > kMaxScaleBoundaries) {
        throw LException("ClassifyLevels", "Number of scale levels cannot exceed" +
                                               std::to_string(kMaxScaleBoundaries));
    }
    if (levels.GetRows() != data.GetRows() || levels.GetColumns() != data.GetColumns()) {
        levels.SetSize(data.GetRows(), data.GetColumns());
    }
    const double* cells = data.Data();
    const std::size_t n = CellCount(data);
    std::uint16_t* out = levels.Data();
    if (count == 0) {
        for (std::size_t k = 0; k < n; ++k) {
            out[k] = IsMissingCell(cells[k]) ? 1 : 0;
        }
        return;
    }
    const double* bounds = scale.Data();
    if (IsAscending(bounds, count)) {
        ClassifyAscending(cells, n, bounds, count, out);
    } else {
        ClassifyLinear(cells, n, bounds, count, out);
    }
}

bool SmartScale(const DMAT& data, DMAT& scale, Prompt& prompt) {
    if (data.IsEmpty()) {
        return false;
    }
    try {
        const double* cells = data.Data();
        const std::size_t n = CellCount(data);
        std::size_t present = 0;
        for (std::size_t k = 0; k < n; ++k) {
            present += IsMissingCell(cells[k]) ? 0 : 1;
        }
        if (present == 0) {
            return false;
        }
        const std::uint32_t count = BoundaryCount(scale);
        if (count == 0) {
            return true;
        }
        DMAT column(static_cast<std::uint32_t>(present), 1);
        double* sorted = column.Data();
        for (std::size_t k = 0, j = 0; k < n; ++k) {
            if (!IsMissingCell(cells[k])) {
                sorted[j++] = cells[k];
            }
        }
        double* bounds = scale.Data();
        // NaNs that are not missing sort after every number, as DMAT::Sort
        // puts them; the numbers before them can be ordered with "<".
        const std::size_t ordered = static_cast<std::size_t>(
            std::partition(sorted, sorted + present, [](double v) { return !std::isnan(v); }) -
            sorted);
        const std::size_t step = present / (static_cast<std::size_t>(count) + 1);
        if (step == 0) {
            // Fewer values than levels: every boundary is the smallest value.
            const double smallest =
                ordered > 0 ? *std::min_element(sorted, sorted + ordered) : sorted[0];
            std::fill(bounds, bounds + count, smallest);
            return true;
        }
        // Boundaries whose positions fall among the numbers are selected;
        // the rest land among the NaNs.
        const std::size_t inOrdered = ordered == 0 ? 0 : (ordered - 1) / step;
        const auto selected = static_cast<std::uint32_t>(std::min<std::size_t>(count, inOrdered));
        SelectPositions(sorted, 0, ordered, 0, selected, step, bounds);
        for (std::uint32_t i = selected; i < count; ++i) {
            bounds[i] = sorted[(static_cast<std::size_t>(i) + 1) * step];
        }
        return true;
    } catch (const WMException& e) {
        prompt.Show("DMAT matrix exception", std::to_string(e.GetCode()));
        return false;
    }
}

void MakeLinearScale(DMAT& scale, double start, double increment, std::uint32_t count) {
    MakeSequence(scale, start, count,
                 [increment](double previous) { return previous + increment; });
}

void MakeMultiplicativeScale(DMAT& scale, double start, double multiplier, std::uint32_t count) {
    MakeSequence(scale, start, count,
                 [multiplier](double previous) { return previous * multiplier; });
}

void MakeDefaultScale(DMAT& scale) {
    MakeLinearScale(scale, 0.0, 1.0 / 9.0, 8);
}

void FitLevelColors(LRGBColorVect& levelColors, std::uint32_t boundaryCount,
                    LRGBColor missingColor) {
    if (boundaryCount > MaxLevelColors - 1) {
        throw LException("FitLevelColors", "too many scale boundaries");
    }
    const std::uint32_t levels = boundaryCount + 1;
    LRGBColorVect fitted(levels + 1);
    // An old table of the missing colour alone has nothing to repeat.
    const std::uint32_t old = levelColors.LevelCount();
    for (std::uint32_t i = 0; i < levels; ++i) {
        fitted[i] = old == 0 ? kWhite : levelColors.Level(i % old);
    }
    fitted[levels] = missingColor;
    levelColors = std::move(fitted);
}
