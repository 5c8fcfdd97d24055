#include "core/MList.h"
#include "core/MListIter.h"

#include <functional>
#include <gtest/gtest.h>
#include <new>
#include <string>

namespace {

void ExpectCode(const std::function<void()>& action, int code, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "no exception, expected code " << code;
    } catch (const MListExceptions& e) {
        EXPECT_EQ(e.GetCode(), code);
        EXPECT_EQ(e.GetMessage(), message);
    }
}

std::string Contents(MList<int>& list) {
    std::string text;
    MListIter<int> it(list);
    for (bool ok = it.First(); ok; ok = it.Next()) {
        text += std::to_string(it.Current()) + " ";
    }
    return text;
}

TEST(MList, CursorFollowsAddIndexAndRemove) {
    MList<int> list;
    ExpectCode([&] { list[0]; }, 1,
               "MList::operator[]: You are trying to get element from empty list");
    list.addAtTail(1);
    EXPECT_EQ(*list.GetCurrent(), 1);
    list.addAtTail(2);
    list.addAtTail(3);
    EXPECT_EQ(*list.GetCurrent(), 2); // the former tail
    list.addAtHead(0);
    EXPECT_EQ(*list.GetCurrent(), 1); // the former head
    EXPECT_EQ(Contents(list), "0 1 2 3 ");
    ExpectCode([&] { list[4]; }, 2, "MList::operator[]: index out of range");
    EXPECT_EQ(list[3], 3);
    EXPECT_TRUE(list.IsAtTail());
    list[2] = 20;
    EXPECT_EQ(*list.GetCurrent(), 20);

    list.RemoveCurrent(); // to the previous node
    EXPECT_EQ(*list.GetCurrent(), 1);
    list.GoTail();
    list.RemoveCurrent(); // the tail is relinked
    list.addAtTail(4);
    EXPECT_EQ(Contents(list), "0 1 4 ");
    list.RemoveHead(); // no previous node: to the next one
    EXPECT_EQ(*list.GetCurrent(), 1);
    list.RemoveHead();
    list.RemoveHead();
    EXPECT_EQ(list.GetCurrent(), nullptr);
    list.RemoveCurrent(); // harmless on an empty list
    list.addAtHead(7);
    EXPECT_EQ(Contents(list), "7 ");
}

TEST(MList, CopiesAreDeepAndLongListsAreDestroyed) {
    MList<int> a;
    for (int k = 1; k <= 3; ++k) {
        a.addAtTail(k);
    }
    MList<int> b;
    b.addAtTail(9);
    b = a;
    b[0] = 100;
    MList<int>& same = a;
    a = same;
    EXPECT_EQ(Contents(a), "1 2 3 ");
    EXPECT_EQ(Contents(b), "100 2 3 ");
    // Destroying a long chain must not recurse once per node.
    MList<int> longList;
    for (int k = 0; k < 1000000; ++k) {
        longList.addAtHead(k);
    }
    EXPECT_EQ(longList.GetCount(), 1000000u);
}

// An element whose copy fails when asked to, as an allocation would.
struct Fragile {
    static inline bool failCopies = false;
    int value = 0;
    explicit Fragile(int v) : value(v) {}
    Fragile(const Fragile& other) : value(other.value) {
        if (failCopies) {
            throw std::bad_alloc();
        }
    }
};

TEST(MList, FailedAllocationLeavesTheListUnchanged) {
    MList<Fragile> list;
    list.addAtTail(Fragile(1));
    list.addAtTail(Fragile(2));
    list.GoTail();
    Fragile::failCopies = true;
    ExpectCode([&] { list.addAtTail(Fragile(3)); }, 3,
               "MList<T> :: addAtTail() failed to allocate element");
    ExpectCode([&] { list.addAtHead(Fragile(0)); }, 3,
               "MList<T> :: addAtHead() failed to allocate element");
    Fragile::failCopies = false;
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_TRUE(list.IsAtTail());
    EXPECT_EQ(list[0].value, 1);
}

TEST(MListIter, InvalidIteratorsRefuseCurrent) {
    const std::string invalid =
        "MListIter<T> :: Current(): trying to get an element from the invalid iterator";
    MList<int> list;
    MListIter<int> it(list);
    EXPECT_FALSE(it.First());
    ExpectCode([&] { it.Current(); }, 4, invalid);
    list.addAtTail(1);
    ASSERT_TRUE(it.First());
    EXPECT_FALSE(it.Next());
    ExpectCode([&] { it.Current(); }, 4, invalid);
    ASSERT_TRUE(it.First());
    list.Flush(); // emptied behind the iterator's back
    ExpectCode([&] { it.Current(); }, 4, invalid);
}

} // namespace
