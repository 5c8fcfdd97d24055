#include "datafiles/DerivedData.h"
#include "core/DMAT.h"
#include "core/WMException.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

namespace {

const double NA = DMAT::MissingValue();

// A matrix from rows written as they read.
DMAT Matrix(std::initializer_list<std::initializer_list<double>> rows) {
    DMAT matrix(static_cast<std::uint32_t>(rows.size()),
                static_cast<std::uint32_t>(rows.begin()->size()));
    std::uint32_t r = 0;
    for (const auto& row : rows) {
        std::uint32_t c = 0;
        for (const double value : row) {
            matrix.Set(r, c++, value);
        }
        ++r;
    }
    return matrix;
}

// Compares cell by cell; NA expects a missing cell.
void ExpectCells(const DMAT& actual, std::initializer_list<std::initializer_list<double>> rows) {
    const DMAT expected = Matrix(rows);
    ASSERT_EQ(actual.GetRows(), expected.GetRows());
    ASSERT_EQ(actual.GetColumns(), expected.GetColumns());
    for (std::uint32_t r = 0; r < expected.GetRows(); ++r) {
        for (std::uint32_t c = 0; c < expected.GetColumns(); ++c) {
            if (expected.IsMissing(r, c)) {
                EXPECT_TRUE(actual.IsMissing(r, c))
                    << "cell " << r << "," << c << " is " << actual.Get(r, c);
            } else {
                EXPECT_NEAR(actual.Get(r, c), expected.Get(r, c), 1e-12)
                    << "cell " << r << "," << c;
            }
        }
    }
}

TEST(DerivedDataTest, RatioIsMissingWhereEitherSideIsMissingOrTheDivisorIsZero) {
    const DMAT a = Matrix({{0.0112, 2, NA}, {0, 3, 1e308}, {-4, 5, 0}});
    const DMAT b = Matrix({{0.0061, NA, 1}, {2, 0, 1e-308}, {2, -2.5, 0}});
    DMAT ratio;
    DeriveRatio(a, b, ratio);
    // 0 / 2 is 0, a defined ratio; 3 / 0 and 0 / 0 are not; 1e308 / 1e-308
    // overflows to infinity, which is no value either.
    ExpectCells(ratio, {{0.0112 / 0.0061, NA, NA}, {0, NA, NA}, {-2, -2, NA}});
}

TEST(DerivedDataTest, DifferenceIsMissingOnlyWhereASideIsMissingOrItOverflows) {
    const DMAT a = Matrix({{5, NA}, {0, 1.7e308}});
    const DMAT b = Matrix({{7.5, 1}, {0, -1.7e308}});
    DMAT difference;
    DeriveDifference(a, b, difference);
    ExpectCells(difference, {{-2.5, NA}, {0, NA}});
}

TEST(DerivedDataTest, TwoMatricesOfAnotherShapeAreRefusedNotRead) {
    const DMAT a = Matrix({{1, 2}, {3, 4}});
    const DMAT b = Matrix({{1, 2, 3}, {4, 5, 6}});
    DMAT result;
    EXPECT_THROW(DeriveRatio(a, b, result), WMException);
    EXPECT_THROW(DeriveDifference(a, DMAT(), result), WMException);
    EXPECT_EQ(MatrixShapeText(b), "2 rows x 3 columns");
    EXPECT_EQ(MatrixShapeText(Matrix({{1}})), "1 row x 1 column");
}

TEST(DerivedDataTest, ImprovementIsTheAnnualRateOfFallOverTheLag) {
    // Rates that halve over two years improve by ln 2 / 2 a year.
    const DMAT a = Matrix({{0.04, 0.03, 0.02, 0.025}, {1, NA, 0.5, 2}, {0, 1, 0, 3}});
    DMAT lag1;
    DeriveImprovement(a, 1, lag1);
    ExpectCells(lag1, {{NA, -std::log(0.75), -std::log(2.0 / 3), -std::log(1.25)},
                       {NA, NA, NA, -std::log(4.0)},
                       // log of 0 (1 -> 0) and division by 0 (0 -> 1) are undefined.
                       {NA, NA, NA, NA}});
    DMAT lag2;
    DeriveImprovement(a, 2, lag2);
    ExpectCells(lag2, {{NA, NA, std::log(2.0) / 2, -std::log(0.025 / 0.03) / 2},
                       {NA, NA, std::log(2.0) / 2, NA},
                       {NA, NA, NA, -std::log(3.0) / 2}});
}

// The logarithm is taken of A(t) / A(t - k): two negatives give a positive
// quotient, one negative gives none. A lag as wide as the matrix (or none)
// leaves every cell missing.
TEST(DerivedDataTest, ImprovementOfNegativeValuesAndOfLagsAtTheMatrixWidth) {
    DMAT result;
    DeriveImprovement(Matrix({{-2, -1, 1}}), 1, result);
    ExpectCells(result, {{NA, std::log(2.0), NA}});
    const DMAT a = Matrix({{1, 2, 3}});
    DeriveImprovement(a, 3, result);
    ExpectCells(result, {{NA, NA, NA}});
    DeriveImprovement(a, 2, result);
    ExpectCells(result, {{NA, NA, -std::log(3.0) / 2}});
    DeriveImprovement(a, 0, result);
    ExpectCells(result, {{NA, NA, NA}});
}

TEST(DerivedDataTest, SmoothingAveragesTheWindowLeavingMissingCellsOut) {
    const DMAT a = Matrix({{1, 2, 3, 4}, {5, NA, 7, 8}, {9, 10, 11, 12}});
    DMAT h1;
    DeriveSmooth(a, 1, h1);
    // Corner (0, 0): 1, 2, 5 (the missing cell left out) -> 8 / 3.
    // Middle (1, 1): all but itself -> (1+2+3+5+7+9+10+11) / 8 = 6.
    ExpectCells(h1, {{8.0 / 3, 18.0 / 5, 24.0 / 5, 22.0 / 4},
                     {27.0 / 5, 6, 57.0 / 8, 45.0 / 6},
                     {24.0 / 3, 42.0 / 5, 48.0 / 5, 38.0 / 4}});
    DMAT h0;
    DeriveSmooth(a, 0, h0);
    ExpectCells(h0, {{1, 2, 3, 4}, {5, NA, 7, 8}, {9, 10, 11, 12}});
    // A window wider than the matrix averages all of it.
    DMAT wide;
    DeriveSmooth(a, 5, wide);
    EXPECT_NEAR(wide.Get(0, 0), 72.0 / 11, 1e-12);
    EXPECT_NEAR(wide.Get(2, 3), 72.0 / 11, 1e-12);
}

// A cell whose window holds no value stays missing (column 1's window
// reaches column 2 but not column 3), and an empty matrix derives an empty one.
TEST(DerivedDataTest, WindowsWithoutAValueStayMissingAndEmptyMatricesStayEmpty) {
    const DMAT a = Matrix({{NA, NA, NA, 4}, {NA, NA, NA, NA}});
    DMAT result;
    DeriveSmooth(a, 1, result);
    ExpectCells(result, {{NA, NA, 4, 4}, {NA, NA, 4, 4}});
    DeriveSmooth(a, 0, result);
    ExpectCells(result, {{NA, NA, NA, 4}, {NA, NA, NA, NA}});
    DeriveSmooth(DMAT(), 2, result);
    EXPECT_TRUE(result.IsEmpty());
    result = Matrix({{1}});
    DeriveImprovement(DMAT(), 1, result);
    EXPECT_TRUE(result.IsEmpty());
}

TEST(DerivedDataTest, OperationsAreNamedAsTheSetupFileWritesThem) {
    for (const DeriveOperation operation :
         {DeriveOperation::Ratio, DeriveOperation::Difference, DeriveOperation::Improvement,
          DeriveOperation::Smooth}) {
        EXPECT_EQ(FindDeriveOperation(DeriveOperationName(operation)), operation);
    }
    EXPECT_EQ(DeriveOperationName(DeriveOperation::Smooth), "smooth");
    EXPECT_FALSE(FindDeriveOperation("Ratio"));
    EXPECT_TRUE(NeedsSecondMatrix(DeriveOperation::Difference));
    EXPECT_FALSE(NeedsSecondMatrix(DeriveOperation::Improvement));
}

} // namespace

