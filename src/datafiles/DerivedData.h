#pragma once

#include "core/DMAT.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Surfaces computed from one or two data matrices: what demographers map
// besides the rates themselves. Every operation leaves a cell missing where
// its result is undefined, and never fails on the values.

enum class DeriveOperation {
    // A / B, cell by cell.
    Ratio,
    // A - B, cell by cell.
    Difference,
    // The annual rate of change along the period axis over a lag of k
    // columns: rho(a, t) = -ln(A(a, t) / A(a, t - k)) / k. Positive where
    // the values fall, as mortality does where it improves.
    Improvement,
    // The mean of the (2h + 1) x (2h + 1) cells around each cell, missing
    // cells left out.
    Smooth,
};

// The operation as the setup file names it: "ratio", "difference",
// "improvement", "smooth".
std::string_view DeriveOperationName(DeriveOperation operation);
std::optional<DeriveOperation> FindDeriveOperation(std::string_view name);

// Whether the operation reads a second matrix.
inline bool NeedsSecondMatrix(DeriveOperation operation) {
    return operation == DeriveOperation::Ratio || operation == DeriveOperation::Difference;
}

// "100 rows x 39 columns".
std::string MatrixShapeText(const DMAT& matrix);

// Each function sizes result to the first matrix; an empty first matrix
// gives an empty result. The two-matrix operations expect b to have a's
// shape (the caller reports a mismatch); they raise the matrix's
// index error otherwise.

// Missing where either cell is missing, where b is 0, or where the
// quotient is not finite.
void DeriveRatio(const DMAT& a, const DMAT& b, DMAT& result);

// Missing where either cell is missing or the difference is not finite.
void DeriveDifference(const DMAT& a, const DMAT& b, DMAT& result);

// Missing in the first lag columns, where either cell is missing, where
// A(a, t - k) is 0 and where the quotient is 0 or negative. A lag of 0
// leaves every cell missing.
void DeriveImprovement(const DMAT& a, std::uint32_t lag, DMAT& result);

// Missing where the window holds no value. Half-width 0 copies a.
void DeriveSmooth(const DMAT& a, std::uint32_t halfWidth, DMAT& result);
