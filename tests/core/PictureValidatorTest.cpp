#include "core/LDoubleValueValidator.h"
#include "core/LException.h"
#include "core/LNumericFormatValidator.h"
#include "core/Picture.h"

#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace {

TEST(Picture, NotationAndMalformedPictures) {
    const Picture choice("{A,BC}*#[-[x,y]]");
    EXPECT_EQ(choice.Match("BC12-y"), PictureMatch::Complete);
    EXPECT_EQ(choice.Match("A"), PictureMatch::Complete);
    EXPECT_EQ(choice.Match("B"), PictureMatch::Prefix);
    EXPECT_EQ(choice.Match("AB"), PictureMatch::Impossible);
    EXPECT_EQ(choice.Match("a"), PictureMatch::Impossible); // letters are case sensitive
    EXPECT_EQ(Picture("*[#]x").Match("12x"), PictureMatch::Complete);
    for (const char* bad : {"[#", "#]", "{#,#", "*", "{#]"}) {
        EXPECT_THROW(Picture{bad}, LException) << bad;
    }
}

TEST(LDoubleValueValidator, AcceptsNumbersAndTheirPrefixes) {
    const LDoubleValueValidator number;
    for (const char* text : {"12", "-1.2", "+1.3E+001", "5.", "0", "7E9", "1.25E-12"}) {
        EXPECT_TRUE(number.IsValid(text)) << text;
    }
    for (const char* text : {".5", "1.2.3", "1E1234", "", "-", "1E", "1e5", "1,5", " 1"}) {
        EXPECT_FALSE(number.IsValid(text)) << text;
    }
    for (const char* text : {"", "-", "+", "1.", "1E", "1E+", "-1.25E-1"}) {
        EXPECT_TRUE(number.IsValidInput(text)) << text;
    }
    for (const char* text : {"1E+1234", ".", "1.2.", "--", "1E+-", "x"}) {
        EXPECT_FALSE(number.IsValidInput(text)) << text;
    }
}

TEST(LNumericFormatValidator, AcceptsOneOrTwoDigitsAfterFOrE) {
    const LNumericFormatValidator format;
    for (const char* text : {"F2", "E10", "F0", "E99"}) {
        EXPECT_TRUE(format.IsValid(text)) << text;
    }
    for (const char* text : {"G2", "F", "F123", "", "f2", "2"}) {
        EXPECT_FALSE(format.IsValid(text)) << text;
    }
    EXPECT_TRUE(format.IsValidInput("F") && format.IsValidInput(""));
    EXPECT_FALSE(format.IsValidInput("F123") || format.IsValidInput("G"));
}

TEST(PictureValidator, ErrorsExplainTheExpectedForm) {
    ScriptedPrompt prompt;
    LNumericFormatValidator().Error(prompt);
    LDoubleValueValidator().Error(prompt);
    ASSERT_EQ(prompt.Count(), 2u);
    for (const auto& box : prompt.Entries()) {
        EXPECT_EQ(box.caption, "Demla");
        EXPECT_EQ(box.icon, PromptIcon::Exclamation);
        EXPECT_EQ(box.buttons, PromptButtons::Ok);
    }
    EXPECT_EQ(prompt.Entries()[0].text, "Numeric format expected\nExamples\nF2\nE2");
    EXPECT_EQ(prompt.Entries()[1].text, "Numeric value expected\nExamples\n-1.2  \n+1.3E+001");
}

} // namespace
