#include "view/LCmdLineIter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> tokens;
    LCmdLineIter iter(line);
    while (iter.Next()) {
        tokens.push_back(iter.Current());
    }
    // Once ended, the walk stays ended.
    EXPECT_FALSE(iter.Next());
    return tokens;
}

using Strings = std::vector<std::string>;

TEST(LCmdLineIter, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(Tokens(""), Strings{});
    EXPECT_EQ(Tokens("   "), Strings{});
    EXPECT_EQ(Tokens("a.dml  b.dml "), (Strings{"a.dml", "b.dml"}));
    EXPECT_EQ(Tokens("\"my maps/a b.dml\" c.dml"), (Strings{"my maps/a b.dml", "c.dml"}));
    // A quote inside a token does not start a group.
    EXPECT_EQ(Tokens("x\"y z"), (Strings{"x\"y", "z"}));
    EXPECT_EQ(Tokens("\"a\"\"b\""), (Strings{"a", "b"}));
}

TEST(LCmdLineIter, UnclosedOrEmptyQuoteEndsTheWalk) {
    EXPECT_EQ(Tokens("a.dml \"b.dml c.dml"), Strings{"a.dml"});
    EXPECT_EQ(Tokens("\"\" a.dml"), Strings{});
    EXPECT_EQ(Tokens("a.dml \"\" b.dml"), Strings{"a.dml"});
}

TEST(LCmdLineIter, ArgumentsJoinedAndReadBack) {
    const char* argv[] = {"demla", "plain.dml", "with blank.dml", "", "-unregister", nullptr};
    const std::string line = JoinCommandLine(5, argv);
    EXPECT_EQ(line, "plain.dml \"with blank.dml\" \"\" -unregister");
    // The empty argument ends the walk, as an empty quoted token does.
    EXPECT_EQ(Tokens(line), (Strings{"plain.dml", "with blank.dml"}));
}

TEST(SetupFileToken, ExtensionInAnyCaseAfterAName) {
    EXPECT_TRUE(IsSetupFileToken("map.dml"));
    EXPECT_TRUE(IsSetupFileToken("MAP.DML"));
    EXPECT_TRUE(IsSetupFileToken("a.Dml"));
    EXPECT_FALSE(IsSetupFileToken(".dml"));
    EXPECT_FALSE(IsSetupFileToken("-unregister"));
    EXPECT_FALSE(IsSetupFileToken("map.dml.bak"));
}

} // namespace
