#include "document/ChartDocument.h"
#include "document/DocumentTestSupport.h"
#include "document/SafeFile.h"
#include "support/ScriptedPrompt.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const char* kRichSetup =
    "[DATA]\r\nMapMatrix=data.csv;\r\nFormat=ASCII;\r\n"
    "[PLOT.FRAME]\r\nTitle={\"Deaths\", \"Denmark\"};\r\nxTicks={1974,2013,0};\r\n"
    "xTicksList={\"1974\" 1974, \"2000\" 2000,};\r\nxLabel=\"Year\";\r\n"
    "[MAP.SCALE]\r\nMapScale={0.5 1 2.5};\r\nTickFormat=F2;\r\nxOrigin=2300;\r\n"
    "LabelFont={-10 0 0 0 700 0 0 0 0 0 0 2 0 \"Arial\"};\r\n"
    "ScaleSetup={1 0 0, 0 1 1, 0 0 0,};\r\n"
    "[COLORS]\r\nMapColors={1 2 3 4};\r\nMapMissingColor=5;\r\n"
    "[ANNOTATION]\r\nText={\"say \\\"hi\\\"\", \"two\"};\r\n"
    "TextLocation={100 200 300 40, 1980 50 0 0,};\r\n"
    "TextAttributes={page 255 0 opaque c t, plot 0 16777215 trans r b,};\r\n"
    "TextFont.1={-14 0 900 0 400 1 0 0 0 0 0 2 0 \"Serif\"};\r\n"
    "TextFrame.0={3 0 255 hatched 65280 4};\r\n"
    "Line={1974 0 2012 99,};\r\nLineAttributes={plot 2 1 255,};\r\n"
    "Rectangle={10 10 200 100, 1990 20 2000 30,};\r\n"
    "RectangleAttributes={page 1 0 0 trans 0 0, plot -1 0 0 solid 65535 0,};\r\n"
    "[PAGESETUP]\r\nOrientation=Portrait;\r\n"
    "[MAP.ATTRIBUTES]\r\nDemlaMapType=HParallelogram;\r\nContourLines=Yes;\r\n"
    "ContourLinesWidth=1.5;\r\nContourLinesColor=128;\r\n";

class Saving : public ::testing::Test {
protected:
    Saving() { folder.Write("data.csv", "1,2,3\r\n4,5,6\r\n"); }

    // Opens the setup text written as name, and saves it.
    std::string OpenAndSave(const std::string& name, const std::string& setup) {
        const std::string path = folder.Write(name, setup);
        EXPECT_TRUE(document.Open(path));
        EXPECT_TRUE(document.Save());
        return ReadTestFile(path);
    }

    TempTestFolder folder;
    ScriptedPrompt prompt;
    ChartDocument document{prompt};
};

TEST_F(Saving, WritesTheSectionsInTheirOrder) {
    const std::string text = OpenAndSave("map.dml", kRichSetup);
    EXPECT_EQ(prompt.Count(), 0u);
    std::size_t previous = 0;
    for (const char* header :
         {"[DATA]\r\n", "[PLOT.FRAME]\r\n", "[MAP.SCALE]\r\n", "[COLORS]\r\n", "[ANNOTATION]\r\n",
          "[SYSTEM]\r\n", "[PAGESETUP]\r\n", "[MAP.ATTRIBUTES]\r\n"}) {
        const std::size_t at = text.find(header);
        EXPECT_TRUE(at != std::string::npos && at >= previous) << header;
        previous = at;
    }
    EXPECT_TRUE(text.starts_with("[DATA]\r\nMapMatrix=data.csv;\r\nFormat=ASCII;\r\n\r\n[PLOT."));
    for (const char* line :
         {"/@ LinearScale=3;\r\n/@ "
          "MultiplicativeScale=3;\r\nMapScale={\r\n0.50\r\n1.00\r\n2.50\r\n};",
          "ScaleSetup={ \r\n1 0 0,\r\n0 1 1,\r\n0 0 0\r\n};\r\n\r\n[COLORS]",
          "[COLORS]\r\nMapColors={\r\n1\r\n2\r\n3\r\n4\r\n};\r\nMapMissingColor=5;\r\n\r\n",
          "Text={\r\n\"say \\\"hi\\\"\",\r\n\"two\"\r\n};\r\n",
          "TextLocation={\r\n100 200 300 40,\r\n1980 50 0 0\r\n};\r\n",
          "TextAttributes={\r\npage 255 0 opaque c t,\r\nplot 0 16777215 trans r b\r\n};\r\n",
          "TextFrame.0={3 0 255 hatched 65280 4};\r\n",
          "TextFont.1={-14 0 900 0 400 1 0 0 0 0 0 2 0 \"Serif\"};\r\n",
          "Line={\r\n1974 0 2012 99 \r\n};\r\nLineAttributes={\r\n plot 2 1 255\r\n};\r\n",
          "RectangleAttributes={\r\npage 1 0 0 trans 0 0,\r\n plot -1 0 0 solid 65535 0\r\n};",
          "[SYSTEM]\r\nVersion=1.1;\r\nType=Demla;\r\n\r\n[PAGESETUP]\r\nOrientation=Portrait;"
          "\r\n\r\n[MAP.ATTRIBUTES]\r\nDemlaMapType=HParallelogram;\r\nContourLines=Yes;\r\n"
          "ContourLinesWidth=1.50;\r\nContourLinesColor=128;\r\n"}) {
        EXPECT_THAT(text, HasSubstr(line));
    }
    EXPECT_THAT(text, Not(HasSubstr("TextFont.0")));
    EXPECT_THAT(text, Not(HasSubstr("AsciiFormat")));
}

