#pragma once

#include "core/WMException.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

// The storage shared by DMAT and WMAT: rows x columns elements in one
// column-major block, every access checked. Element (r, c) is element
// number c * rows + r of the block.
template <typename T>
class MatrixBuffer {
public:
    std::uint32_t Rows() const { return rows_; }
    std::uint32_t Columns() const { return columns_; }
    std::size_t Count() const { return static_cast<std::size_t>(rows_) * columns_; }
    T* Data() { return data_.get(); }
    const T* Data() const { return data_.get(); }

    // Frees the old block and allocates rows x columns elements whose
    // contents are undefined. A zero dimension, a block larger than 4 GiB
    // or a failed allocation raise code 1 and leave the new dimensions with
    // no block.
    void SetSize(std::uint32_t rows, std::uint32_t columns) {
        data_.reset();
        rows_ = rows;
        columns_ = columns;
        if (rows == 0 || columns == 0) {
            throw WMException(WMException::AllocationFailed);
        }
        const std::uint64_t bytes = static_cast<std::uint64_t>(rows) * columns * sizeof(T);
        if (bytes > std::numeric_limits<std::uint32_t>::max()) {
            throw WMException(WMException::AllocationFailed);
        }
        data_.reset(new (std::nothrow) T[static_cast<std::size_t>(rows) * columns]);
        if (!data_) {
            throw WMException(WMException::AllocationFailed);
        }
    }

    void Clear() {
        data_.reset();
        rows_ = columns_ = 0;
    }

    std::size_t Index(std::uint32_t row, std::uint32_t column) const {
        if (row >= rows_ || column >= columns_ || !data_) {
            throw WMException(WMException::IndexOutOfRange);
        }
        return static_cast<std::size_t>(column) * rows_ + row;
    }

    // Turns the matrix into one column listing the elements in storage order.
    void MakeColumn() {
        rows_ = static_cast<std::uint32_t>(Count());
        columns_ = rows_ == 0 ? 0 : 1;
    }

    void CopyFrom(const MatrixBuffer& source) {
        if (&source == this) {
            return;
        }
        SetSize(source.rows_, source.columns_);
        std::copy(source.data_.get(), source.data_.get() + Count(), data_.get());
    }

    void Swap(MatrixBuffer& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(rows_, other.rows_);
        std::swap(columns_, other.columns_);
    }

private:
    std::unique_ptr<T[]> data_;
    std::uint32_t rows_ = 0;
    std::uint32_t columns_ = 0;
};
