#include "datafiles/DerivedData.h"

#include "core/WMException.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr std::array<std::string_view, 4> kOperationNames = {"ratio", "difference", "improvement",
                                                             "smooth"};

std::size_t CellCount(const DMAT& matrix) {
    return static_cast<std::size_t>(matrix.GetRows()) * matrix.GetColumns();
}

// Sizes result like a; false when a is empty (result is then empty too).
bool SizeLike(const DMAT& a, DMAT& result) {
    if (a.IsEmpty() || CellCount(a) == 0) {
        result.Clear();
        return false;
    }
    result.SetSize(a.GetRows(), a.GetColumns());
    return true;
}

void CheckSameShape(const DMAT& a, const DMAT& b) {
    if (a.GetRows() != b.GetRows() || a.GetColumns() != b.GetColumns() || b.IsEmpty()) {
        throw WMException(WMException::IndexOutOfRange);
    }
}

double Defined(double value) {
    return std::isfinite(value) ? value : DMAT::MissingValue();
}

template <typename Combine>
void CellByCell(const DMAT& a, const DMAT& b, DMAT& result, Combine combine) {
    if (!SizeLike(a, result)) {
        return;
    }
    CheckSameShape(a, b);
    const double* x = a.Data();
    const double* y = b.Data();
    double* out = result.Data();
    const std::size_t cells = CellCount(a);
    for (std::size_t i = 0; i < cells; ++i) {
        out[i] = DMAT::IsMissingValue(x[i]) || DMAT::IsMissingValue(y[i]) ? DMAT::MissingValue()
                                                                          : combine(x[i], y[i]);
    }
}

// Below this many cells a second thread costs more than it saves.
constexpr std::size_t kCellsPerThread = 1 << 18;

// Runs work(first, last) over [0, count), the columns or the rows of a
// matrix with cells cells, split between threads when the matrix is large;
// each call must write its own columns or rows only.
template <typename Work>
void ForRanges(std::size_t count, std::size_t cells, Work work) {
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t wanted =
        std::min<std::size_t>({cores, 8, cells / kCellsPerThread + 1, count});
    const std::size_t parts = std::max<std::size_t>(wanted, 1);
    std::vector<std::thread> workers;
    workers.reserve(parts);
    const auto begin = [&](std::size_t part) { return count * part / parts; };
    for (std::size_t part = 1; part < parts; ++part) {
        try {
            workers.emplace_back(work, begin(part), begin(part + 1));
        } catch (const std::system_error&) {
            // No thread to be had: this part is done here.
            work(begin(part), begin(part + 1));
        }
    }
    work(0, begin(1));
    for (std::thread& worker : workers) {
        worker.join();
    }
}

} // namespace

std::string_view DeriveOperationName(DeriveOperation operation) {
    return kOperationNames[static_cast<std::size_t>(operation)];
}

std::optional<DeriveOperation> FindDeriveOperation(std::string_view name) {
    for (std::size_t i = 0; i < kOperationNames.size(); ++i) {
        if (kOperationNames[i] == name) {
            return static_cast<DeriveOperation>(i);
        }
    }
    return std::nullopt;
}

