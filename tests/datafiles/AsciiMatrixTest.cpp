#include "datafiles/AsciiMatrix.h"
#include "core/WMException.h"
#include "datafiles/ASCIIFile.h"
#include "datafiles/DatafilesTestSupport.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFile.h"

#include <clocale>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

AsciiFormat Custom(char field, char record) {
    return {AsciiFormat::Field::Custom, field, AsciiFormat::Record::Custom, record};
}

const AsciiFormat kSpaces{AsciiFormat::Field::Spaces};
const AsciiFormat kLines = Custom(';', ';');

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
    // "result: matrix", and how many boxes were shown if any.
    std::string Outcome() const {
        const std::string text = std::to_string(result) + ": " + MatrixText(matrix);
        return prompt.Count() == 0 ? text : text + " (" + std::to_string(prompt.Count()) + " box)";
    }
    int result = -1;
    DMAT matrix;
    ScriptedPrompt prompt;
};

TEST(ASCIIFileScanner, ResultsOfEachKindOfByte) {
    ASCIIFile file("1 ,x\r\r\n-3e @skip, this@ 2", ',', '\n');
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
    EXPECT_EQ(ASCIIFile("\t1", ' ', '\n').NextField(), ASCIIFile::afField);
    // An unclosed comment runs to the end of the file.
    EXPECT_EQ(ASCIIFile("@ open", ',', '\n').NextField(), ASCIIFile::afEnd);
}

TEST(AsciiMatrix, CellsHolesDelimitersAndLastLines) {
    const std::pair<std::string, AsciiFormat> sixes[] = {
        {"1,2,3\n4,5,6\n", {}},
        {"1,2,3\r\n4,5,6\r\n", {}},
        {"  1  2\t3\n4 5 6\n\n", kSpaces},
        {"1;2;3|4;5;6|", Custom(';', '|')},
        {"2\n3\n1\n2\n3\n4\n5\n6\n", kLines},
        // The last line needs no line end, and white space after it adds nothing.
        {"1,2,3\n4,5,6", {}},
        {"1,2,3\n4,5,6\n  ", {}},
        {"1 2 3\n4 5 6", kSpaces},
    };
    for (const auto& [text, format] : sixes) {
        EXPECT_EQ(Load(text, format).Outcome(), "0: 1 2 3/4 5 6") << text;
    }
    EXPECT_EQ(Load("1\n2").Outcome(), "0: 1/2");
    EXPECT_EQ(Load("1,,3\n").Outcome(), "0: 1 . 3");
    EXPECT_EQ(Load("1,2,\n4,5,\n").Outcome(), "0: 1 2/4 5");
    EXPECT_EQ(Load("1,NA,3\n").Outcome(), "0: 1 . 3");
    EXPECT_EQ(Load("1.2.3,4\n").Outcome(), "0: . 4");
    EXPECT_EQ(Load("@ header @1,2\n").Outcome(), "0: 1 2");
    EXPECT_EQ(Load("-1.5e2, +.25 ,7\n").Outcome(), "0: -150 0.25 7");
    EXPECT_EQ(Load("1;x|3;4", Custom(';', '|')).Outcome(), "0: 1 ./3 4");
    // A line holding only a delimiter is blank to both passes, so once the
    // question is answered the rows after it stay in place.
    EXPECT_EQ(Load("1,2\n,\n3,4\n").Outcome(), "0: 1 2/3 4 (1 box)");
}

