#include "setup/DemlaSetup.h"
#include "setup/SetupText.h"
#include "setup/SetupWordIterator.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFile.h"

#include <clocale>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

// A reader with one section [S] holding body, and the item name loaded.
struct LoadedItem {
    TempTestFile file;
    DemlaSetup reader;
    LoadedItem(const std::string& body, const char* item) : file("[S]" + body) {
        EXPECT_TRUE(reader.FindSection(file.Path(), "S"));
        EXPECT_NE(reader.FindItem(item), nullptr) << item;
    }
};

int CodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const DemlaSetupException& e) {
        return e.GetCode();
    }
    return 0;
}

// The code, section and item of the error that action raises, "-" for a
// name never set.
std::string Raised(const std::function<void()>& action) {
    try {
        action();
    } catch (const DemlaSetupException& e) {
        return std::to_string(e.GetCode()) + " " + e.GetSection().value_or("-") + " " +
               e.GetItemName().value_or("-");
    }
    return "nothing";
}

TEST(DemlaSetupContainers, ClassifiesEveryValueForm) {
    struct Case {
        const char* value;
        unsigned type;
        std::uint32_t rows, columns;
    };
    const Case cases[] = {
        {";", ctEmpty, 1, 1},
        {" 7;", ctScalar, 1, 1},
        {"{1 2 3};", ctVector, 1, 3},
        {"{1, 2, 3};", ctVector, 3, 1},
        {"{1, 2, 3,};", ctVector, 3, 1},
        {"{1 2, 3 4,};", ctMatrix, 2, 2},
        {"{ 1 2 ,\r\n 3 4 };", ctMatrix, 2, 2},
        {"{ };", ctVector, 1, 1},
    };
    for (const Case& c : cases) {
        LoadedItem item(std::string("K=") + c.value + " Next=9;", "K");
        EXPECT_EQ(item.reader.GetContainerType(), c.type) << c.value;
        EXPECT_EQ(item.reader.GetRows(), c.rows) << c.value;
        EXPECT_EQ(item.reader.GetColumns(), c.columns) << c.value;
    }
    const TempTestFile ragged("[S] K={1 2 3, 4 5,};");
    DemlaSetup reader;
    ASSERT_TRUE(reader.FindSection(ragged.Path(), "S"));
    EXPECT_EQ(CodeOf([&] { reader.FindItem("K"); }), 12);
    // The failed item is not left half loaded.
    std::string element;
    EXPECT_EQ(CodeOf([&] { reader.ItemIterator(&element); }), 13);
    EXPECT_EQ(reader.GetContainerType(), 0u);
}

TEST(DemlaSetupElements, ReadsVectorsMatricesAndScalars) {
    for (const char* value : {"{1 2 3}", "{1, 2, 3}", "{1, 2, 3,}"}) {
        LoadedItem item(std::string("K=") + value + ";", "K");
        EXPECT_EQ(item.reader.GetSize(), 3u);
        EXPECT_EQ(item.reader.GetDouble(0, 2), 3);
        EXPECT_EQ(item.reader.GetDouble(2, 0), 3);
        EXPECT_EQ(CodeOf([&] { item.reader.GetDouble(1, 1); }), 17);
        EXPECT_EQ(CodeOf([&] { item.reader.GetDouble(3, 0); }), 17);
    }
    // A comment inside braces is passed over like any non-element token.
    LoadedItem matrix("M={1 2 3, 4 5 /@ skipped;\"six\",};", "M");
    EXPECT_EQ(matrix.reader.GetDouble(1, 1), 5);
    EXPECT_STREQ(matrix.reader.GetString(1, 2), "six");
    EXPECT_EQ(CodeOf([&] { matrix.reader.GetDouble(2, 0); }), 17);
    std::string element;
    matrix.reader.ItemIterator(nullptr);
    int count = 0;
    while (matrix.reader.ItemIterator(&element)) {
        ++count;
    }
    EXPECT_EQ(count, 6);
    EXPECT_EQ(matrix.reader.GetLastTokenType(), ttEnd);

    LoadedItem scalar("K = 4.25 ;", "K");
    EXPECT_EQ(scalar.reader.GetDouble(0, 0), 4.25);
    EXPECT_EQ(CodeOf([&] { scalar.reader.GetDouble(0, 1); }), 14);
}

