#include "core/ExceptionReports.h"
#include "core/LContainerIter.h"
#include "core/LObjectContainer.h"
#include "core/MList.h"
#include "core/MListIter.h"
#include "core/MVector.h"

#include "support/ScriptedPrompt.h"
#include "support/Thrown.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <new>
#include <string>

namespace {

const std::string kEmpty = "MVector: empty vector";
const std::string kOutOfRange = "MVector[i]: index out of range";
const std::string kFull = "MVector: vector of maximum size";

// "lower bound: elements in order".
std::string Text(MVector<int>& v) {
    std::string text = std::to_string(v.GetLowerBound()) + ":";
    for (std::uint32_t i = v.GetLowerBound(); v.IsValidIndex(i); ++i) {
        text += " " + std::to_string(v[i]);
    }
    return text;
}

TEST(MVector, BoundsErrorsEmptyVectorsAndEdits) {
    MVector<int> one(5, 5);
    EXPECT_EQ(Text(one), "5: 0");
    EXPECT_FALSE(one.IsValidIndex(4));
    EXPECT_EQ(Thrown<LException>([] { MVector<int>(6, 5); }),
              "MVector :: MVector: UpperBound < LowerBound");
    EXPECT_EQ(Thrown<LException>([&] { one[6]; }), kOutOfRange);

    MVector<int> empty;
    EXPECT_FALSE(empty.IsValidIndex(0));
    EXPECT_EQ(Thrown<LException>([&] { empty[0]; }), kEmpty);
    EXPECT_EQ(Thrown<LException>([&] { empty.RemoveAt(0); }), kEmpty);
    EXPECT_EQ(Thrown<LException>([&] { empty.InsertAt(0, 1); }), kEmpty);

    // The whole index range cannot be held, and the last index cannot grow.
    EXPECT_EQ(Thrown<LException>([] { MVector<char>(0, 0xFFFFFFFFu); }), kFull);
    MVector<int> top(0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(Thrown<LException>([&] { top.Append(1); }), kFull);
    EXPECT_EQ(Thrown<LException>([&] { top.InsertAt(0xFFFFFFFFu, 1); }), kFull);
    EXPECT_EQ(top.GetUpperBound(), 0xFFFFFFFFu);

    // Empty vectors restart at index zero.
    MVector<int> flushed(3, 3);
    flushed.Flush();
    flushed.Append(9);
    EXPECT_EQ(Text(flushed), "0: 9");

    MVector<int> sized(0u);
    sized.Append(4);
    sized.Append(5);
    EXPECT_EQ(Text(sized), "0: 4 5");

    MVector<int> seven(7, 7);
    seven.RemoveAt(7);
    EXPECT_EQ(seven.GetUpperBound(), 0u);
    EXPECT_EQ(Text(seven), "0:");

    // Inserting and removing count from the lower bound.
    MVector<int> v(5, 7);
    for (std::uint32_t i = 5; i <= 7; ++i) {
        v[i] = static_cast<int>(i);
    }
    v.InsertAt(6, 60);
    EXPECT_EQ(Text(v), "5: 5 60 6 7");
    v.RemoveAt(8); // the last
    v.RemoveAt(5);
    EXPECT_EQ(Text(v), "5: 60 6");
    EXPECT_EQ(Thrown<LException>([&] { v.RemoveAt(4); }), kOutOfRange);
    EXPECT_EQ(Thrown<LException>([&] { v.InsertAt(7, 0); }), kOutOfRange);
    v.Append(7);
    EXPECT_EQ(Text(v), "5: 60 6 7");
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
    EXPECT_EQ(Thrown<MListExceptions>([&] { list[0]; }),
              "1: MList::operator[]: You are trying to get element from empty list");
    list.addAtTail(1);
    list.addAtTail(2);
    list.addAtTail(3);
    EXPECT_EQ(*list.GetCurrent(), 2); // the former tail
    list.addAtHead(0);
    EXPECT_EQ(*list.GetCurrent(), 1); // the former head
    EXPECT_EQ(Contents(list), "0 1 2 3 ");
    EXPECT_EQ(Thrown<MListExceptions>([&] { list[4]; }),
              "2: MList::operator[]: index out of range");
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
    EXPECT_EQ(Thrown<MListExceptions>([&] { list.addAtTail(Fragile(3)); }),
              "3: MList<T> :: addAtTail() failed to allocate element");
    EXPECT_EQ(Thrown<MListExceptions>([&] { list.addAtHead(Fragile(0)); }),
              "3: MList<T> :: addAtHead() failed to allocate element");
    Fragile::failCopies = false;
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_TRUE(list.IsAtTail());
    EXPECT_EQ(list[0].value, 1);
}

TEST(MListIter, InvalidIteratorsRefuseCurrent) {
    MList<int> list;
    MListIter<int> it(list);
    const auto current = [&] { return Thrown<MListExceptions>([&] { it.Current(); }); };
    const std::string invalid =
        "4: MListIter<T> :: Current(): trying to get an element from the invalid iterator";
    EXPECT_FALSE(it.First());
    EXPECT_EQ(current(), invalid);
    list.addAtTail(1);
    ASSERT_TRUE(it.First());
    EXPECT_FALSE(it.Next());
    EXPECT_EQ(current(), invalid);
    ASSERT_TRUE(it.First());
    list.Flush(); // emptied behind the iterator's back
    EXPECT_EQ(current(), invalid);
}

std::string Walk(LGenericContainer& container) {
    std::string text;
    LContainerIter it(container);
    for (bool ok = it.IsValid(); ok; ok = it.Next()) {
        text += *static_cast<std::string*>(it.Current()) + " ";
    }
    return text;
}

TEST(LObjectContainer, IteratesItsItemsThroughTheGenericOperations) {
    LObjectContainer<std::string> words("words");
    EXPECT_FALSE(words.IsLast());
    EXPECT_EQ(words.Current(), nullptr);

    EXPECT_EQ(Walk(words), "");

    std::string a = "a";
    words.List().addAtTail(a);
    a = "changed"; // the container holds its own copy
    words.List().addAtTail("b");
    words.List().addAtTail("c");
    EXPECT_EQ(Walk(words), "a b c ");

    LObjectContainer<std::string> copy = words;
    copy.List()[0] = "z";
    EXPECT_EQ(Walk(words), "a b c ");
    EXPECT_EQ(Walk(copy), "z b c ");
}

TEST(LGenericContainer, TreeLinksStayConsistent) {
    LObjectContainer<int> root("root");
    LObjectContainer<int> child("child");
    LObjectContainer<int> grandchild("grandchild");
    root.Attach(child);
    child.Attach(grandchild);
    for (LGenericContainer* loop : {&root, &child, &grandchild}) {
        EXPECT_EQ(Thrown<LException>([&] { grandchild.Attach(*loop); }),
                  "LGenericContainer :: Attach: can't attach to itself");
    }

    root.Attach(grandchild); // moves it from child to root
    EXPECT_EQ(child.GetChildCount(), 0u);
    EXPECT_EQ(grandchild.GetDepth(), 1u);
    root.Detach(0);
    EXPECT_EQ(child.GetParent(), nullptr);
    EXPECT_THROW(root.Detach(5), LException);
    {
        LObjectContainer<int> shortLived("short");
        root.Attach(shortLived);
        EXPECT_EQ(root.GetChildCount(), 2u);
    }
    EXPECT_EQ(root.GetChildCount(), 1u);
}

TEST(ExceptionReports, EntryBoxesAndPaintTextAreExact) {
    ScriptedPrompt prompt;
    ReportLException(prompt, LException("MVector :: MVector", "UpperBound < LowerBound"));
    ReportWMException(prompt, WMException(3));
    ASSERT_EQ(prompt.Count(), 2u);
    for (const auto& box : prompt.Entries()) {
        EXPECT_EQ(box.caption, "Exception");
        EXPECT_EQ(box.buttons, PromptButtons::Ok);
        EXPECT_EQ(box.icon, PromptIcon::None);
    }
    EXPECT_EQ(prompt.Entries()[0].text,
              "Place: MVector :: MVector\r\nDescription: UpperBound < LowerBound\r\n");
    EXPECT_EQ(prompt.Entries()[1].text,
              "WMException \nCode 3\nDescription: Matrix index out of range");
    EXPECT_EQ(PaintExceptionText(LException("CCSystem", "zero range")),
              "Exception zero range\r\nin CCSystem");
}

} // namespace
