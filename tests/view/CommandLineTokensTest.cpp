#include "view/LCmdLineIter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

Strings Tokens(const std::string& line) {
    std::vector<std::string> tokens;
    LCmdLineIter iter(line);
    while (iter.Next()) {
        tokens.push_back(iter.Current());
    }
    // Once ended, the walk stays ended.
    EXPECT_FALSE(iter.Next());
    return tokens;
}

// Blanks separate and quotes group; a quote inside a token does not start a
// group; an unclosed or empty quote ends the walk.
TEST(LCmdLineIter, BlanksSeparateQuotesGroupAndUnclosedOrEmptyQuotesEnd) {
    const std::pair<const char*, Strings> cases[] = {
        {"", {}},
        {"   ", {}},
        {"a.dml  b.dml ", {"a.dml", "b.dml"}},
        {"\"my maps/a b.dml\" c.dml", {"my maps/a b.dml", "c.dml"}},
        {"x\"y z", {"x\"y", "z"}},
        {"\"a\"\"b\"", {"a", "b"}},
        {"a.dml \"b.dml c.dml", {"a.dml"}},
        {"\"\" a.dml", {}},
        {"a.dml \"\" b.dml", {"a.dml"}},
    };
    for (const auto& [line, tokens] : cases) {
        EXPECT_EQ(Tokens(line), tokens) << line;
    }
}

TEST(LCmdLineIter, ArgumentsJoinedAndReadBack) {
    const char* argv[] = {"demla", "plain.dml", "with blank.dml", "", "-unregister", nullptr};
    const std::string line = JoinCommandLine(5, argv);
    EXPECT_EQ(line, "plain.dml \"with blank.dml\" \"\" -unregister");
    // The empty argument ends the walk, as an empty quoted token does.
    EXPECT_EQ(Tokens(line), (Strings{"plain.dml", "with blank.dml"}));
}

TEST(SetupFileToken, ExtensionInAnyCaseAfterAName) {
    for (const char* token : {"map.dml", "MAP.DML", "a.Dml"}) {
        EXPECT_TRUE(IsSetupFileToken(token)) << token;
    }
    for (const char* token : {".dml", "-unregister", "map.dml.bak"}) {
        EXPECT_FALSE(IsSetupFileToken(token)) << token;
    }
}

} // namespace