TEST(DemlaSetupElements, ValuesWithoutElementsReadAsEmptyNotAsTheNextItem) {
    for (const char* body : {"K=; Next=5;", "K={ }; Next=5;", "K= , ; Next=5;", "K= /@ x; 5;"}) {
        LoadedItem item(body, "K");
        EXPECT_FALSE(item.reader.GetElement(0, 0)) << body;
        EXPECT_EQ(item.reader.GetDouble(0, 0), 0) << body;
        EXPECT_EQ(item.reader.GetString(0, 0), nullptr) << body;
        EXPECT_EQ(item.reader.GetLiteral(0, 0), nullptr) << body;
        EXPECT_FALSE(item.reader.GetBool(0, 0)) << body;
    }
    // The iterator stops at the item's ";" too.
    LoadedItem item("K={1 2}; Next=5;", "K");
    std::string element;
    EXPECT_TRUE(item.reader.ItemIterator(&element));
    EXPECT_TRUE(item.reader.ItemIterator(&element));
    EXPECT_FALSE(item.reader.ItemIterator(&element));
}

TEST(DemlaSetupElements, TypedGettersCheckAndConvert) {
    LoadedItem item("K={1.5E+03 12abc yes Y 1 Yellow TRUE 0 \"say \\\"hi\\\"\" word};", "K");
    DemlaSetup& r = item.reader;
    EXPECT_EQ(r.GetDouble(0, 0), 1500);
    EXPECT_STREQ(r.GetLiteral(0, 0), "1.5E+03");
    EXPECT_EQ(r.GetDouble(0, 1), 12);
    EXPECT_STREQ(r.GetLiteral(0, 1), "12abc");
    for (std::uint32_t i : {2u, 3u, 4u, 5u}) {
        EXPECT_TRUE(r.GetBool(0, i)) << i;
    }
    EXPECT_FALSE(r.GetBool(0, 6));
    EXPECT_FALSE(r.GetBool(0, 7));
    EXPECT_STREQ(r.GetString(0, 8), "say \"hi\"");
    EXPECT_EQ(CodeOf([&] { r.GetDouble(0, 9); }), 19);
    EXPECT_EQ(CodeOf([&] { r.GetString(0, 9); }), 20);
    EXPECT_EQ(CodeOf([&] { r.GetLiteral(0, 8); }), 16);
    EXPECT_EQ(CodeOf([&] { r.CheckElementType(ttString); }), 0);
    EXPECT_EQ(CodeOf([&] { r.CheckElementType(ttLiteral); }), 21);
    EXPECT_EQ(CodeOf([&] { r.CheckElementType(ttNumber); }), 19);
    r.GetLiteral(0, 9);
    EXPECT_EQ(CodeOf([&] { r.CheckElementType(ttString); }), 20);
    EXPECT_EQ(CodeOf([&] { r.CheckElementType(ttComma); }), 0);
}

TEST(DemlaSetupElements, NumbersIgnoreTheProcessLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    LoadedItem item("K=1.5;", "K");
    const double value = item.reader.GetDouble(0, 0);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(value, 1.5);
}

TEST(DemlaSetupSections, FindsTheExactFirstSection) {
    TempTestFolder files;
    DemlaSetup reader;
    const std::string path = files.Write(
        "sections.dml", "head [data] A=1; [DATA] A=2; /@ [x] ; [DATA] A=3; [S] T=\"[no]\"; U=4;");
    ASSERT_TRUE(reader.FindSection(path, "DATA"));
    // A bracket inside a comment opens no section.
    EXPECT_STREQ(reader.GetSectionText(), " A=2; /@ [x] ; ");
    EXPECT_EQ(reader.GetSectionName(), "DATA");
    EXPECT_EQ(reader.FindItem("A") != nullptr ? reader.GetDouble() : -1, 2);
    EXPECT_FALSE(reader.FindSection(path, "Data"));
    EXPECT_FALSE(reader.FindSection(path, " DATA "));
    ASSERT_TRUE(reader.FindSection(path, "S"));
    EXPECT_STREQ(reader.GetSectionText(), " T=\"[no]\"; U=4;");
}

