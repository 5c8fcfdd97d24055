#include "core/MVector.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>

namespace {

void ExpectThrows(const std::function<void()>& action, const char* place, const char* description) {
    try {
        action();
        ADD_FAILURE() << "no exception, expected " << description;
    } catch (const LException& e) {
        EXPECT_EQ(e.GetPlace(), place);
        EXPECT_EQ(e.GetDescription(), description);
    }
}

MVector<int> Counting(std::uint32_t lower, std::uint32_t upper) {
    MVector<int> v(lower, upper);
    for (std::uint32_t i = lower; i <= upper; ++i) {
        v[i] = static_cast<int>(i);
    }
    return v;
}

TEST(MVectorBounds, ConstructorsAndErrorsInTheirOrder) {
    MVector<int> one(5, 5);
    EXPECT_EQ(one.GetCount(), 1u);
    EXPECT_TRUE(one.IsValidIndex(5));
    EXPECT_FALSE(one.IsValidIndex(4));
    ExpectThrows([] { MVector<int>(6, 5); }, "MVector :: MVector", "UpperBound < LowerBound");
    ExpectThrows([&] { one[6]; }, "MVector[i]", "index out of range");

    MVector<int> empty;
    EXPECT_FALSE(empty.IsValidIndex(0));
    ExpectThrows([&] { empty[0]; }, "MVector", "empty vector");
    ExpectThrows([&] { empty.RemoveAt(0); }, "MVector", "empty vector");
    ExpectThrows([&] { empty.InsertAt(0, 1); }, "MVector", "empty vector");

    // The whole index range cannot be held, and the last index cannot grow.
    ExpectThrows([] { MVector<char>(0, 0xFFFFFFFFu); }, "MVector", "vector of maximum size");
    MVector<int> top(0xFFFFFFFFu, 0xFFFFFFFFu);
    ExpectThrows([&] { top.Append(1); }, "MVector", "vector of maximum size");
    ExpectThrows([&] { top.InsertAt(0xFFFFFFFFu, 1); }, "MVector", "vector of maximum size");
    EXPECT_EQ(top.GetUpperBound(), 0xFFFFFFFFu);
}

TEST(MVectorBounds, EmptyVectorsRestartAtIndexZero) {
    MVector<int> flushed(3, 3);
    flushed.Flush();
    EXPECT_EQ(flushed.GetLowerBound(), 0u);
    flushed.Append(9);
    EXPECT_EQ(flushed.GetCount(), 1u);
    EXPECT_EQ(flushed.GetUpperBound(), 0u);
    EXPECT_EQ(flushed[0], 9);

    MVector<int> sized(0u);
    sized.Append(4);
    sized.Append(5);
    EXPECT_EQ(sized[0], 4);
    EXPECT_EQ(sized[1], 5);

    MVector<int> seven(7, 7);
    seven.RemoveAt(7);
    EXPECT_EQ(seven.GetCount(), 0u);
    EXPECT_EQ(seven.GetLowerBound(), 0u);
    EXPECT_EQ(seven.GetUpperBound(), 0u);
    ExpectThrows([&] { seven[0]; }, "MVector", "empty vector");
}

TEST(MVectorEdit, InsertAndRemoveCountFromTheLowerBound) {
    MVector<int> v = Counting(5, 7); // 5 6 7
    v.InsertAt(6, 60);               // 5 60 6 7
    ASSERT_EQ(v.GetUpperBound(), 8u);
    EXPECT_EQ(v[5], 5);
    EXPECT_EQ(v[6], 60);
    EXPECT_EQ(v[7], 6);
    EXPECT_EQ(v[8], 7);
    v.RemoveAt(8); // the last
    v.RemoveAt(5); // 60 6
    ASSERT_EQ(v.GetUpperBound(), 6u);
    EXPECT_EQ(v[5], 60);
    EXPECT_EQ(v[6], 6);
    ExpectThrows([&] { v.RemoveAt(4); }, "MVector[i]", "index out of range");
    ExpectThrows([&] { v.InsertAt(7, 0); }, "MVector[i]", "index out of range");

    v.Append(7);
    EXPECT_EQ(v[7], 7);
}

} // namespace
