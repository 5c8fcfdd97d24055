#include "core/DMAT.h"
#include "core/WMAT.h"

#include "support/Thrown.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>
#include <vector>

namespace {

using Cells = std::vector<double>;

DMAT RowMajorCounting(std::uint32_t rows, std::uint32_t columns) {
    DMAT m(rows, columns);
    for (std::uint32_t r = 0; r < rows; ++r) {
        for (std::uint32_t c = 0; c < columns; ++c) {
            m.Set(r, c, r * columns + c);
        }
    }
    return m;
}

// The elements in storage order, after the dimensions.
Cells Stored(const DMAT& m) {
    Cells cells = {double(m.GetRows()), double(m.GetColumns())};
    cells.insert(cells.end(), m.Data(), m.Data() + std::size_t{m.GetRows()} * m.GetColumns());
    return cells;
}

TEST(DMATStorage, IsColumnMajorAndChecksIndicesAndSizes) {
    DMAT m = RowMajorCounting(3, 2);
    EXPECT_EQ(Stored(m), (Cells{3, 2, 0, 2, 4, 1, 3, 5}));
    m.MakeColumn();
    EXPECT_EQ(Stored(m), (Cells{6, 1, 0, 2, 4, 1, 3, 5}));

    m.SetSize(2, 2);
    const std::string index = "3: Matrix index out of range";
    const std::string allocation = "1: Allocation of global memory failed";
    EXPECT_EQ(Thrown<WMException>([&] { m.Get(2, 0); }), index);
    EXPECT_EQ(Thrown<WMException>([&] { m.Set(0, 2, 1.0); }), index);
    EXPECT_EQ(Thrown<WMException>([] { DMAT().Get(0, 0); }), index);
    EXPECT_EQ(Thrown<WMException>([&] { m.SetSize(0, 5); }), allocation);
    // A block beyond 4 GiB is refused as an allocation failure.
    EXPECT_EQ(Thrown<WMException>([&] { m.SetSize(70000, 70000); }), allocation);
}

TEST(DMATMissing, MarkerRecognisesBothDefaultNaNsAndMarkMissingUsesIt) {
    // The default NaN of either sign is missing; infinity and other NaNs are not.
    for (const std::uint64_t bits : {0x7FF8000000000000ull, 0xFFF8000000000000ull}) {
        EXPECT_TRUE(DMAT::IsMissingValue(std::bit_cast<double>(bits))) << std::hex << bits;
    }
    for (const std::uint64_t bits : {0x7FF0000000000000ull, 0x7FF0000000000001ull}) {
        EXPECT_FALSE(DMAT::IsMissingValue(std::bit_cast<double>(bits))) << std::hex << bits;
    }
    // SetMissing keeps the low six bytes.
    DMAT m(1, 1);
    m.Set(0, 0, std::bit_cast<double>(0x4000123456789ABCull));
    m.SetMissing(0, 0);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(m.Get(0, 0)), 0x7FFF123456789ABCull);

    // MarkMissing marks the cells equal to the code, and the NaNs.
    m.SetSize(1, 4);
    const double values[] = {-1, 3, -1, std::bit_cast<double>(0x7FF0000000000001ull)};
    std::copy(values, values + 4, m.Data());
    m.MarkMissing(-1);
    for (std::uint32_t c = 0; c < 4; ++c) {
        EXPECT_EQ(m.IsMissing(0, c), c != 1) << c;
    }
    // A NaN code must not wipe out the ordinary values.
    m.MarkMissing(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(m.IsMissing(0, 1));
}

TEST(DMATWhole, MinMaxAndRemoveRowsSkipMissingCells) {
    DMAT m = RowMajorCounting(4, 2); // 0 1 / 2 3 / 4 5 / 6 7
    m.SetMissing(0, 0);
    m.SetMissing(3, 1);
    EXPECT_EQ(m.Min(), 1);
    EXPECT_EQ(m.Max(), 6);
    m.RemoveRowsWithMissing();
    EXPECT_EQ(Stored(m), (Cells{2, 2, 2, 4, 3, 5}));

    m.Fill(DMAT::MissingValue());
    EXPECT_EQ(m.Min(), 0);
    EXPECT_EQ(m.Max(), 0);
    m.RemoveRowsWithMissing();
    EXPECT_TRUE(m.IsEmpty());
    EXPECT_EQ(m.GetRows(), 0u);
    EXPECT_EQ(DMAT().Min(), 0);
}

TEST(DMATWhole, SortAscendsInStorageOrderWithNaNsLast) {
    DMAT m(2, 3);
    const double values[] = {5, -1, std::numeric_limits<double>::quiet_NaN(), 3, 3, 0};
    std::copy(values, values + 6, m.Data());
    m.Sort();
    EXPECT_EQ(Cells(m.Data(), m.Data() + 5), (Cells{-1, 0, 3, 3, 5}));
    EXPECT_TRUE(std::isnan(m.Data()[5]));
}

TEST(DMATWhole, JoinChecksShapesAndPlacesTheOtherOnItsSide) {
    const DMAT a = RowMajorCounting(2, 2); // 0 1 / 2 3
    DMAT column(2, 1);
    column.Fill(9);
    DMAT row(1, 2);
    row.Fill(9);
    const std::tuple<DMAT::JoinSide, const DMAT*, Cells> cases[] = {
        {DMAT::Left, &column, {2, 3, 9, 9, 0, 2, 1, 3}},
        {DMAT::Right, &column, {2, 3, 0, 2, 1, 3, 9, 9}},
        {DMAT::Above, &row, {3, 2, 9, 0, 2, 9, 1, 3}},
        {DMAT::Below, &row, {3, 2, 0, 2, 9, 1, 3, 9}},
    };
    for (const auto& [side, other, expected] : cases) {
        DMAT m = a;
        m.Join(*other, side);
        EXPECT_EQ(Stored(m), expected) << side;
    }
    DMAT m = a;
    EXPECT_EQ(Thrown<WMException>([&] { m.Join(column, DMAT::Above); }), "5: Columns don't match");
    EXPECT_EQ(Thrown<WMException>([&] { m.Join(row, DMAT::Right); }), "4: Rows don't match");
    EXPECT_EQ(Stored(m), Stored(a));
}

TEST(MatrixCopies, AreDeepAndAnEmptySourceIsRefusedOnlyByAssign) {
    DMAT empty;
    DMAT m(1, 1);
    EXPECT_THROW(m.Assign(empty), WMException);
    DMAT copy(empty);
    EXPECT_TRUE(copy.IsEmpty());
    DMAT full = RowMajorCounting(2, 2);
    copy = full;
    full.Set(1, 1, 42);
    EXPECT_EQ(copy.Get(1, 1), 3);

    WMAT w(2, 3);
    w.Set(1, 2, 65535);
    WMAT levels;
    levels = w;
    w.Set(1, 2, 1);
    EXPECT_EQ(levels.Get(1, 2), 65535);
    EXPECT_THROW(w.Get(2, 0), WMException);
}

} // namespace
