#include "core/DMAT.h"
#include "core/WMAT.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace {

double FromBits(std::uint64_t bits) { return std::bit_cast<double>(bits); }

DMAT RowMajorCounting(std::uint32_t rows, std::uint32_t columns) {
    DMAT m(rows, columns);
    for (std::uint32_t r = 0; r < rows; ++r) {
        for (std::uint32_t c = 0; c < columns; ++c) {
            m.Set(r, c, r * columns + c);
        }
    }
    return m;
}

TEST(DMATStorage, IsColumnMajorAndMakeColumnListsStorageOrder) {
    DMAT m = RowMajorCounting(3, 2);
    const double expected[] = {0, 2, 4, 1, 3, 5};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(m.Data()[k], expected[k]);
    }
    m.MakeColumn();
    ASSERT_EQ(m.GetRows(), 6u);
    ASSERT_EQ(m.GetColumns(), 1u);
    for (std::uint32_t k = 0; k < 6; ++k) {
        EXPECT_EQ(m.Get(k, 0), expected[k]);
    }
}

TEST(DMATStorage, IndexAndSizeErrorsRaiseTheirCodes) {
    DMAT m(2, 2);
    try {
        m.Get(2, 0);
        FAIL() << "no exception";
    } catch (const WMException& e) {
        EXPECT_EQ(e.GetCode(), 3);
        EXPECT_STREQ(e.GetMessage(), "Matrix index out of range");
    }
    EXPECT_THROW(m.Set(0, 2, 1.0), WMException);
    try {
        m.SetSize(0, 5);
        FAIL() << "no exception";
    } catch (const WMException& e) {
        EXPECT_EQ(e.GetCode(), 1);
    }
    // A block beyond 4 GiB is refused as an allocation failure.
    EXPECT_THROW(m.SetSize(70000, 70000), WMException);
    DMAT empty;
    EXPECT_THROW(empty.Get(0, 0), WMException);
    EXPECT_STREQ(WMException(42).GetMessage(), "Unknown exception code");
    EXPECT_STREQ(WMException(6).GetMessage(), "Resulting matrix too big");
}

TEST(DMATMissing, MarkerRecognisesBothNaNFormsOnly) {
    DMAT m(1, 4);
    m.Set(0, 0, 7.5);
    m.SetMissing(0, 0);
    EXPECT_TRUE(m.IsMissing(0, 0));
    m.Set(0, 1, FromBits(0xFFF8000000000000ull)); // negative default NaN
    EXPECT_TRUE(m.IsMissing(0, 1));
    m.Set(0, 2, std::numeric_limits<double>::infinity());
    EXPECT_FALSE(m.IsMissing(0, 2));
    m.Set(0, 3, FromBits(0x7FF0000000000001ull)); // a signalling NaN
    EXPECT_FALSE(m.IsMissing(0, 3));
    EXPECT_TRUE(DMAT::IsMissingValue(0.0 / std::numeric_limits<double>::infinity() * 0.0 +
                                     std::numeric_limits<double>::quiet_NaN()));
    // SetMissing keeps the low six bytes.
    m.Set(0, 2, FromBits(0x4000123456789ABCull));
    m.SetMissing(0, 2);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(m.Get(0, 2)), 0x7FFF123456789ABCull);
}