TEST_F(Saving, LoadingTheSavedFileGivesTheSameSettings) {
    const std::string first = OpenAndSave("map.dml", kRichSetup);
    ASSERT_TRUE(document.Open());
    EXPECT_EQ(document.BoundaryCount(), 3u);
    EXPECT_EQ(document.Legend.GetLevelFlags()[1], 6u);
    EXPECT_EQ(document.Texts.List()[0].GetText(), "say \"hi\"");
    EXPECT_EQ(document.Texts.List()[1].GetFont()->escapement, 900);
    EXPECT_EQ(document.Texts.List()[0].GetFrame()->GetFrameRecord().fillColor, 65280u);
    EXPECT_EQ(document.Rectangles.List()[1].GetFrameRecord().borderWidth, -1);
    EXPECT_EQ(document.MapType, 3u);
    EXPECT_EQ(prompt.Count(), 0u);
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(ReadTestFile(document.GetPath()), first);
}

TEST_F(Saving, TextEndingInABackslashStaysReadable) {
    OpenAndSave("map.dml", "[ANNOTATION]\nText={\"a\", \"b\"};\n");
    document.Texts.List()[0].SetText(std::string("C:\\dir\\"));
    document.Texts.List()[1].SetText(std::string("quote \\\" kept"));
    ASSERT_TRUE(document.Save());
    EXPECT_THAT(ReadTestFile(document.GetPath()), HasSubstr("\"C:\\dir\\ \",\r\n"));
    ASSERT_TRUE(document.Open());
    EXPECT_EQ(prompt.Count(), 0u);
    EXPECT_EQ(document.Texts.List()[0].GetText(), "C:\\dir\\ ");
    EXPECT_EQ(document.Texts.List()[1].GetText(), "quote \\\" kept");
}

TEST_F(Saving, CopiesWhatTheDocumentDoesNotKeep) {
    folder.Write("lines.fmt", GaussBytes(1, 4, {1, 2, 3, 4}));
    const std::string text = OpenAndSave(
        "map.dml", "[DATA]\nMapMatrix= \"data.csv\" ;\n[ANNOTATION]\nText={\"a\", \"b\", \"c\"};\n"
                   "TextLocation={0 0 5 5, 0 0 5 5, 0 0 5 5,};\n"
                   "TextFrame.*={1 0 0 solid 0 0};\nTextFrame.2={2 0 0 solid 0 0};\n"
                   "TextFont.*= {-12 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"};\n"
                   "Line=\"lines.fmt\";\nRectangle=gone.fmt;\n");
    EXPECT_THAT(text, HasSubstr("MapMatrix=\"data.csv\";\r\n"));
    EXPECT_THAT(text, HasSubstr("TextFrame.*={1 0 0 solid 0 0};\r\nTextFrame.2={2 0 0 solid 0 0};"
                                "\r\nTextFont.*= {-12 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"};\r\n"));
    EXPECT_THAT(text, Not(HasSubstr("TextFrame.0")));
    EXPECT_THAT(text, Not(HasSubstr("TextFont.0")));
    EXPECT_THAT(text, HasSubstr("Line=\"lines.fmt\";\r\nLineAttributes={\r\n plot 0 0 0\r\n};"));
    // The reference stays although its file could not be read this time.
    EXPECT_THAT(text, HasSubstr("Rectangle=gone.fmt;\r\n"));
}

