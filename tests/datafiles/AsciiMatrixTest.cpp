#include "datafiles/AsciiMatrix.h"
#include "core/DMAT.h"
#include "core/NumberText.h"
#include "core/WMException.h"
#include "datafiles/ASCIIFile.h"
#include "support/ScriptedPrompt.h"

#include <clocale>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The matrix row by row: "1 2/3 4", a missing cell as ".".
std::string Dump(const DMAT& m) {
    std::string text;
    for (std::uint32_t r = 0; r < m.GetRows(); ++r) {
        for (std::uint32_t c = 0; c < m.GetColumns(); ++c) {
            text += c ? " " : (r ? "/" : "");
            text += m.IsMissing(r, c) ? "." : FormatDoubleC("%g", m.Get(r, c));
        }
    }
    return text;
}

AsciiFormat Custom(char field, char record) {
    AsciiFormat format;
    format.fieldKind = AsciiFormat::Field::Custom;
    format.customField = field;
    format.recordKind = AsciiFormat::Record::Custom;
    format.customRecord = record;
    return format;
}

AsciiFormat Spaces() {
    AsciiFormat format;
    format.fieldKind = AsciiFormat::Field::Spaces;
    return format;
}

struct Load {
    explicit Load(const std::string& text, AsciiFormat format = {},
                  std::optional<ScreenSize> screen = std::nullopt,
                  std::vector<PromptAnswer> answers = {}) {
        for (PromptAnswer a : answers) {
            prompt.Then(a);
        }
        std::istringstream input(text);
        result = LoadAsciiMatrix(format, matrix, input, prompt, screen);
    }
    std::string Matrix() const { return Dump(matrix); }
    int result = -1;
    DMAT matrix;
    ScriptedPrompt prompt;
};

TEST(ASCIIFileScanner, ResultsOfEachKindOfByte) {
    const std::string text = "1 ,x\r\r\n-3e @skip, this@ 2";
    ASCIIFile file(text, ',', '\n');
    const std::vector<ASCIIFile::Result> expected = {
        ASCIIFile::afNumber, ASCIIFile::afNothing,   ASCIIFile::afField,   ASCIIFile::afInvalid,
        ASCIIFile::afRecord, ASCIIFile::afBadNumber, ASCIIFile::afNothing, ASCIIFile::afNothing,
        ASCIIFile::afNumber, ASCIIFile::afEnd};
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(file.NextField(), expected[k]) << "result " << k;
        if (expected[k] == ASCIIFile::afBadNumber) {
            EXPECT_EQ(file.Value(), -3); // the converted prefix
        }
    }
    EXPECT_EQ(file.Value(), 2);
    // With blanks as field delimiter a tab separates fields too.
    ASCIIFile spaces("\t1", ' ', '\n');
    EXPECT_EQ(spaces.NextField(), ASCIIFile::afField);
    // An unclosed comment runs to the end of the file.
    ASCIIFile comment("@ open", ',', '\n');
    EXPECT_EQ(comment.NextField(), ASCIIFile::afEnd);
}

TEST(AsciiMatrixComma, ReadsCellsAndLeavesHoles) {
    EXPECT_EQ(Load("1,2,3\n4,5,6\n").Matrix(), "1 2 3/4 5 6");
    const Load crlf("1,2,3\r\n4,5,6\r\n");
    EXPECT_EQ(crlf.result, 0);
    EXPECT_EQ(crlf.Matrix(), "1 2 3/4 5 6");
    EXPECT_EQ(crlf.prompt.Count(), 0u);
    EXPECT_EQ(Load("1,,3\n").Matrix(), "1 . 3");
    EXPECT_EQ(Load("1,2,\n4,5,\n").Matrix(), "1 2/4 5");
    EXPECT_EQ(Load("1,NA,3\n").Matrix(), "1 . 3");
    EXPECT_EQ(Load("1.2.3,4\n").Matrix(), ". 4");
    EXPECT_EQ(Load("@ header @1,2\n").Matrix(), "1 2");
    EXPECT_EQ(Load("-1.5e2, +.25 ,7\n").Matrix(), "-150 0.25 7");
}

TEST(AsciiMatrixComma, LastLineWithoutLineEndIsKept) {
    const Load pair("1,2\n5,6");
    EXPECT_EQ(pair.result, 0);
    EXPECT_EQ(pair.Matrix(), "1 2/5 6");
    EXPECT_EQ(pair.prompt.Count(), 0u);
    const Load single("1\n2");
    EXPECT_EQ(single.result, 0);
    EXPECT_EQ(single.Matrix(), "1/2");
    // Trailing white space after the last line end adds nothing.
    EXPECT_EQ(Load("1,2\n5,6\n  ").Matrix(), "1 2/5 6");
    EXPECT_EQ(Load("1 2\n5 6", Spaces()).Matrix(), "1 2/5 6");
}

