#include "datafiles/LexisTable.h"
#include "datafiles/AsciiMatrix.h"
#include "datafiles/DatafilesTestSupport.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using ::testing::HasSubstr;

namespace {

constexpr const char* kMortalityHead =
    "Denmark, Death rates (period 1x1), \tLast modified: 15 Mar 2023;  Methods Protocol: v6 "
    "(2017)\n\n   Year          Age             Female            Male           Total\n";

struct Read {
    explicit Read(const std::string& text, const std::string& column = "") {
        ok = ReadLexisTable(text, column, table, values, error);
    }
    // "first..last x first..last: matrix", or the error.
    std::string Outcome() const {
        if (!ok) {
            return "error: " + error;
        }
        return std::to_string(table.firstPeriod) + ".." + std::to_string(table.lastPeriod) + " x " +
               std::to_string(table.firstAge) + ".." + std::to_string(table.lastAge) + ": " +
               MatrixText(values);
    }
    bool ok = false;
    LexisTable table;
    DMAT values;
    std::string error;
};

TEST(LexisTable, PeriodTablesGiveAgesByYears) {
    // Unsorted rows, an open age, a missing value and a hole (1951, age 1).
    const Read mortality(std::string(kMortalityHead) +
                         "   1951           0             0.021           0.027         0.024\n"
                         "   1950           0             0.025           0.031         0.028\r\n"
                         "   1950           1             0.002           .             0.0021\n"
                         "   1950         2+              0.5             0.6           0.55\n"
                         "   1951         2+              0.4             0.5           0.45\n"
                         "\n");
    EXPECT_EQ(mortality.Outcome(), "1950..1951 x 0..2: 0.028 0.024/0.0021 ./0.55 0.45");
    EXPECT_EQ(mortality.table.header.layout, LexisLayout::Squares);
    EXPECT_EQ(mortality.table.header.title, "Denmark, Death rates (period 1x1)");
    EXPECT_EQ(mortality.table.valueColumn, "Total");
    EXPECT_EQ(Read(std::string(kMortalityHead) + "1950 0 1 2 3\n", "Male").Outcome(),
              "1950..1950 x 0..0: 2");

    // Fertility rates with their open ages and the flag column, which is
    // no value; a cohort table draws cohorts along the horizontal axis.
    const Read fertility("Denmark, Age-specific fertility rate\tLast modified: 01.02.2023\n\n"
                         "Year Age ASFR OpenInterval\n"
                         "2000 12- 0.00001 TRUE\n2000 13 0.0002 FALSE\n2000 14+ 0.001 TRUE\n");
    EXPECT_EQ(fertility.Outcome(), "2000..2000 x 12..14: 1e-05/0.0002/0.001");
    EXPECT_EQ(fertility.table.valueColumn, "ASFR");
    const Read cohorts("Denmark, Cohort death rates\n\nCohort Age Male\n1900 0 0.1\n1902 0 0.3\n");
    EXPECT_EQ(cohorts.Outcome(), "1900..1902 x 0..0: 0.1 . 0.3");
    EXPECT_EQ(cohorts.table.header.PeriodName(), "Cohort");
}

TEST(LexisTable, TrianglesAndParallelograms) {
    // Two rows per year and age: the lower triangle (cohort year - age)
    // goes first in the matrix whatever the order of the rows; the open
    // age has no cohort and takes its rows in order, lower first.
    const Read lexis("Denmark, Deaths (Lexis triangle)\tLast modified: 15 Mar 2023\n\n"
                     "Year Age Cohort Female Male Total\n"
                     "1950 0 1950 1 2 3\n1950 0 1949 4 5 6\n"
                     "1950 1+ 1948 7 8 9\n1950 1+ 1949 10 11 12\n"
                     "1951 0 1950 13 14 15\n1951 0 1951 16 17 18\n"
                     "1951 1+ . 19 20 21\n1951 1+ . 22 23 24\n");
    EXPECT_EQ(lexis.Outcome(), "1950..1951 x 0..1: 3 6 18 15/12 9 21 24");
    EXPECT_EQ(lexis.table.header.layout, LexisLayout::Triangles);
    EXPECT_EQ(lexis.table.header.ValueColumns(),
              (std::vector<std::string>{"Female", "Male", "Total"}));

    const Read vv("Denmark, ASFR by age reached during the year\n\nYear ARDY ASFR\n"
                  "1990 12- 0.0001\n1990 13 0.002\n1991 12- 0.0003\n1991 13 .\n");
    EXPECT_EQ(vv.Outcome(), "1990..1991 x 12..13: 0.0001 0.0003/0.002 .");
    EXPECT_EQ(vv.table.header.layout, LexisLayout::YearParallelograms);
    EXPECT_EQ(Read("x\n\nCohort ARDY ASFR\n1970 20 0.1\n").table.header.layout,
              LexisLayout::CohortParallelograms);
}

TEST(LexisTable, PopulationKeepsTheYearAfterAChangeOfTerritory) {
    const std::string head = "Denmark, Population size (1-year)\n\nYear Age Female Male Total\n";
    const std::string before = "1959- 0 1 1 100\n";
    const std::string after = "1959+ 0 2 2 200\n";
    EXPECT_EQ(Read(head + before + after).Outcome(), "1959..1959 x 0..0: 200");
    EXPECT_EQ(Read(head + after + before).Outcome(), "1959..1959 x 0..0: 200");
    EXPECT_EQ(Read(head + before).Outcome(), "1959..1959 x 0..0: 100");
    EXPECT_THAT(Read(head + after + after).Outcome(),
                HasSubstr("line 5: Year 1959 and Age 0 appear a second time"));
}

TEST(LexisTable, HeadersAndColumnChoice) {
    std::string error;
    // Names on line 1: a table cut down to its rows is read too.
    const std::optional<LexisTableHeader> bare = ReadLexisTableHeader("Year Age Male\n", error);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->namesLine, 1u);
    EXPECT_EQ(bare->title, "");
    EXPECT_EQ(Read("\xEF\xBB\xBFYear Age Male\n2000 5 1\n").Outcome(), "2000..2000 x 5..5: 1");
    EXPECT_EQ(
        ReadLexisTableHeader("Sweden, Exposure; Last modified: 1 Jan\r\n\r\nYear Age X\r\n", error)
            ->title,
        "Sweden, Exposure");