TEST(AsciiMatrix, CellsWithoutANumberAreMissingWhereverTheyLie) {
    // Holes first, last, alone and in rows with no number at all (a
    // delimiter at a line's end opens no field, hence the question).
    EXPECT_EQ(Load(",,\n1,,\n,,2\n,x,\n").Outcome(), "0: . . ./1 . ./. . 2/. . . (1 box)");
    EXPECT_EQ(Load("1 2 3\n4\n\n5 6\n", kSpaces, std::nullopt, {PromptAnswer::Ok}).Outcome(),
              "0: 1 2 3/4 . ./5 6 . (1 box)");
    // A wide matrix, so that the rows of its column-major storage are far apart.
    std::string wide;
    std::string expected;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 40; ++c) {
            wide += (c ? "," : "") + ((c + r) % 3 ? std::to_string(c) : std::string("NA"));
            expected += (c ? " " : (r ? "/" : "")) + ((c + r) % 3 ? std::to_string(c) : ".");
        }
        wide += "\n";
    }
    EXPECT_EQ(Load(wide).Outcome(), "0: " + expected);
}

TEST(AsciiMatrix, DifferentFieldCountsAskToContinue) {
    const std::string text = "1,2\n\n3,4\n";
    const Load ok(text, {}, std::nullopt, {PromptAnswer::Ok});
    ASSERT_EQ(ok.Outcome(), "0: 1 2/3 4 (1 box)");
    EXPECT_EQ(ok.prompt.Last().caption, "Warning");
    EXPECT_EQ(ok.prompt.Last().text,
              "Different text lines have different number of fields\r\nContinue?");
    EXPECT_EQ(ok.prompt.Last().buttons, PromptButtons::OkCancel);
    EXPECT_EQ(Load(text, {}, std::nullopt, {PromptAnswer::Cancel}).Outcome(), "1:  (1 box)");
}

TEST(AsciiMatrix, OneValuePerLine) {
    EXPECT_EQ(Load("2\r\n3\r\n1\n2\nx\n4\n\n6", kLines).Outcome(), "0: 1 2 ./4 0 6");
    EXPECT_EQ(Load("two\n3\n1\n", kLines).result, 1);
    EXPECT_EQ(Load("-5\n3\n1\n", kLines).result, 1);
    // A file that ends early fails; the cells without a line are missing.
    EXPECT_EQ(Load("2\n2\n1\n2\n3\n", kLines).Outcome(), "1: 1 2/3 . (1 box)");
    // Counts far beyond what the file holds fail before anything is
    // allocated (this one would claim 3.2 GB).
    EXPECT_EQ(Load("20000\n20000\n1\n2\n", kLines).Outcome(), "1:  (1 box)");
    // Larger than the screen: asked, Cancel gives up.
    const Load big("2\n3\n1\n2\n3\n4\n5\n6\n", kLines, ScreenSize{100, 2}, {PromptAnswer::Cancel});
    ASSERT_EQ(big.Outcome(), "1:  (1 box)");
    EXPECT_EQ(big.prompt.Last().caption, "Alert");
    EXPECT_EQ(big.prompt.Last().text, "Matrix size exceeds resolution of screen\r\nContnue?");
    EXPECT_THROW(Load("0\n3\n", kLines), WMException);
}

// A count is a 32-bit number: 2^32 is refused, not wrapped to 0.
TEST(AsciiMatrix, CountsEndBelowTwoToTheThirtySecond) {
    const Load huge("4294967296\n1\n1\n", kLines);
    EXPECT_EQ(huge.result, 1);
    ASSERT_EQ(huge.prompt.Count(), 1u);
    EXPECT_EQ(huge.prompt.Last().text, "Line 1 should hold the number of rows, but holds "
                                       "\"4294967296\"\r\nCheck ASCII file");
    // The largest count is taken, and then the file is too short for it.
    const Load largest("4294967295\n1\n1\n", kLines);
    EXPECT_EQ(largest.result, 1);
    EXPECT_EQ(largest.prompt.Last().text.rfind("The counts announce 4294967295 rows", 0), 0u);
}