TEST(AsciiMatrixComma, DifferentFieldCountsAskToContinue) {
    const std::string text = "1,2\n\n3,4\n";
    const Load ok(text, {}, std::nullopt, {PromptAnswer::Ok});
    EXPECT_EQ(ok.result, 0);
    EXPECT_EQ(ok.Matrix(), "1 2/3 4");
    ASSERT_EQ(ok.prompt.Count(), 1u);
    EXPECT_EQ(ok.prompt.Last().caption, "Warning");
    EXPECT_EQ(ok.prompt.Last().text,
              "Different text lines have different number of fields\r\nContinue?");
    EXPECT_EQ(ok.prompt.Last().buttons, PromptButtons::OkCancel);
    const Load cancel(text, {}, std::nullopt, {PromptAnswer::Cancel});
    EXPECT_EQ(cancel.result, 1);
    EXPECT_TRUE(cancel.matrix.IsEmpty());
    // A line holding only a delimiter is blank to both passes, so the rows
    // after it stay in place.
    const Load comma("1,2\n,\n3,4\n");
    EXPECT_EQ(comma.result, 0);
    EXPECT_EQ(comma.Matrix(), "1 2/3 4");
}

TEST(AsciiMatrixOtherLayouts, SpacesAndCustomDelimiters) {
    const Load spaces("  1  2\t3\n4 5 6\n\n", Spaces());
    EXPECT_EQ(spaces.Matrix(), "1 2 3/4 5 6");
    EXPECT_EQ(spaces.prompt.Count(), 0u);
    EXPECT_EQ(Load("1;2|3;4|", Custom(';', '|')).Matrix(), "1 2/3 4");
    EXPECT_EQ(Load("1;x|3;4", Custom(';', '|')).Matrix(), "1 ./3 4");
}

TEST(AsciiMatrixOtherLayouts, OneValuePerLine) {
    const AsciiFormat lines = Custom(';', ';');
    const Load good("2\n3\n1\n2\n3\n4\n5\n6\n", lines);
    EXPECT_EQ(good.result, 0);
    EXPECT_EQ(good.Matrix(), "1 2 3/4 5 6");
    EXPECT_EQ(Load("2\r\n3\r\n1\n2\nx\n4\n\n6", lines).Matrix(), "1 2 ./4 0 6");
    EXPECT_EQ(Load("two\n3\n1\n", lines).result, 1);
    EXPECT_EQ(Load("-5\n3\n1\n", lines).result, 1);
    // A file that ends early fails; the cells without a line are missing.
    const Load shortFile("2\n2\n1\n2\n3\n", lines);
    EXPECT_EQ(shortFile.result, 1);
    EXPECT_EQ(shortFile.Matrix(), "1 2/3 .");
    // Larger than the screen: asked, Cancel gives up.
    const Load big("2\n3\n1\n2\n3\n4\n5\n6\n", lines, ScreenSize{100, 2}, {PromptAnswer::Cancel});
    EXPECT_EQ(big.result, 1);
    ASSERT_EQ(big.prompt.Count(), 1u);
    EXPECT_EQ(big.prompt.Last().caption, "Alert");
    EXPECT_EQ(big.prompt.Last().text, "Matrix size exceeds resolution of screen\r\nContnue?");
    EXPECT_THROW(Load("0\n3\n", lines), WMException);
}

TEST(AsciiMatrixFailures, EmptyFilesAndOverlongNumbers) {
    DMAT matrix(1, 1);
    matrix.Set(0, 0, 9);
    ScriptedPrompt prompt;
    for (const char* text : {"", "\r\n\n", "@ only a comment @"}) {
        std::istringstream input(text);
        EXPECT_EQ(LoadAsciiMatrix(AsciiFormat{}, matrix, input, prompt), 0);
    }
    EXPECT_EQ(Dump(matrix), "9");
    EXPECT_EQ(prompt.Count(), 0u);

    const Load longNumber("1," + std::string(ASCIIFile::kMaxNumberText + 1, '7') + "\n");
    EXPECT_EQ(longNumber.result, 1);
    ASSERT_EQ(longNumber.prompt.Count(), 1u);
    EXPECT_EQ(longNumber.prompt.Last().caption, "Loading ASCII file error");
    EXPECT_EQ(Load(std::string(ASCIIFile::kMaxNumberText, '7')).result, 0);
}

TEST(AsciiMatrixRealData, DanishMaleMortality) {
    std::ifstream input(DEMLA_TEST_DATA_DIR "/dk-male-mortality.csv", std::ios::binary);
    ASSERT_TRUE(input);
    DMAT matrix;
    ScriptedPrompt prompt;
    ASSERT_EQ(LoadAsciiMatrix(AsciiFormat{}, matrix, input, prompt), 0);
    ASSERT_EQ(matrix.GetRows(), 100u);
    ASSERT_EQ(matrix.GetColumns(), 39u);
    EXPECT_EQ(prompt.Count(), 0u);
    for (std::uint32_t r = 0; r < 100; ++r) {
        for (std::uint32_t c = 0; c < 39; ++c) {
            ASSERT_FALSE(matrix.IsMissing(r, c)) << r << "," << c;
        }
    }
    EXPECT_EQ(matrix.Get(0, 0), 12.763);
    EXPECT_EQ(matrix.Get(0, 38), 3.38602);
    EXPECT_EQ(matrix.Get(49, 19), 5.25256);
    EXPECT_EQ(matrix.Get(99, 38), 512.727);
}

TEST(AsciiMatrixRealData, DecimalPointDoesNotDependOnLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const Load german("1.5,2\n");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(german.matrix.Get(0, 0), 1.5);
}

} // namespace
