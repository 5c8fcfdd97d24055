#include "view/AsciiPreview.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

TEST(AsciiPreview, LinesTabsAndCarriageReturns) {
    EXPECT_EQ(AsciiPreviewLines("1,2\r\n3,4\r\n"), (Lines{"1,2", "3,4"}));
    EXPECT_EQ(AsciiPreviewLines("a\tb"), (Lines{"a        b"}));
    EXPECT_EQ(AsciiPreviewLines("last line without end"), (Lines{"last line without end"}));
    EXPECT_EQ(AsciiPreviewLines(""), Lines{});
    // Five lines at most.
    EXPECT_EQ(AsciiPreviewLines("1\n2\n3\n4\n5\n6\n7\n"), (Lines{"1", "2", "3", "4", "5"}));
}

TEST(AsciiPreview, LongLinesAreBrokenAndTabsStopAtTheEdge) {
    const std::string longLine(600, 'x');
    const Lines lines = AsciiPreviewLines(longLine + "\nnext\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].size(), 256u);
    EXPECT_EQ(lines[1].size(), 256u);
    EXPECT_EQ(lines[2].size(), 88u);
    EXPECT_EQ(lines[3], "next");
    // A tab near the edge gives only the blanks that fit.
    const Lines tabbed = AsciiPreviewLines(std::string(252, 'y') + "\tz");
    ASSERT_EQ(tabbed.size(), 1u);
    EXPECT_EQ(tabbed[0], std::string(252, 'y') + "   z");
    // Still five lines when the first is long.
    EXPECT_EQ(AsciiPreviewLines(std::string(2000, 'w')).size(), 5u);
}

} // namespace