TEST(DMATMissing, MarkMissingMarksEqualCellsAndNaNs) {
    DMAT m(2, 2);
    m.Set(0, 0, -1);
    m.Set(1, 0, 3);
    m.Set(0, 1, -1);
    m.Set(1, 1, FromBits(0x7FF0000000000001ull));
    m.MarkMissing(-1);
    EXPECT_TRUE(m.IsMissing(0, 0));
    EXPECT_TRUE(m.IsMissing(0, 1));
    EXPECT_FALSE(m.IsMissing(1, 0));
    EXPECT_TRUE(m.IsMissing(1, 1));

    // A NaN code must not wipe out the ordinary values.
    DMAT n(1, 2);
    n.Set(0, 0, 1);
    n.Set(0, 1, std::numeric_limits<double>::quiet_NaN());
    n.MarkMissing(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(n.IsMissing(0, 0));
    EXPECT_TRUE(n.IsMissing(0, 1));
}

TEST(DMATWhole, MinMaxSkipMissingAndAreZeroWhenNothingIsLeft) {
    DMAT m(2, 2);
    m.Fill(DMAT::MissingValue());
    EXPECT_EQ(m.Min(), 0);
    EXPECT_EQ(m.Max(), 0);
    m.Set(0, 1, -4);
    m.Set(1, 1, 9);
    EXPECT_EQ(m.Min(), -4);
    EXPECT_EQ(m.Max(), 9);
    EXPECT_EQ(DMAT().Min(), 0);
}

TEST(DMATWhole, RemoveRowsWithMissingKeepsCompleteRowsInOrder) {
    DMAT m = RowMajorCounting(3, 2);
    m.SetMissing(1, 1);
    m.RemoveRowsWithMissing();
    ASSERT_EQ(m.GetRows(), 2u);
    ASSERT_EQ(m.GetColumns(), 2u);
    EXPECT_EQ(m.Get(0, 0), 0);
    EXPECT_EQ(m.Get(0, 1), 1);
    EXPECT_EQ(m.Get(1, 0), 4);
    EXPECT_EQ(m.Get(1, 1), 5);

    DMAT all(2, 1);
    all.Fill(DMAT::MissingValue());
    all.RemoveRowsWithMissing();
    EXPECT_TRUE(all.IsEmpty());
    EXPECT_EQ(all.GetRows(), 0u);
}

TEST(DMATWhole, SortAscendsInStorageOrderWithNaNsLast) {
    DMAT m(2, 3);
    const double values[] = {5, -1, std::numeric_limits<double>::quiet_NaN(), 3, 3, 0};
    for (int k = 0; k < 6; ++k) {
        m.Data()[k] = values[k];
    }
    m.Sort();
    const double sorted[] = {-1, 0, 3, 3, 5};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(m.Data()[k], sorted[k]);
    }
    EXPECT_TRUE(std::isnan(m.Data()[5]));
}

TEST(DMATWhole, JoinChecksShapesAndPlacesTheOtherOnItsSide) {
    DMAT a = RowMajorCounting(2, 3);
    DMAT b(2, 4);
    b.Fill(9);
    try {
        DMAT c = a;
        c.Join(b, DMAT::Above);
        FAIL() << "no exception";
    } catch (const WMException& e) {
        EXPECT_EQ(e.GetCode(), 5);
    }
    DMAT right = a;
    right.Join(b, DMAT::Right);
    ASSERT_EQ(right.GetColumns(), 7u);
    EXPECT_EQ(right.Get(1, 2), 5);
    EXPECT_EQ(right.Get(1, 3), 9);

    DMAT left = a;
    left.Join(b, DMAT::Left);
    EXPECT_EQ(left.Get(0, 3), 9);
    EXPECT_EQ(left.Get(0, 4), 0);

    DMAT column(2, 1);
    column.Set(0, 0, 1);
    column.Set(1, 0, 2);
    DMAT front(1, 1);
    front.Set(0, 0, 0.5);
    DMAT above = column;
    above.Join(front, DMAT::Above);
    ASSERT_EQ(above.GetRows(), 3u);
    EXPECT_EQ(above.Get(0, 0), 0.5);
    EXPECT_EQ(above.Get(2, 0), 2);
    DMAT below = column;
    below.Join(front, DMAT::Below);
    EXPECT_EQ(below.Get(2, 0), 0.5);
    EXPECT_THROW(below.Join(front, DMAT::Right), WMException);
}

TEST(DMATCopy, AssignOfAnEmptySourceRaisesButCopiesStayEmpty) {
    DMAT empty;
    DMAT m(1, 1);
    EXPECT_THROW(m.Assign(empty), WMException);
    DMAT copy(empty);
    EXPECT_TRUE(copy.IsEmpty());
    DMAT full = RowMajorCounting(2, 2);
    copy = full;
    EXPECT_EQ(copy.Get(1, 1), 3);
    full.Set(1, 1, 42);
    EXPECT_EQ(copy.Get(1, 1), 3);
}

TEST(WMATStorage, ChecksIndicesLikeDMAT) {
    WMAT w(2, 3);
    w.Set(1, 2, 65535);
    EXPECT_EQ(w.Get(1, 2), 65535);
    EXPECT_THROW(w.Get(2, 0), WMException);
    WMAT copy = w;
    EXPECT_EQ(copy.Get(1, 2), 65535);
    EXPECT_THROW(w.SetSize(3, 0), WMException);
    EXPECT_TRUE(w.IsEmpty());
}

} // namespace