// A damaged file is an error that names where the damage lies, never a
// section read in part.
TEST(DemlaSetupSections, DamageIsReportedWithItsLine) {
    TempTestFolder files;
    DemlaSetup reader;
    const std::string zero =
        files.Write("zero.dml", std::string("[A]\nX=1;\n[Z]\nA=1;\nB=\0 2;\n[C]\nY=1;", 31));
    EXPECT_TRUE(reader.FindSection(zero, "A"));
    EXPECT_TRUE(reader.FindSection(zero, "C"));
    try {
        reader.FindSection(zero, "Z");
        ADD_FAILURE() << "a zero byte was read over";
    } catch (const DemlaSetupException& e) {
        EXPECT_EQ(e.GetCode(), kSetupZeroByte);
        EXPECT_EQ(e.GetLine(), 5u);
        EXPECT_EQ(SetupExceptionText(e),
                  "Section: Z\r\nLine: 5\r\n" + std::string(SetupExceptionMessage(kSetupZeroByte)));
    }

    // Cut off inside a value's braces, at the file's end or at the next
    // header; the line is the one where the value begins.
    const std::string cut =
        files.Write("cut.dml", "[M]\r\nA=1;\r\n\r\nMapColors={\r\n0x1 0x2,\r\n0x3");
    ASSERT_TRUE(reader.FindSection(cut, "M"));
    EXPECT_NE(reader.FindItem("A"), nullptr);
    try {
        reader.FindItem("MapColors");
        ADD_FAILURE() << "an open brace was read as a value";
    } catch (const DemlaSetupException& e) {
        EXPECT_EQ(e.GetCode(), kSetupBraceNotClosed);
        EXPECT_EQ(e.GetItemName(), "MapColors");
        EXPECT_EQ(e.GetLine(), 4u);
    }
    ASSERT_TRUE(reader.FindSection(files.Write("next.dml", "[N]\nX={1 2\n[O]\n"), "N"));
    EXPECT_EQ(CodeOf([&] { reader.FindItem("X"); }), kSetupBraceNotClosed);
    // The closing brace alone makes the value whole.
    ASSERT_TRUE(reader.FindSection(files.Write("whole.dml", "[N]\nX={1 2}\n[O]\n"), "N"));
    EXPECT_NE(reader.FindItem("X"), nullptr);
    EXPECT_EQ(reader.GetSize(), 2u);
}

TEST(DemlaSetupSections, RaisesSyntaxAndFileErrors) {
    TempTestFolder files;
    DemlaSetup reader;
    EXPECT_EQ(CodeOf([&] { reader.FindSection(files.Write("a.dml", "[A] T=\"open; [B]"), "B"); }),
              22);
    EXPECT_EQ(CodeOf([&] { reader.FindSection(files.Write("b.dml", "[A] x ] [B]"), "B"); }), 10);
    // A stray "]" in the sought body is as unbalanced as anywhere else.
    EXPECT_EQ(CodeOf([&] { reader.FindSection(files.Write("c.dml", "[A] x ] [B]"), "A"); }), 10);
    for (const std::string& name : {files / "missing.dml", files.Path()}) {
        EXPECT_EQ(Raised([&] { reader.FindSection(name, "A"); }), "2  ") << name;
    }
}

TEST(DemlaSetupItems, SearchesWholeNamesOutsideStringsAndComments) {
    LoadedItem item("TextLocation={1 2}; /@ Old = 1; Text=\"a;b\" ; Line={1 Text};", "Text");
    DemlaSetup& r = item.reader;
    EXPECT_EQ(r.GetItemName(), "Text");
    EXPECT_STREQ(r.GetString(), "a;b");
    EXPECT_EQ(r.FindItem("Old"), nullptr);
    EXPECT_EQ(r.GetItemName(), "Text");
    EXPECT_EQ(r.FindItem("Tex"), nullptr);
    EXPECT_NE(r.FindItem("Line"), nullptr);
    EXPECT_EQ(r.GetSize(), 2u);

    const TempTestFile file("[S] TextFont.1 ={0}; Bad 5;");
    DemlaSetup reader;
    ASSERT_TRUE(reader.FindSection(file.Path(), "S"));
    SetupWordIterator words(reader.GetSectionText());
    ASSERT_TRUE(words.Next());
    EXPECT_EQ(words.CompareN("TextFont.", 9), 0);
    EXPECT_NE(words.Compare("TextFont."), 0);
    std::string name;
    EXPECT_FALSE(words.CopyWord(name, 10));
    EXPECT_TRUE(words.CopyWord(name, 11));
    EXPECT_EQ(name, "TextFont.1");
    reader.ParseItem(words, name);
    EXPECT_EQ(reader.GetContainerType(), ctVector);
    EXPECT_EQ(Raised([&] { reader.FindItem("Bad"); }), "11 S Bad");
}

