#include "document/NewSetup.h"
#include "document/ChartDocument.h"
#include "document/DocumentTestSupport.h"
#include "support/ScriptedPrompt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;

namespace {

using Field = AsciiFormat::Field;
using Record = AsciiFormat::Record;
const AsciiFormat kSpacesAndLines{Field::Spaces, ',', Record::Crlf, ';'};
// Delimiter characters that would close or escape their string.
const AsciiFormat kQuoteAndBackslash{Field::Custom, '"', Record::Custom, '\\'};

std::string Generated(const std::string& path, int format, const AsciiFormat& delimiters = {}) {
    std::string error;
    const std::optional<std::string> text = GeneratedSetupText(path, format, delimiters, &error);
    return text ? *text : "refused: " + error;
}

TEST(NewSetup, SetupPathReplacesTheExtensionOfTheFileName) {
    EXPECT_EQ(SetupPathForDataFile("C:/d/mx.CSV"), "C:/d/mx.dml");
    EXPECT_EQ(SetupPathForDataFile("/data/mx"), "/data/mx.dml");
    EXPECT_EQ(SetupPathForDataFile("/data.v2/mx"), "/data.v2/mx.dml");
    EXPECT_EQ(SetupPathForDataFile("a.b.txt"), "a.b.dml");
}

TEST(NewSetup, GeneratedTextByteForByte) {
    EXPECT_EQ(Generated("C:\\d\\mx.CSV", kAsciiFormat),
              "[DATA]\nMapMatrix=C:\\d\\mx.CSV;\nFormat=ASCII;\n");
    EXPECT_EQ(Generated("/d/m.txt", kAsciiFormat, kSpacesAndLines),
              "[DATA]\nMapMatrix=/d/m.txt;\nFormat=ASCII;\nAsciiFormat={ spaces, crlf };\n");
    EXPECT_EQ(Generated("/d/m.txt", kAsciiFormat, {Field::Custom, ';', Record::Custom, '|'}),
              "[DATA]\nMapMatrix=/d/m.txt;\nFormat=ASCII;\n"
              "AsciiFormat={ custom, \";\",custom, \"|\" };\n");
    // Gauss files have no delimiters to write.
    EXPECT_EQ(Generated("/d/m.fmt", kGaussFormat, kSpacesAndLines),
              "[DATA]\nMapMatrix=/d/m.fmt;\nFormat=Gauss 3.2 DOS FMT;\n");
}

TEST(NewSetup, PathsThatWouldBreakTheSyntaxAreQuotedOrRefused) {
    EXPECT_EQ(Generated("/d/a b/m[1].csv", kAsciiFormat),
              "[DATA]\nMapMatrix=\"/d/a b/m[1].csv\";\nFormat=ASCII;\n");
    EXPECT_THAT(Generated("/d/x;y.csv", kAsciiFormat), HasSubstr("MapMatrix=\"/d/x;y.csv\";"));
    EXPECT_THAT(Generated(" /d/m.csv", kAsciiFormat), HasSubstr("MapMatrix=\" /d/m.csv\";"));
    EXPECT_THAT(Generated("/d/m.csv ", kAsciiFormat), HasSubstr("MapMatrix=\"/d/m.csv \";"));
    EXPECT_THAT(Generated("/d/a b.csv", kAsciiFormat), HasSubstr("MapMatrix=/d/a b.csv;"));
    EXPECT_THAT(Generated("/d/say \"x\".csv", kAsciiFormat),
                HasSubstr("refused: The data file cannot be named in a setup file: its path "
                          "holds a double quote"));
    EXPECT_THAT(Generated("/d/m.txt", kAsciiFormat, kQuoteAndBackslash),
                HasSubstr("AsciiFormat={ custom, \"\\\"\",custom, \"\\ \" };"));
}

TEST(NewSetup, GeneratedTextsLoadBack) {
    TempTestFolder folder;
    ScriptedPrompt prompt;
    ChartDocument document(prompt);
    for (const std::string name : {"odd [1];x.txt", " lead.txt"}) {
        const std::string data = folder.Write(name, "1\"2\\3\"4\\");
        document.GeneratedSetup = true;
        ASSERT_TRUE(document.Open(
            folder.Write("new.dml", Generated(data, kAsciiFormat, kQuoteAndBackslash))))
            << name;
        EXPECT_EQ(prompt.Count(), 0u);
        EXPECT_EQ(MatrixText(document.DataMatrix), "1 2/3 4") << name;
    }
}

} // namespace
