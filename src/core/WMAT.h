#pragma once

#include "core/MatrixBuffer.h"

#include <cstdint>

// A matrix of unsigned 16-bit numbers: one scale level per data cell.
class WMAT {
public:
    WMAT() = default;
    WMAT(std::uint32_t rows, std::uint32_t columns) {
        if (rows > 0 && columns > 0) {
            buffer_.SetSize(rows, columns);
        }
    }
    WMAT(const WMAT& other) {
        if (other.buffer_.Data()) {
            buffer_.CopyFrom(other.buffer_);
        }
    }
    WMAT(WMAT&& other) noexcept { buffer_.Swap(other.buffer_); }
    WMAT& operator=(const WMAT& other) {
        if (this != &other) {
            if (other.buffer_.Data()) {
                buffer_.CopyFrom(other.buffer_);
            } else {
                buffer_.Clear();
            }
        }
        return *this;
    }
    WMAT& operator=(WMAT&& other) noexcept {
        buffer_.Swap(other.buffer_);
        other.buffer_.Clear();
        return *this;
    }

    std::uint32_t GetRows() const { return buffer_.Rows(); }
    std::uint32_t GetColumns() const { return buffer_.Columns(); }
    bool IsEmpty() const { return buffer_.Data() == nullptr; }
    void SetSize(std::uint32_t rows, std::uint32_t columns) { buffer_.SetSize(rows, columns); }
    void Clear() { buffer_.Clear(); }

    std::uint16_t Get(std::uint32_t row, std::uint32_t column) const {
        return buffer_.Data()[buffer_.Index(row, column)];
    }
    void Set(std::uint32_t row, std::uint32_t column, std::uint16_t value) {
        buffer_.Data()[buffer_.Index(row, column)] = value;
    }

    // The elements in storage order (column-major); null when empty.
    std::uint16_t* Data() { return buffer_.Data(); }
    const std::uint16_t* Data() const { return buffer_.Data(); }

private:
    MatrixBuffer<std::uint16_t> buffer_;
};