TEST_F(Saving, DataSectionNamesTheFileAndItsDelimiters) {
    EXPECT_THAT(OpenAndSave("a.dml", "[SYSTEM]\nType=Demla;\n"),
                HasSubstr("[DATA]\r\n/@ MapMatrix = put Data File name here;\r\n\r\n"));
    // A data file without records leaves the matrix empty; its name stays.
    folder.Write("empty.csv", "");
    std::string text = OpenAndSave("b.dml", "[DATA]\nMapMatrix=empty.csv;\n");
    EXPECT_TRUE(document.DataMatrix.IsEmpty());
    EXPECT_THAT(text, HasSubstr("[DATA]\r\nMapMatrix=empty.csv;\r\nFormat=ASCII;\r\n"));

    folder.Write("piped.txt", "1 2|3 4|");
    text = OpenAndSave("piped.dml", "[DATA]\nMapMatrix=piped.txt;\nFormat=ASCII;\n"
                                    "AsciiFormat={spaces, custom, \"|\"};\n");
    EXPECT_THAT(text, HasSubstr("AsciiFormat={ spaces, custom, \"|\" };\r\n"));
    EXPECT_EQ(MatrixText(document.DataMatrix), "1 2/3 4");
}

TEST_F(Saving, BackupBesideTheFileItCopies) {
    OpenAndSave("maps.v2/map.dml", "[SYSTEM]\nType=Demla;\n");
    EXPECT_EQ(ReadTestFile(folder / "maps.v2/map.dml.bak"), "[SYSTEM]\nType=Demla;\n");
    EXPECT_FALSE(FileExists(folder / "maps.bak"));
    OpenAndSave("plain", "[PAGESETUP]\n");
    EXPECT_EQ(ReadTestFile(folder / "plain.bak"), "[PAGESETUP]\n");

    // Save As reads the file the document came from but touches only the
    // destination: a file that stood there is what its backup keeps.
    const std::string original = ReadTestFile(folder / "plain");
    document.SetPath(folder / "copy.dml");
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(ReadTestFile(folder / "copy.dml"), original);
    EXPECT_EQ(ReadTestFile(folder / "plain.bak"), "[PAGESETUP]\n");
    EXPECT_FALSE(FileExists(folder / "copy.dml.bak"));
    std::ofstream(folder / "other.dml") << "[PAGESETUP]\nOrientation=Portrait;\n";
    document.SetPath(folder / "other.dml");
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(ReadTestFile(folder / "other.dml.bak"), "[PAGESETUP]\nOrientation=Portrait;\n");
    EXPECT_EQ(ReadTestFile(folder / "plain.bak"), "[PAGESETUP]\n");
}

TEST_F(Saving, FailuresKeepTheOldFile) {
    const std::string path = folder.Write("locked.dml", "[PAGESETUP]\n");
    ASSERT_TRUE(document.Open(path));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_FALSE(document.Save());
    EXPECT_EQ(prompt.Last().caption, "Error");
    EXPECT_EQ(prompt.Last().text,
              "Cannot open document for writing: " + path + "\r\nthe file is read-only");
    EXPECT_EQ(ReadTestFile(path), "[PAGESETUP]\n");

    document.SetPath(folder / "no/such/folder/map.dml");
    EXPECT_FALSE(document.Save());
    EXPECT_THAT(prompt.Last().text, HasSubstr("Cannot open document for writing: "));
    std::filesystem::create_directory(folder / "taken.dml");
    document.SetPath(folder / "taken.dml");
    EXPECT_FALSE(document.Save());
    EXPECT_THAT(prompt.Last().text, HasSubstr("Cannot open document for writing: "));
    EXPECT_TRUE(std::filesystem::is_empty(folder / "taken.dml"));
}

// What the reader took from the file survives a save and a reload.
TEST_F(Saving, KeepsWhatTheFileSays) {
    // A bracket in a comment does not end the section.
    std::string text = OpenAndSave("notes.dml", "[MAP.SCALE]\n/@ Doubling steps [per 1000];\n"
                                                "MapScale={1 2 4};\nTickFormat=F0;\n");
    EXPECT_EQ(document.BoundaryCount(), 3u);
    EXPECT_THAT(text, HasSubstr("MapScale={\r\n1\r\n2\r\n4\r\n};"));

    // A data name without its ";" is written back.
    folder.Write("z.csv", "1,2\r\n");
    text = OpenAndSave("z.dml", "[DATA]\nFormat=ASCII;\nMapMatrix=z.csv");
    EXPECT_THAT(text, HasSubstr("[DATA]\r\nMapMatrix=z.csv;\r\n"));

    // Numbers too long for the reader in their format are written short;
    // a text too long for it stops the save.
    text = OpenAndSave("big.dml", "[MAP.SCALE]\nMapScale={1 1e300};\nTickFormat=F2;\n"
                                  "[ANNOTATION]\nText={\"a\"};\n");
    EXPECT_THAT(text, HasSubstr("\r\n1e+300\r\n"));
    ASSERT_TRUE(document.Open());
    EXPECT_EQ(prompt.Count(), 0u);
    EXPECT_EQ(document.ScaleValues.Get(1, 0), 1e300);
    document.Texts.List()[0].SetText(std::string(1020, 'x') + "\"\"");
    EXPECT_FALSE(document.Save());
    EXPECT_THAT(prompt.Last().text, HasSubstr("is too long to be saved"));
    EXPECT_EQ(ReadTestFile(document.GetPath()), text);

    // An axis without ticks stays without ticks.
    text = OpenAndSave("bare.dml", "[PLOT.FRAME]\nxTicks={0,1,0};\nxTicksList={ };\n");
    EXPECT_THAT(text, HasSubstr("xTicksList={ };\r\n"));
    ASSERT_TRUE(document.Open());
    EXPECT_TRUE(document.Frame.xTickLabels.IsEmpty());

    // Sections of other programs are copied through after the known ones.
    const char* notes = "[MY.NOTES]\nSeen=\"2024\"; /@ kept [as is];\n";
    text = OpenAndSave("other.dml", std::string(notes) + "[PAGESETUP]\nOrientation=Portrait;\n"
                                                         "[tool]\n x = 1\n");
    EXPECT_TRUE(text.ends_with(std::string("\r\n\r\n") + notes + "[tool]\n x = 1\n"));
    ASSERT_TRUE(document.Open());
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(ReadTestFile(document.GetPath()), text);
}