TEST(DemlaSetupItems, ValueTextsAndQuotedNames) {
    LoadedItem item("A= data.txt ; B=\" C:\\my dir\\x.dat\" tail; D=\"a;b\"; E= ;", "A");
    DemlaSetup& r = item.reader;
    bool quoted = true;
    EXPECT_STREQ(r.GetQuotedValue(&quoted), "data.txt");
    EXPECT_FALSE(quoted);
    EXPECT_STREQ(r.GetValueText(), " data.txt ");
    r.FindItem("B");
    EXPECT_STREQ(r.GetQuotedValue(&quoted), " C:\\my dir\\x.dat");
    EXPECT_TRUE(quoted);
    r.FindItem("D");
    EXPECT_EQ(CodeOf([&] { r.GetQuotedValue(); }), 22);
    EXPECT_STREQ(r.GetValueText(), "\"a;b\"");
    r.FindItem("E");
    EXPECT_STREQ(r.GetQuotedValue(), "");

    LoadedItem last("A=1;Z= 2", "Z");
    EXPECT_EQ(last.reader.GetValueText(), nullptr);
    DemlaSetup empty;
    EXPECT_EQ(empty.GetQuotedValue(), nullptr);
    EXPECT_EQ(empty.GetSectionText(), nullptr);
}

TEST(DemlaSetupTokens, LimitsTokensToTheBuffer) {
    const std::string longest(DemlaSetup::kTokenBufferSize - 1, 'a');
    LoadedItem fits("K=" + longest + ";", "K");
    EXPECT_EQ(std::string(fits.reader.GetLiteral()).size(), longest.size());
    std::string small;
    fits.reader.ItemIterator(nullptr);
    EXPECT_EQ(CodeOf([&] { fits.reader.ItemIterator(&small, 1024); }), 1);

    const TempTestFile tooLong("[S]K=\"" + longest + "b\";");
    DemlaSetup reader;
    ASSERT_TRUE(reader.FindSection(tooLong.Path(), "S"));
    EXPECT_EQ(CodeOf([&] { reader.FindItem("K"); }), 1);
}

TEST(DemlaSetupReport, BuildsTheBoxText) {
    EXPECT_STREQ(SetupExceptionMessage(20), "Expected string: \"Text\"");
    EXPECT_STREQ(SetupExceptionMessage(14), "Invalid call of GetItem(): Vector operation on scalar "
                                            "type\nCheck if this item can be a scalar type");
    ScriptedPrompt prompt;
    ReportSetupException(prompt, DemlaSetupException(std::string("DATA"), std::string("K"), 12));
    ReportSetupException(prompt, DemlaSetupException(std::string(), std::nullopt, 2));
    ReportSetupException(prompt, DemlaSetupException(std::nullopt, std::nullopt, 22));
    ASSERT_EQ(prompt.Count(), 3u);
    EXPECT_EQ(prompt.Entries()[0].caption, "Demla Setup File Exception");
    EXPECT_EQ(prompt.Entries()[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(prompt.Entries()[0].text,
              "Section: DATA\r\nItem: K\r\nMatrix reading error: the number of elements in the "
              "current and previous rows are different\nCheck if all rows have the row delimiter "
              "character at the end");
    EXPECT_EQ(prompt.Entries()[1].text, "Section: \r\nUnable open setup file");
    EXPECT_EQ(prompt.Entries()[2].text, "String not closed");
}

TEST(SetupText, EscapesUnescapesAndTrims) {
    std::string text = "say \"hi\" \\ end";
    Escape(text);
    EXPECT_EQ(text, "say \\\"hi\\\" \\ end");
    Unescape(text);
    EXPECT_EQ(text, "say \"hi\" \\ end");
    std::string padded = " \t\r\n a b \v\f";
    TrimSpaces(padded);
    EXPECT_EQ(padded, "a b");
    std::string blank = " \r\n";
    TrimSpaces(blank);
    EXPECT_EQ(blank, "");
}

} // namespace
