#include "core/FormatNumber.h"
#include "core/LDoubleValueValidator.h"
#include "core/LException.h"
#include "core/LNumericFormatValidator.h"
#include "core/NumberText.h"
#include "core/Picture.h"

#include "support/ScriptedPrompt.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(FormatNumber, LetterAndPrintfCodes) {
    EXPECT_EQ(FormatNumber(1234.5678, "F2"), "1234.57");
    EXPECT_EQ(FormatNumber(1234.5678, "F0"), "1235");
    EXPECT_EQ(FormatNumber(1234.5678, "F"), "1235");
    EXPECT_EQ(FormatNumber(1234.5678, "E2"), "1.23E+03");
    EXPECT_EQ(FormatNumber(1234.5678, "G3"), "1.23E+03");
    // Precision comes from files: it is capped instead of trusted.
    const std::string capped = FormatNumber(1.0, "F99");
    EXPECT_EQ(capped.size(), 101u);
    EXPECT_EQ(FormatNumber(1.0, "F999999999"), capped);
    EXPECT_EQ(FormatNumber(1.0, "F99999999999999999999999"), capped);
    EXPECT_EQ(FormatNumber(1.0, "F2x"), "1.00");
    EXPECT_EQ(FormatNumber(1e300, "F0").size(), 301u);
    // Any other code is a printf format with one double conversion.
    EXPECT_EQ(FormatNumber(0.5, "%5.1f"), "  0.5");
    EXPECT_EQ(FormatNumber(0.5, "x=%-6.2lf|"), "x=0.50  |");
    EXPECT_EQ(FormatNumber(12.0, "%+08.1f%%"), "+00012.0%");
    EXPECT_EQ(FormatNumber(1500.0, "%G"), "1500");
}

TEST(FormatNumber, DangerousCodesPrintAsF2) {
    const char* const dangerous[] = {
        "%s",  "%n",   "%d",  "%x",   "%f%f",  "%*f",    "%.*f",          "100%",           "%",
        "%Lf", "%llf", "%hf", "%5$f", "%100f", "%.100f", "%99999999999f", "%.99999999999f", "plain",
        "",    "f2",   "%c"};
    for (const char* code : dangerous) {
        EXPECT_EQ(FormatNumber(3.14159, code), "3.14") << code;
    }
    EXPECT_EQ(FormatNumber(3.14159, std::string("%f\0%s", 5)), "3.14");
    EXPECT_EQ(FormatNumber(3.14159, "%99.99f").size(), 101u);
}

TEST(FormatNumber, IgnoresTheProcessLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is not installed; this test needs it";
    const std::string text = FormatNumber(1234.5678, "F2") + "|" + FormatNumber(0.5, "%5.1f");
    const double parsed = ParseDouble("1.5");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(text, "1234.57|  0.5");
    EXPECT_EQ(parsed, 1.5);
}

// Setup values and data are decimal numbers: words and hexadecimal forms
// convert no further than strtod's decimal reading would take them.
TEST(ParseDouble, TakesDecimalFormsOnly) {
    const auto parsed = [](const char* text) {
        std::size_t used = 0;
        const double value = ParseDouble(text, &used);
        return FormatDoubleC("%g", value) + "/" + std::to_string(used);
    };
    EXPECT_EQ(parsed(" -1.5e2x"), "-150/7");
    EXPECT_EQ(parsed(".5"), "0.5/2");
    EXPECT_EQ(parsed("5."), "5/2");
    EXPECT_EQ(parsed("1e400"), "inf/5"); // out of range, as strtod answers
    for (const char* word :
         {"inf", "-inf", "+infinity", "nan", "-nan", "NAN(1)", "+-1", ".", "-.e1"}) {
        EXPECT_EQ(parsed(word), "0/0") << word;
    }
    EXPECT_EQ(parsed("0x10"), "0/1");
    EXPECT_EQ(parsed("-0X1p4"), "-0/2");
    double whole = 1;
    EXPECT_FALSE(ParseWholeDouble("inf", "inf" + 3, whole));
}

TEST(Picture, NotationAndMalformedPictures) {
    const Picture choice("{A,BC}*#[-[x,y]]");
    EXPECT_EQ(choice.Match("BC12-y"), PictureMatch::Complete);
    EXPECT_EQ(choice.Match("A"), PictureMatch::Complete);
    EXPECT_EQ(choice.Match("B"), PictureMatch::Prefix);
    EXPECT_EQ(choice.Match("a"), PictureMatch::Impossible); // letters are case sensitive
    EXPECT_EQ(Picture("*[#]x").Match("12x"), PictureMatch::Complete);
    for (const char* bad : {"[#", "#]", "{#,#", "*", "{#]"}) {
        EXPECT_THROW(Picture{bad}, LException) << bad;
    }
}

TEST(PictureValidators, AcceptNumbersAndFormatCodesAndTheirPrefixes) {
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
