#include "document/ChartDocument.h"
#include "document/DocumentTestSupport.h"
#include "document/LexisDefaults.h"
#include "document/MapTypes.h"
#include "document/NewSetup.h"
#include "scale/MapScale.h"
#include "support/ScriptedPrompt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;

namespace {

constexpr const char* kRates = "Sweden, Death rates (period 1x1)\tLast modified: 1 Jan 2024\n\n"
                               "Year Age Female Male Total\n"
                               "2000 0 0.003 0.004 0.0035\n2000 1+ 0.5 0.9 0.7\n"
                               "2001 0 0.002 0.003 0.0025\n2001 1+ 0.4 0.8 0.6\n";
constexpr const char* kLexisDeaths =
    "Sweden, Deaths (Lexis triangle)\tLast modified: 1 Jan 2024\n\n"
    "Year Age Cohort Total\n"
    "2000 0 2000 100\n2000 0 1999 20\n"
    "2000 1 1999 5\n2000 1 1998 4\n";
constexpr const char* kFertilityVV = "Sweden, ASFR (VV)\n\nYear ARDY ASFR\n"
                                     "1990 12- 0.0001\n1990 13 0.002\n1990 14 0.01\n"
                                     "1991 12- 0.0001\n1991 13 0.003\n1991 14 0.02\n";

std::string Lines(MList<WText>& lines) {
    std::string text;
    const std::uint32_t count = lines.GetCount();
    lines.GoHead();
    for (std::uint32_t i = 0; i < count; ++i) {
        text += (i ? "|" : "") + lines.GetCurrent()->text;
        lines.GoNext();
    }
    return text;
}

std::string Boundaries(const DMAT& scale) {
    std::string text;
    for (std::uint32_t i = 0; i < BoundaryCount(scale); ++i) {
        text += (i ? " " : "") + FormatDoubleC("%g", scale.Get(i, 0));
    }
    return text;
}

struct TableDocument {
    // Writes the table and a setup file with the given [DATA] lines after
    // MapMatrix, then opens it, generated when asked.
    TableDocument(const std::string& table, const std::string& dataLines, bool generated = false) {
        folder.Write("table.txt", table);
        setup = folder.Write("map.dml", "[DATA]\nMapMatrix=table.txt;\n" + dataLines);
        document.GeneratedSetup = generated;
        opened = document.Open(setup);
        document.GeneratedSetup = false;
    }
    TempTestFolder folder;
    std::string setup;
    ScriptedPrompt prompt;
    ChartDocument document{prompt};
    bool opened = false;
};

TEST(LexisDocument, LoadsTheValueColumnAndSavesItsKeysBack) {
    TableDocument male(kRates, "Format=HMD;\nValueColumn=Male;\n");
    ASSERT_TRUE(male.opened);
    EXPECT_EQ(male.prompt.Count(), 0u);
    EXPECT_EQ(male.document.DataFormat, kLexisTableFormat);
    EXPECT_EQ(MatrixText(male.document.DataMatrix), "0.004 0.003/0.9 0.8");
    ASSERT_TRUE(male.document.Table);
    EXPECT_EQ(male.document.Table->firstPeriod, 2000);
    ASSERT_TRUE(male.document.Save());
    EXPECT_THAT(
        ReadTestFile(male.setup),
        HasSubstr("[DATA]\r\nMapMatrix=table.txt;\r\nFormat=HMD;\r\nValueColumn=Male;\r\n\r\n"
                  "[PLOT.FRAME]"));

    // Without a column the last one is shown, and saving names it.
    TableDocument total(kRates, "Format=HMD;\n");
    ASSERT_TRUE(total.opened);
    EXPECT_EQ(MatrixText(total.document.DataMatrix), "0.0035 0.0025/0.7 0.6");
    ASSERT_TRUE(total.document.Save());
    EXPECT_THAT(ReadTestFile(total.setup), HasSubstr("Format=HMD;\r\nValueColumn=Total;\r\n"));
    ASSERT_TRUE(total.document.Open());
    EXPECT_EQ(total.document.ValueColumn, "Total");
}

TEST(LexisDocument, TablesThatCannotBeReadEndTheOpenWithAMessage) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string(kRates) + "2001 x 1 2 3\n", "line 8: the Age \"x\" is not a whole number"},
        {kRates + std::string("ValueColumn"), "line 8: the row has 1 fields"},
    };
    for (const auto& [table, expected] : cases) {
        TableDocument bad(table, "Format=HMD;\n");
        EXPECT_FALSE(bad.opened);
        ASSERT_EQ(bad.prompt.Count(), 1u);
        EXPECT_EQ(bad.prompt.Last().caption, "Error");
        EXPECT_THAT(bad.prompt.Last().text, HasSubstr("Cannot read the table "));
        EXPECT_THAT(bad.prompt.Last().text, HasSubstr("table.txt\r\n" + expected));
        EXPECT_TRUE(bad.document.DataMatrix.IsEmpty());
    }
    TableDocument unknown(kRates, "Format=HMD;\nValueColumn=Both;\n");
    EXPECT_FALSE(unknown.opened);
    EXPECT_THAT(unknown.prompt.Last().text,
                HasSubstr("The table has no column of values named \"Both\"; it has Female Male "
                          "Total"));
    // Without Format the file is a matrix of text, as before.
    TableDocument ascii("1,2\n", "");
    EXPECT_TRUE(ascii.opened);
    EXPECT_EQ(ascii.document.DataFormat, kAsciiFormat);
}