    EXPECT_EQ(Read(std::string(kMortalityHead) + "1950 0 1 2 3\n", "Age").Outcome(),
              "error: The table has no column of values named \"Age\"; it has Female Male Total");
    EXPECT_EQ(Read("x\n\nYear Age ASFR OpenInterval\n", "OpenInterval").ok, false);
}

TEST(LexisTable, BadTablesAreRefusedNamingTheLine) {
    const std::string head = kMortalityHead;
    const std::string lexisHead = "x\n\nYear Age Cohort Total\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", "The file is empty"},
        {"Denmark, Death rates\n\n", "line 3: the file ends before its column names"},
        {"Denmark\n\nAge Year Total\n",
         "line 3: the column names should begin with Year or Cohort, then Age or ARDY; the "
         "line reads \"Age Year Total\""},
        {"x\n\nYear Age OpenInterval\n",
         "line 3: no column of values follows the columns Year and Age"},
        {head, "line 4: the table ends before its first row of data"},
        // Truncated, mixed layouts, words where numbers belong.
        {head + "1950 0 1 2 3\n1950 1 1 2", "line 5: the row has 4 fields, but line 3 names 5"},
        {head + "1950 0 1950 1 2 3\n", "line 4: the row has 6 fields"},
        {head + "195O 0 1 2 3\n",
         "line 4: the Year \"195O\" is not a whole number such as 1959, 1959- or 1959+"},
        {head + "1950 1-4 1 2 3\n",
         "line 4: the Age \"1-4\" is not a whole number such as 5, 12- or 110+"},
        {head + "1950 -1 1 2 3\n", "line 4: the Age \"-1\" is not"},
        {head + "1950 0 1 2 NA\n", "line 4: the Total value \"NA\" is not a number"},
        {head + "1950 0 1 2 inf\n", "line 4: the Total value \"inf\" is not a number"},
        {head + "1950 0 1 2 3\n1950 0 1 2 3\n", "line 5: Year 1950 and Age 0 appear a second time"},
        {lexisHead + "1950 3 1940 1\n",
         "line 4: the Cohort 1940 is neither Year - Age (1947) nor Year - Age - 1 (1946)"},
        {lexisHead + "1950 3 1947 1\n1950 3 1947 2\n",
         "line 5: Year 1950 and Age 3 give this triangle a second time"},
        {lexisHead + "1950 9+ . 1\n1950 9+ . 2\n1950 9+ . 3\n",
         "line 6: Year 1950 and Age 9 give this triangle a second time"},
        // A damaged year that would make a huge, empty matrix.
        {head + "1950 0 1 2 3\n195000 110 1 2 3\n",
         "line 5: the Years from 1950 (line 4) to 195000 and the ages from 0 to 110 leave most"},
        {std::string("Year Age Male\n1950 0 1\n\x7F"
                     "ELF") +
             std::string("\x02\x01\0\0", 4),
         "line 3: the file holds a zero byte and is not a text table"},
        {std::string(70, '\x01') + "\n\n" + std::string(70, '\xFF') + "\n",
         "line 3: the column names should begin with Year or Cohort, then Age or ARDY; the "
         "line reads \"" +
             std::string(40, '?') + "...\""},
    };
    for (const auto& [text, expected] : cases) {
        const Read read(text);
        EXPECT_FALSE(read.ok) << text;
        EXPECT_THAT(read.error, HasSubstr(expected)) << text;
    }
}

