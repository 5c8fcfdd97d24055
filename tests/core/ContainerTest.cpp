#include "core/LContainerIter.h"
#include "core/LObjectContainer.h"

#include <gtest/gtest.h>
#include <string>

namespace {

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
    EXPECT_EQ(LObjectContainer<int>(7u).GetId(), 7u);
    EXPECT_FALSE(words.IsLast());
    EXPECT_EQ(words.Current(), nullptr);

    LContainerIter none(words);
    EXPECT_FALSE(none.IsValid());
    EXPECT_FALSE(none.Next()); // an invalid iterator stays invalid

    std::string a = "a";
    words.List().addAtTail(a);
    a = "changed"; // the container holds its own copy
    words.List().addAtTail("b");
    words.List().addAtTail("c");
    EXPECT_EQ(Walk(words), "a b c ");
    EXPECT_TRUE(words.IsLast());

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
    EXPECT_EQ(grandchild.GetDepth(), 2u);
    for (LGenericContainer* loop : {&root, &child, &grandchild}) {
        try {
            grandchild.Attach(*loop);
            ADD_FAILURE() << "a loop was attached";
        } catch (const LException& e) {
            EXPECT_EQ(e.GetPlace(), "LGenericContainer :: Attach");
            EXPECT_EQ(e.GetDescription(), "can't attach to itself");
        }
    }

    root.Attach(grandchild); // moves it from child to root
    EXPECT_EQ(child.GetChildCount(), 0u);
    EXPECT_EQ(root.GetChildCount(), 2u);
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

} // namespace