TEST(LexisDocument, GeneratedMapsTakeTheShapeAndRangesOfTheTable) {
    TableDocument rates(kRates, "Format=HMD;\nValueColumn=Male;\n", true);
    ASSERT_TRUE(rates.opened);
    ChartDocument& squares = rates.document;
    EXPECT_EQ(squares.MapType, RectangleMap);
    EXPECT_EQ(squares.Frame.x1, 2000);
    EXPECT_EQ(squares.Frame.x2, 2002);
    EXPECT_EQ(squares.Frame.y1, 0);
    EXPECT_EQ(squares.Frame.y2, 2);
    EXPECT_EQ(Lines(squares.Frame.title), "Sweden, Death rates (period 1x1)");
    EXPECT_EQ(Lines(squares.Frame.xLabel), "Year");
    EXPECT_EQ(Lines(squares.Frame.yLabel), "Age");
    EXPECT_EQ(Lines(squares.Frame.xTickLabels), "2000|2002");
    // Rates from 0.003 to 0.9 double from 2^-9 to 2^-1.
    EXPECT_EQ(Boundaries(squares.ScaleValues),
              "0.00195312 0.00390625 0.0078125 0.015625 0.03125 0.0625 0.125 0.25 0.5");
    EXPECT_EQ(squares.LevelMatrix.Get(0, 0), 2); // 0.004 is above 2^-8
    EXPECT_EQ(squares.LevelColors.GetCount(), squares.BoundaryCount() + 2);
    EXPECT_EQ(squares.Legend.GetTickFormat(), "G3");

    // Counts keep the automatic scale.
    TableDocument deaths(kLexisDeaths, "Format=HMD;\n", true);
    ASSERT_TRUE(deaths.opened);
    EXPECT_EQ(deaths.document.MapType, TriangleMap);
    EXPECT_EQ(MatrixText(deaths.document.DataMatrix), "100 20/5 4");
    EXPECT_EQ(deaths.document.Frame.x2, 2001);
    // Four counts for nine levels: every quantile is the smallest count,
    // one boundary.
    EXPECT_EQ(deaths.document.BoundaryCount(), 1u);

    // Parallelograms reach one year of age below the first age reached.
    TableDocument vv(kFertilityVV, "Format=HMD;\n", true);
    ASSERT_TRUE(vv.opened);
    EXPECT_EQ(vv.document.MapType, VParallelogramMap);
    EXPECT_EQ(vv.document.Frame.y1, 11);
    EXPECT_EQ(vv.document.Frame.y2, 15);
    EXPECT_EQ(vv.document.Legend.GetTickFormat(), "G3");
    TableDocument empty("Year Age Male\n", "Format=HMD;\n", true);
    EXPECT_FALSE(empty.opened);
    TableDocument byCohort("Cohort ARDY ASFR\n1970 20 0.1\n", "Format=HMD;\n", true);
    ASSERT_TRUE(byCohort.opened);
    EXPECT_EQ(byCohort.document.MapType, VLParallelogramMap);
    // Without a description the value column is the title.
    EXPECT_EQ(Lines(byCohort.document.Frame.title), "ASFR");
    EXPECT_EQ(Lines(byCohort.document.Frame.xLabel), "Cohort");
}

TEST(LexisDocument, DoublingScalesAndTheirLabels) {
    const auto doubling = [](std::vector<double> values) {
        DMAT data(1, static_cast<std::uint32_t>(values.size()));
        for (std::uint32_t i = 0; i < values.size(); ++i) {
            data.Set(0, i, values[i]);
        }
        DMAT scale(1, 1);
        scale.Set(0, 0, 42);
        return MakeDoublingScale(data, scale) ? Boundaries(scale) : "none: " + Boundaries(scale);
    };
    EXPECT_EQ(doubling({0.3, 0, DMAT::MissingValue(), 1.5}), "0.25 0.5 1");
    // A power of two is not below itself.
    EXPECT_EQ(doubling({0.25, 0.26}), "0.125 0.25");
    EXPECT_EQ(doubling({9.99, 2}), "1 2 4 8");
    EXPECT_EQ(doubling({10, 2}), "none: 42");
    EXPECT_EQ(doubling({-0.1, 2}), "none: 42");
    EXPECT_EQ(doubling({0, DMAT::MissingValue()}), "none: 42");

    const auto format = [](double smallest) {
        DMAT scale(2, 1);
        scale.Set(0, 0, smallest);
        scale.Set(1, 0, 1e6);
        return ScaleTickFormat(scale);
    };
    EXPECT_EQ(format(0.0005), "G3");
    EXPECT_EQ(format(0.0012), "G3");
    EXPECT_EQ(format(0.05), "F4");
    EXPECT_EQ(format(2.5), "F2");
    EXPECT_EQ(format(1283), "F0");
    // Zero boundaries do not count.
    EXPECT_EQ(format(0), "F0");
}

TEST(LexisDocument, GeneratedSetupTextNamesTheColumn) {
    std::string error;
    EXPECT_EQ(GeneratedSetupText("/d/Mx_1x1.txt", kLexisTableFormat, {}, &error, "Male"),
              "[DATA]\nMapMatrix=/d/Mx_1x1.txt;\nFormat=HMD;\nValueColumn=Male;\n");
    EXPECT_EQ(GeneratedSetupText("/d/t.txt", kLexisTableFormat, {}, &error, "a;b"),
              "[DATA]\nMapMatrix=/d/t.txt;\nFormat=HMD;\nValueColumn=\"a;b\";\n");
    EXPECT_FALSE(GeneratedSetupText("/d/t.txt", kLexisTableFormat, {}, &error, "say \"x\""));
    EXPECT_EQ(error, "The value column cannot be named in a setup file: its name holds a double "
                     "quote\r\nsay \"x\"");
}

} // namespace