std::string MatrixShapeText(const DMAT& matrix) {
    const auto plural = [](std::uint32_t n, const char* word) {
        return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    return plural(matrix.GetRows(), "row") + " x " + plural(matrix.GetColumns(), "column");
}

void DeriveRatio(const DMAT& a, const DMAT& b, DMAT& result) {
    CellByCell(a, b, result,
               [](double x, double y) { return y == 0 ? DMAT::MissingValue() : Defined(x / y); });
}

void DeriveDifference(const DMAT& a, const DMAT& b, DMAT& result) {
    CellByCell(a, b, result, [](double x, double y) { return Defined(x - y); });
}

void DeriveImprovement(const DMAT& a, std::uint32_t lag, DMAT& result) {
    if (!SizeLike(a, result)) {
        return;
    }
    const std::size_t rows = a.GetRows();
    const std::uint32_t columns = a.GetColumns();
    const double* in = a.Data();
    double* out = result.Data();
    const double k = lag;
    // A logarithm per cell is most of the time: large maps share it out.
    ForRanges(columns, rows * columns, [=](std::size_t first, std::size_t last) {
        for (std::size_t c = first; c < last; ++c) {
            double* target = out + c * rows;
            if (lag == 0 || c < lag) {
                std::fill(target, target + rows, DMAT::MissingValue());
                continue;
            }
            const double* now = in + c * rows;
            const double* before = in + (c - lag) * rows;
            for (std::size_t r = 0; r < rows; ++r) {
                const double x = now[r];
                const double y = before[r];
                if (DMAT::IsMissingValue(x) || DMAT::IsMissingValue(y) || y == 0) {
                    target[r] = DMAT::MissingValue();
                    continue;
                }
                const double quotient = x / y;
                target[r] = quotient > 0 ? Defined(-std::log(quotient) / k) : DMAT::MissingValue();
            }
        }
    });
}

// Sums and counts over windows by running sums, one axis at a time: first
// down every column, then across the columns, so each cell costs the same
// whatever the half-width. Large maps share both passes between threads,
// the first by columns, the second by rows.
void DeriveSmooth(const DMAT& a, std::uint32_t halfWidth, DMAT& result) {
    if (!SizeLike(a, result)) {
        return;
    }
    const std::size_t rows = a.GetRows();
    const std::size_t columns = a.GetColumns();
    const std::size_t h = halfWidth;
    const double* in = a.Data();

    // Window sums along each column (rows r - h .. r + h), and their counts.
    std::vector<double> sums(rows * columns);
    std::vector<std::uint32_t> counts(rows * columns);
    ForRanges(columns, rows * columns, [&](std::size_t first, std::size_t last) {
        std::vector<double> prefix(rows + 1);
        std::vector<std::uint32_t> prefixCount(rows + 1);
        for (std::size_t c = first; c < last; ++c) {
            const double* column = in + c * rows;
            for (std::size_t r = 0; r < rows; ++r) {
                const bool missing = DMAT::IsMissingValue(column[r]) || !std::isfinite(column[r]);
                prefix[r + 1] = prefix[r] + (missing ? 0.0 : column[r]);
                prefixCount[r + 1] = prefixCount[r] + (missing ? 0 : 1);
            }
            for (std::size_t r = 0; r < rows; ++r) {
                const std::size_t low = r > h ? r - h : 0;
                const std::size_t high = std::min(rows, r + h + 1);
                sums[c * rows + r] = prefix[high] - prefix[low];
                counts[c * rows + r] = prefixCount[high] - prefixCount[low];
            }
        }
    });

    // Across the columns: a running total of whole columns of window sums.
    double* out = result.Data();
    ForRanges(rows, rows * columns, [&](std::size_t first, std::size_t last) {
        const std::size_t span = last - first;
        std::vector<double> total(span, 0.0);
        std::vector<std::uint32_t> totalCount(span, 0);
        const auto add = [&](std::size_t c, int sign) {
            const double* s = sums.data() + c * rows + first;
            const std::uint32_t* n = counts.data() + c * rows + first;
            for (std::size_t r = 0; r < span; ++r) {
                total[r] += sign * s[r];
                totalCount[r] = sign > 0 ? totalCount[r] + n[r] : totalCount[r] - n[r];
            }
        };
        for (std::size_t c = 0; c < std::min(columns, h); ++c) {
            add(c, 1);
        }
        for (std::size_t c = 0; c < columns; ++c) {
            if (c + h < columns) {
                add(c + h, 1);
            }
            if (c > h) {
                add(c - h - 1, -1);
            }
            double* target = out + c * rows + first;
            for (std::size_t r = 0; r < span; ++r) {
                target[r] = totalCount[r] == 0 ? DMAT::MissingValue() : total[r] / totalCount[r];
            }
        }
    });
}
