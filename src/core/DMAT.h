#pragma once

#include "core/MatrixBuffer.h"

#include <cstdint>

// A matrix of doubles: the data matrix of a map (rows are ages, columns are
// years), the scale boundaries (one column) and temporary copies. Missing
// cells are a reserved NaN bit pattern inside the matrix itself.
class DMAT {
public:
    enum JoinSide : int { Left = 0, Above = 1, Right = 2, Below = 3 };

    DMAT() = default;
    DMAT(std::uint32_t rows, std::uint32_t columns);
    DMAT(const DMAT& other);
    DMAT(DMAT&& other) noexcept;
    DMAT& operator=(const DMAT& other);
    DMAT& operator=(DMAT&& other) noexcept;
    ~DMAT() = default;

    std::uint32_t GetRows() const { return buffer_.Rows(); }
    std::uint32_t GetColumns() const { return buffer_.Columns(); }
    bool IsEmpty() const { return buffer_.Data() == nullptr; }

    void SetSize(std::uint32_t rows, std::uint32_t columns) { buffer_.SetSize(rows, columns); }
    void Clear() { buffer_.Clear(); }

    double Get(std::uint32_t row, std::uint32_t column) const {
        return buffer_.Data()[buffer_.Index(row, column)];
    }
    void Set(std::uint32_t row, std::uint32_t column, double value) {
        buffer_.Data()[buffer_.Index(row, column)] = value;
    }
    bool IsMissing(std::uint32_t row, std::uint32_t column) const {
        return IsMissingValue(Get(row, column));
    }
    void SetMissing(std::uint32_t row, std::uint32_t column);

    // Every element equal to code, and every NaN, becomes missing.
    void MarkMissing(double code);
    void Fill(double value);
    // Copies the source; a 0 x 0 source raises code 1 (callers test it first).
    void Assign(const DMAT& source);
    void MakeColumn() { buffer_.MakeColumn(); }
    void RemoveRowsWithMissing();
    // Sorts every element ascending in storage order; NaNs go last.
    void Sort();
    // The smallest and largest non-missing element; 0 when there is none.
    double Min() const;
    double Max() const;
    void Join(const DMAT& other, int side);

    // The elements in storage order (column-major), for whole-matrix loops
    // that have already checked the dimensions. Null when empty.
    double* Data() { return buffer_.Data(); }
    const double* Data() const { return buffer_.Data(); }

    // The missing marker: the top 16 bits, sign cleared, are 0x7FFF or
    // 0x7FF8 (the processor's default NaN, so 0/0 counts as missing too).
    static bool IsMissingValue(double value);
    // The canonical missing value, 0x7FFF000000000000.
    static double MissingValue();
    // value with its top two bytes replaced by the marker.
    static double MarkAsMissing(double value);

private:
    // The first non-missing element that no later one beats; 0 when there
    // is none.
    template <typename Better>
    double Extreme(Better better) const;

    MatrixBuffer<double> buffer_;
};