TEST_F(Saving, SaveAsElsewhereKeepsNamingTheSameFiles) {
    folder.Write("lines.fmt", GaussBytes(1, 4, {1, 2, 3, 4}));
    const std::string path = folder.Write(
        "maps/map.dml", "[DATA]\nMapMatrix=../data.csv;\nFormat=ASCII;\n"
                        "[ANNOTATION]\nLine=\"../lines.fmt\";\nLineAttributes={plot 1 0 0,};\n");
    ASSERT_TRUE(document.Open(path));
    ASSERT_EQ(document.Lines.List().GetCount(), 1u);
    document.SetPath(folder / "copy.dml");
    ASSERT_TRUE(document.Save());
    document.SetPath(folder / "deep/er/copy.dml");
    std::filesystem::create_directories(folder / "deep/er");
    ASSERT_TRUE(document.Save());
    for (const char* copy : {"copy.dml", "deep/er/copy.dml"}) {
        ScriptedPrompt quiet;
        ChartDocument reloaded(quiet);
        ASSERT_TRUE(reloaded.Open(folder / copy)) << quiet.Last().text;
        EXPECT_EQ(quiet.Count(), 0u) << copy;
        EXPECT_EQ(MatrixText(reloaded.DataMatrix), "1 2 3/4 5 6") << copy;
        EXPECT_EQ(reloaded.Lines.List().GetCount(), 1u) << copy;
    }
    EXPECT_THAT(ReadTestFile(folder / "copy.dml"), HasSubstr("MapMatrix=data.csv;"));
    EXPECT_THAT(ReadTestFile(folder / "deep/er/copy.dml"), HasSubstr("MapMatrix=../../data.csv;"));
}

// A load that stopped at an error leaves a partial document: it never
// quietly replaces the whole file, nor the backup of a whole file.
TEST_F(Saving, PartialDocumentsAskBeforeReplacingTheirFile) {
    const std::string whole = "[DATA]\nMapMatrix=data.csv;\n[PLOT.FRAME]\nTitle=\"T\";\n";
    OpenAndSave("map.dml", whole);
    const std::string path = document.GetPath();
    EXPECT_FALSE(document.OpenedWithErrors());
    const std::string broken = whole + "[COLORS]\nMapColors={1 2};]\n[ANNOTATION]\n";
    folder.Write("map.dml", broken);
    ASSERT_TRUE(document.Open());
    EXPECT_TRUE(document.OpenedWithErrors());
    const std::string backup = ReadTestFile(BackupFileName(path));

    prompt.Then(PromptAnswer::No);
    EXPECT_FALSE(document.Save());
    EXPECT_EQ(prompt.Last().text, "This map was opened with errors. Saving replaces the file with "
                                  "what could be read. Save anyway?");
    EXPECT_EQ(prompt.Last().buttons, PromptButtons::YesNo);
    EXPECT_EQ(ReadTestFile(path), broken);

    for (int save = 0; save < 2; ++save) {
        prompt.Then(PromptAnswer::Yes);
        EXPECT_TRUE(document.Save());
        EXPECT_EQ(ReadTestFile(BackupFileName(path)), backup) << save;
    }
    // Saved elsewhere, nothing is replaced: no question.
    const std::size_t asked = prompt.Count();
    document.SetPath(folder / "copy.dml");
    EXPECT_TRUE(document.Save());
    EXPECT_EQ(prompt.Count(), asked);
}

} // namespace