namespace {

// A map large enough that its derivation is shared between threads, with
// every hundred-and-first cell missing and every hundred-and-third zero, so
// the ranges' edges meet missing and undefined cells too.
DMAT LargeRates(std::uint32_t rows, std::uint32_t columns) {
    DMAT m(rows, columns);
    for (std::uint32_t c = 0; c < columns; ++c) {
        for (std::uint32_t r = 0; r < rows; ++r) {
            const std::uint32_t k = c * rows + r;
            m.Set(r, c,
                  k % 101 == 0   ? DMAT::MissingValue()
                  : k % 103 == 0 ? 0.0
                                 : 0.001 + (k % 997) * 0.0003);
        }
    }
    return m;
}

} // namespace

// The shared-out derivations give, cell by cell, what the definitions give
// when computed one cell at a time.
TEST(DerivedDataTest, LargeMapsDeriveWhatTheDefinitionsGive) {
    const DMAT a = LargeRates(701, 523);
    const std::uint32_t lag = 3;
    DMAT improvement;
    DeriveImprovement(a, lag, improvement);
    const std::uint32_t h = 2;
    DMAT smooth;
    DeriveSmooth(a, h, smooth);
    for (std::uint32_t c = 0; c < a.GetColumns(); ++c) {
        for (std::uint32_t r = 0; r < a.GetRows(); ++r) {
            double expected = DMAT::MissingValue();
            if (c >= lag) {
                const double x = a.Get(r, c);
                const double y = a.Get(r, c - lag);
                if (!DMAT::IsMissingValue(x) && !DMAT::IsMissingValue(y) && x > 0 && y > 0) {
                    expected = -std::log(x / y) / lag;
                }
            }
            if (DMAT::IsMissingValue(expected)) {
                ASSERT_TRUE(improvement.IsMissing(r, c)) << "improvement at " << r << ", " << c;
            } else {
                ASSERT_EQ(improvement.Get(r, c), expected) << "improvement at " << r << ", " << c;
            }

            double sum = 0;
            int count = 0;
            for (std::uint32_t cc = c > h ? c - h : 0; cc <= std::min(c + h, a.GetColumns() - 1);
                 ++cc) {
                for (std::uint32_t rr = r > h ? r - h : 0; rr <= std::min(r + h, a.GetRows() - 1);
                     ++rr) {
                    if (!DMAT::IsMissingValue(a.Get(rr, cc))) {
                        sum += a.Get(rr, cc);
                        ++count;
                    }
                }
            }
            ASSERT_NEAR(smooth.Get(r, c), sum / count, 1e-12) << "smooth at " << r << ", " << c;
        }
    }
}
