#include "document/NewSetup.h"
#include "document/ChartDocument.h"
#include "document/DocumentTestSupport.h"
#include "support/ScriptedPrompt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;

namespace {

AsciiFormat Delimiters(AsciiFormat::Field field, char fieldChar, AsciiFormat::Record record,
                       char recordChar) {
    AsciiFormat format;
    format.fieldKind = field;
    format.customField = fieldChar;
    format.recordKind = record;
    format.customRecord = recordChar;
    return format;
}

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
    EXPECT_EQ(Generated("/d/m.fmt", kGaussFormat),
              "[DATA]\nMapMatrix=/d/m.fmt;\nFormat=Gauss 3.2 DOS FMT;\n");
    EXPECT_EQ(
        Generated("/d/m.txt", kAsciiFormat,
                  Delimiters(AsciiFormat::Field::Spaces, ',', AsciiFormat::Record::Crlf, ';')),
        "[DATA]\nMapMatrix=/d/m.txt;\nFormat=ASCII;\nAsciiFormat={ spaces, crlf };\n");
    EXPECT_EQ(
        Generated("/d/m.txt", kAsciiFormat,
                  Delimiters(AsciiFormat::Field::Custom, ';', AsciiFormat::Record::Custom, '|')),
        "[DATA]\nMapMatrix=/d/m.txt;\nFormat=ASCII;\n"
        "AsciiFormat={ custom, \";\",custom, \"|\" };\n");
    // Gauss files have no delimiters to write.
    EXPECT_EQ(
        Generated("/d/m.fmt", kGaussFormat,
                  Delimiters(AsciiFormat::Field::Spaces, ',', AsciiFormat::Record::Crlf, ';')),
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
    // Delimiter characters that would close or escape their string.
    EXPECT_THAT(
        Generated("/d/m.txt", kAsciiFormat,
                  Delimiters(AsciiFormat::Field::Custom, '"', AsciiFormat::Record::Custom, '\\')),
        HasSubstr("AsciiFormat={ custom, \"\\\"\",custom, \"\\ \" };"));
}

TEST(NewSetup, GeneratedTextsLoadBack) {
    TempFolder folder;
    ScriptedPrompt prompt;
    ChartDocument document(prompt);
    for (const std::string name : {"odd [1];x.txt", " lead.txt"}) {
        const std::string data = folder.Write(name, "1\"2\\3\"4\\");
        const AsciiFormat delimiters =
            Delimiters(AsciiFormat::Field::Custom, '"', AsciiFormat::Record::Custom, '\\');
        const std::string setup =
            folder.Write("new.dml", Generated(data, kAsciiFormat, delimiters));
        document.GeneratedSetup = true;
        ASSERT_TRUE(document.Open(setup)) << name;
        EXPECT_EQ(prompt.Count(), 0u);
        EXPECT_EQ(document.Delimiters.customField, '"');
        EXPECT_EQ(document.Delimiters.customRecord, '\\');
        EXPECT_EQ(document.DataMatrix.GetRows(), 2u) << name;
        EXPECT_EQ(document.DataMatrix.GetColumns(), 2u) << name;
    }
}

} // namespace
