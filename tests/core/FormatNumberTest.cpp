#include "core/FormatNumber.h"
#include "core/NumberText.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(FormatNumber, LetterCodes) {
    EXPECT_EQ(FormatNumber(1234.5678, "F2"), "1234.57");
    EXPECT_EQ(FormatNumber(1234.5678, "F0"), "1235");
    EXPECT_EQ(FormatNumber(1234.5678, "F"), "1235");
    EXPECT_EQ(FormatNumber(1234.5678, "E2"), "1.23E+03");
    EXPECT_EQ(FormatNumber(1234.5678, "G3"), "1.23E+03");
    EXPECT_EQ(FormatNumber(1500, "E02"), "1.50E+03");
    // Precision comes from files: it is capped instead of trusted.
    const std::string capped = FormatNumber(1.0, "F99");
    EXPECT_EQ(capped.size(), 101u);
    EXPECT_EQ(FormatNumber(1.0, "F999999999"), capped);
    EXPECT_EQ(FormatNumber(1.0, "F99999999999999999999999"), capped);
    EXPECT_EQ(FormatNumber(1.0, "F2x"), "1.00");
    EXPECT_EQ(FormatNumber(1e300, "F0").size(), 301u);
}

TEST(FormatNumber, PrintfCodesWithOneDoubleConversion) {
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
    const std::string formatted = FormatNumber(1234.5678, "F2");
    const std::string custom = FormatNumber(0.5, "%5.1f");
    const double parsed = ParseDouble("1.5");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(formatted, "1234.57");
    EXPECT_EQ(custom, "  0.5");
    EXPECT_EQ(parsed, 1.5);
}

} // namespace
