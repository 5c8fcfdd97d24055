#include "core/DMAT.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr std::uint64_t kMarkerMask = 0x7FFF000000000000ull;
constexpr std::uint64_t kLowBytes = 0x0000FFFFFFFFFFFFull;

} // namespace

bool DMAT::IsMissingValue(double value) {
    const auto top =
        static_cast<std::uint16_t>((std::bit_cast<std::uint64_t>(value) >> 48) & 0x7FFF);
    return top == 0x7FFF || top == 0x7FF8;
}

double DMAT::MissingValue() {
    return std::bit_cast<double>(kMarkerMask);
}

double DMAT::MarkAsMissing(double value) {
    return std::bit_cast<double>((std::bit_cast<std::uint64_t>(value) & kLowBytes) | kMarkerMask);
}

DMAT::DMAT(std::uint32_t rows, std::uint32_t columns) {
    if (rows > 0 && columns > 0) {
        buffer_.SetSize(rows, columns);
    }
}

DMAT::DMAT(const DMAT& other) {
    if (!other.IsEmpty()) {
        buffer_.CopyFrom(other.buffer_);
    }
}

DMAT::DMAT(DMAT&& other) noexcept {
    buffer_.Swap(other.buffer_);
}

DMAT& DMAT::operator=(const DMAT& other) {
    if (this != &other) {
        if (other.IsEmpty()) {
            buffer_.Clear();
        } else {
            buffer_.CopyFrom(other.buffer_);
        }
    }
    return *this;
}

DMAT& DMAT::operator=(DMAT&& other) noexcept {
    buffer_.Swap(other.buffer_);
    other.buffer_.Clear();
    return *this;
}

void DMAT::SetMissing(std::uint32_t row, std::uint32_t column) {
    double& cell = buffer_.Data()[buffer_.Index(row, column)];
    cell = MarkAsMissing(cell);
}

void DMAT::MarkMissing(double code) {
    double* data = buffer_.Data();
    if (!data) {
        return;
    }
    // A NaN code marks the NaNs only: comparing every cell unordered with it
    // would wipe out the whole matrix.
    for (std::size_t k = 0, n = buffer_.Count(); k < n; ++k) {
        if (data[k] == code || std::isnan(data[k])) {
            data[k] = MarkAsMissing(data[k]);
        }
    }
}

void DMAT::Fill(double value) {
    if (double* data = buffer_.Data()) {
        std::fill(data, data + buffer_.Count(), value);
    }
}

void DMAT::Assign(const DMAT& source) {
    buffer_.CopyFrom(source.buffer_);
}

void DMAT::RemoveRowsWithMissing() {
    const std::uint32_t rows = GetRows();
    const std::uint32_t columns = GetColumns();
    if (IsEmpty()) {
        return;
    }
    std::vector<bool> keep(rows, true);
    std::uint32_t dropped = 0;
    const double* data = buffer_.Data();
    for (std::uint32_t r = 0; r < rows; ++r) {
        for (std::uint32_t c = 0; c < columns; ++c) {
            if (IsMissingValue(data[static_cast<std::size_t>(c) * rows + r])) {
                keep[r] = false;
                ++dropped;
                break;
            }
        }
    }
    if (dropped == 0) {
        return;
    }
    if (dropped == rows) {
        Clear();
        return;
    }
    const std::uint32_t kept = rows - dropped;
    MatrixBuffer<double> result;
    result.SetSize(kept, columns);
    double* out = result.Data();
    for (std::uint32_t c = 0; c < columns; ++c) {
        const double* column = data + static_cast<std::size_t>(c) * rows;
        for (std::uint32_t r = 0; r < rows; ++r) {
            if (keep[r]) {
                *out++ = column[r];
            }
        }
    }
    buffer_.Swap(result);
}

void DMAT::Sort() {
    double* data = buffer_.Data();
    if (!data) {
        return;
    }
    // A total order (NaNs last) keeps the sort well defined for any input.
    std::sort(data, data + buffer_.Count(), [](double a, double b) {
        if (std::isnan(a)) {
            return false;
        }
        return std::isnan(b) || a < b;
    });
}

double DMAT::Min() const {
    return Extreme([](double a, double b) { return a < b; });
}

double DMAT::Max() const {
    return Extreme([](double a, double b) { return a > b; });
}

template <typename Better>
double DMAT::Extreme(Better better) const {
    const double* data = buffer_.Data();
    bool found = false;
    double best = 0;
    for (std::size_t k = 0, n = data ? buffer_.Count() : 0; k < n; ++k) {
        if (IsMissingValue(data[k])) {
            continue;
        }
        if (!found || better(data[k], best)) {
            best = data[k];
            found = true;
        }
    }
    return best;
}

void DMAT::Join(const DMAT& other, int side) {
    const std::uint64_t rows = GetRows();
    const std::uint64_t columns = GetColumns();
    const std::uint64_t otherRows = other.GetRows();
    const std::uint64_t otherColumns = other.GetColumns();
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();

    std::uint64_t newRows = rows;
    std::uint64_t newColumns = columns;
    // Where this matrix's and the other's elements start in the result.
    std::uint64_t rowOffset = 0, columnOffset = 0, otherRowOffset = 0, otherColumnOffset = 0;
    if (side == Above || side == Below) {
        if (columns != otherColumns) {
            throw WMException(WMException::ColumnsDontMatch);
        }
        newRows = rows + otherRows;
        if (newRows > kMax) {
            throw WMException(WMException::ResultTooBig);
        }
        (side == Above ? rowOffset : otherRowOffset) = side == Above ? otherRows : rows;
    } else {
        if (rows != otherRows) {
            throw WMException(WMException::RowsDontMatch);
        }
        newColumns = columns + otherColumns;
        if (newColumns > kMax) {
            throw WMException(WMException::ResultTooBig);
        }
        (side == Left ? columnOffset : otherColumnOffset) = side == Left ? otherColumns : columns;
    }

    MatrixBuffer<double> result;
    result.SetSize(static_cast<std::uint32_t>(newRows), static_cast<std::uint32_t>(newColumns));
    auto copyInto = [&](const DMAT& source, std::uint64_t r0, std::uint64_t c0) {
        for (std::uint32_t c = 0; c < source.GetColumns(); ++c) {
            for (std::uint32_t r = 0; r < source.GetRows(); ++r) {
                result.Data()[result.Index(static_cast<std::uint32_t>(r + r0),
                                           static_cast<std::uint32_t>(c + c0))] = source.Get(r, c);
            }
        }
    };
    copyInto(*this, rowOffset, columnOffset);
    copyInto(other, otherRowOffset, otherColumnOffset);
    buffer_.Swap(result);
}