// The example tables were made from the matrices of the other examples:
// every cell must come back where it came from.
TEST(LexisTable, ExampleTablesHoldTheirSourceMatrices) {
    ScriptedPrompt prompt;
    const auto matrix = [&](const char* name) {
        DMAT m;
        EXPECT_EQ(LoadAsciiMatrix(AsciiFormat{}, m,
                                  ReadTestFile(std::string(DEMLA_EXAMPLES_DIR "/") + name), prompt),
                  0);
        return m;
    };
    const auto table = [](const char* name, const char* column) {
        return Read(ReadTestFile(std::string(DEMLA_EXAMPLES_DIR "/") + name), column);
    };
    const DMAT male = matrix("dk-male-mortality.csv");
    const DMAT female = matrix("dk-female-mortality.csv");
    const Read maleTable = table("dk-mortality-Mx_1x1.txt", "Male");
    const Read femaleTable = table("dk-mortality-Mx_1x1.txt", "Female");
    ASSERT_TRUE(maleTable.ok) << maleTable.error;
    EXPECT_EQ(maleTable.Outcome().substr(0, 20), "1974..2012 x 0..99: ");
    const DMAT triangles = matrix("dk-male-person-years-triangles.csv");
    const Read lexis = table("dk-male-exposures-lexis.txt", "Male");
    ASSERT_TRUE(lexis.ok) << lexis.error;
    EXPECT_EQ(lexis.table.firstPeriod, 1971);
    EXPECT_EQ(lexis.table.header.layout, LexisLayout::Triangles);
    const std::pair<const DMAT*, const DMAT*> pairs[] = {
        {&male, &maleTable.values}, {&female, &femaleTable.values}, {&triangles, &lexis.values}};
    for (const auto& [source, read] : pairs) {
        ASSERT_EQ(read->GetRows(), source->GetRows());
        ASSERT_EQ(read->GetColumns(), source->GetColumns());
        // Rates per 1000 person-years became rates per person-year.
        const double factor = source == &triangles ? 1.0 : 1000.0;
        for (std::uint32_t r = 0; r < source->GetRows(); ++r) {
            for (std::uint32_t c = 0; c < source->GetColumns(); ++c) {
                ASSERT_NEAR(read->Get(r, c) * factor, source->Get(r, c), 1e-9 * source->Get(r, c))
                    << r << "," << c;
            }
        }
    }
}

} // namespace