// A file that cannot be read says which count is wrong and what the file
// holds, not only that it failed.
TEST(AsciiMatrix, OneValuePerLineFailuresSayWhatIsWrong) {
    const auto box = [](const std::string& text) {
        const Load load(text, kLines);
        EXPECT_EQ(load.result, 1) << text;
        return load.prompt.Count() == 1
                   ? load.prompt.Last().caption + ": " + load.prompt.Last().text
                   : std::string("no single box");
    };
    EXPECT_EQ(box("2\n2\n1\n2\n3\n"),
              "Loading ASCII file error: The counts announce 2 rows and 2 columns, 4 values, "
              "but the file holds 3 values after them\r\nCheck ASCII file");
    EXPECT_EQ(box("20000\n20000\n1\n2\n"),
              "Loading ASCII file error: The counts announce 20000 rows and 20000 columns, "
              "400000000 values, but the file holds 2 values after them\r\nCheck ASCII file");
    EXPECT_EQ(box("3\n1\n7"), "Loading ASCII file error: The counts announce 3 rows and 1 "
                              "columns, 3 values, but the file holds 1 value after them"
                              "\r\nCheck ASCII file");
    EXPECT_EQ(box("two\n3\n1\n"), "Loading ASCII file error: Line 1 should hold the number of "
                                  "rows, but holds \"two\"\r\nCheck ASCII file");
    EXPECT_EQ(box("2\n-3\n1\n"), "Loading ASCII file error: Line 2 should hold the number of "
                                 "columns, but holds \"-3\"\r\nCheck ASCII file");
    EXPECT_EQ(box("2"), "Loading ASCII file error: Line 2 should hold the number of columns, "
                        "but holds the end of the file\r\nCheck ASCII file");
}

// Only decimal numbers are values: the words and hexadecimal forms that the
// C library would also convert leave their cells missing.
TEST(AsciiMatrix, OnlyDecimalFormsAreNumbers) {
    EXPECT_EQ(Load("1\n6\ninf\n-infinity\nnan\n0x10\n.5\n5.\n", kLines).Outcome(),
              "0: . . . . 0.5 5");
}

TEST(AsciiMatrix, EmptyFilesAndOverlongNumbers) {
    DMAT matrix(1, 1);
    matrix.Set(0, 0, 9);
    ScriptedPrompt prompt;
    for (const char* text : {"", "\r\n\n", "@ only a comment @"}) {
        EXPECT_EQ(LoadAsciiMatrix(AsciiFormat{}, matrix, text, prompt), 0);
    }
    EXPECT_EQ(MatrixText(matrix), "9");
    EXPECT_EQ(prompt.Count(), 0u);

    const Load longNumber("1," + std::string(ASCIIFile::kMaxNumberText + 1, '7') + "\n");
    ASSERT_EQ(longNumber.Outcome(), "1:  (1 box)");
    EXPECT_EQ(longNumber.prompt.Last().caption, "Loading ASCII file error");
    EXPECT_EQ(Load(std::string(ASCIIFile::kMaxNumberText, '7')).result, 0);
}

TEST(AsciiMatrix, DanishMaleMortality) {
    const Load danish(ReadTestFile(DEMLA_TEST_DATA_DIR "/dk-male-mortality.csv"));
    ASSERT_EQ(danish.result, 0);
    EXPECT_EQ(danish.prompt.Count(), 0u);
    const DMAT& matrix = danish.matrix;
    ASSERT_EQ(matrix.GetRows(), 100u);
    ASSERT_EQ(matrix.GetColumns(), 39u);
    DMAT complete = matrix;
    complete.RemoveRowsWithMissing();
    EXPECT_EQ(complete.GetRows(), 100u);
    EXPECT_EQ(matrix.Get(0, 0), 12.763);
    EXPECT_EQ(matrix.Get(0, 38), 3.38602);
    EXPECT_EQ(matrix.Get(49, 19), 5.25256);
    EXPECT_EQ(matrix.Get(99, 38), 512.727);
}

TEST(AsciiMatrix, DecimalPointDoesNotDependOnLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const Load german("1.5,2\n");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(german.matrix.Get(0, 0), 1.5);
}

} // namespace
