#include "document/ChartDocument.h"
#include "document/DerivedDefaults.h"
#include "render/CCSystem.h"
#include "render/PageCoordinateSystem.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFile.h"
#include "view/MonitorMode.h"
#include "view/StatusTexts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

constexpr const char* kTable = "Denmark, Death rates (period 1x1)\tLast modified: 1 Jan 2024\n\n"
                               "Year Age Female Male\n"
                               "2000 0 0.004 0.005\n2000 1 0.0005 0.001\n"
                               "2001 0 0.002 0.003\n2001 1 0.0004 .\n";

// Two 2 x 3 matrices in their own files beside the setup file.
class DerivedDocument : public ::testing::Test {
protected:
    DerivedDocument() {
        folder.Write("a.csv", "1,2,4\r\n8,NA,0\r\n");
        folder.Write("b.csv", "2,0,4\r\n4,1,5\r\n");
    }
    bool Open(const std::string& setup) {
        folder.Write("map.dml", setup);
        return document.Open(folder / "map.dml");
    }
    std::string Saved() {
        document.SetPath(folder / "saved.dml");
        EXPECT_TRUE(document.Save());
        return ReadTestFile(folder / "saved.dml");
    }

    TempTestFolder folder;
    ScriptedPrompt prompt;
    ChartDocument document{prompt};
};

TEST_F(DerivedDocument, ARatioMapShowsAOverBAndKeepsBothForTheReadout) {
    ASSERT_TRUE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n[DATA.DERIVED]\r\nOperation=ratio;\r\n"
                     "SecondMatrix=b.csv;\r\n[MAP.SCALE]\r\nMapScale={0.5 1.5};\r\n"));
    EXPECT_EQ(prompt.Count(), 0u);
    const DMAT& data = document.DataMatrix;
    EXPECT_DOUBLE_EQ(data.Get(0, 0), 0.5);
    EXPECT_TRUE(data.IsMissing(0, 1)); // 2 / 0
    EXPECT_DOUBLE_EQ(data.Get(0, 2), 1);
    EXPECT_DOUBLE_EQ(data.Get(1, 0), 2);
    EXPECT_TRUE(data.IsMissing(1, 1)); // NA / 1
    EXPECT_DOUBLE_EQ(data.Get(1, 2), 0);
    // The classes are those of the ratio: 2 lies above both boundaries.
    EXPECT_EQ(document.LevelMatrix.Get(1, 0), 2u);
    EXPECT_EQ(document.OriginalMatrix.Get(1, 0), 8);
    EXPECT_EQ(document.SecondMatrix->Get(1, 0), 4);
    EXPECT_EQ(DerivedSourceText(document, 1, 0), "[8 / 4]");
    EXPECT_EQ(DerivedSourceText(document, 1, 1), "[NA / 1]");
    // Saving never writes over the second matrix either.
    EXPECT_THAT(document.GetSources().readFiles, ::testing::Contains(folder / "b.csv"));
}

TEST_F(DerivedDocument, ASecondMatrixOfAnotherShapeIsADataErrorNamingBoth) {
    folder.Write("c.csv", "1,2\r\n3,4\r\n5,6\r\n");
    EXPECT_FALSE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n[DATA.DERIVED]\r\nOperation=difference;\r\n"
                      "SecondMatrix=c.csv;\r\n"));
    ASSERT_EQ(prompt.Count(), 1u);
    EXPECT_EQ(prompt.Last().caption, "Error");
    EXPECT_EQ(prompt.Last().text,
              "The second matrix (c.csv) has 3 rows x 2 columns, but the map's matrix has "
              "2 rows x 3 columns: a difference needs two matrices of the same shape.");
}

TEST_F(DerivedDocument, AMissingSecondFileIsReportedLikeTheDataFile) {
    prompt.Then(PromptAnswer::Cancel);
    EXPECT_FALSE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n[DATA.DERIVED]\r\nOperation=ratio;\r\n"
                      "SecondMatrix=gone.csv;\r\n"));
    EXPECT_THAT(prompt.Last().text, HasSubstr("Cannot open data file: gone.csv"));
}

TEST_F(DerivedDocument, AColumnOfTheSameTableIsTheSecondMatrixWithoutASecondFile) {
    folder.Write("Mx_1x1.txt", kTable);
    ASSERT_TRUE(Open("[DATA]\r\nMapMatrix=Mx_1x1.txt;\r\nFormat=HMD;\r\nValueColumn=Male;\r\n"
                     "[DATA.DERIVED]\r\nOperation=ratio;\r\nSecondValueColumn=Female;\r\n"));
    EXPECT_EQ(prompt.Count(), 0u);
    // Rows are ages, columns years: age 0 in 2000 is 0.005 / 0.004.
    EXPECT_DOUBLE_EQ(document.DataMatrix.Get(0, 0), 1.25);
    EXPECT_DOUBLE_EQ(document.DataMatrix.Get(1, 0), 2);
    EXPECT_DOUBLE_EQ(document.DataMatrix.Get(0, 1), 1.5);
    EXPECT_TRUE(document.DataMatrix.IsMissing(1, 1)); // "." for men aged 1 in 2001
    EXPECT_EQ(DerivedTitle(document), "Ratio of Male to Female, Mx_1x1");
}

// A new map of a derivation: its title says what it shows, its scale
// suits the operation and its colours diverge.
TEST_F(DerivedDocument, AGeneratedDerivedMapGetsItsTitleScaleAndColours) {
    folder.Write("Mx_1x1.txt", kTable);
    document.GeneratedSetup = true;
    ASSERT_TRUE(Open("[DATA]\r\nMapMatrix=Mx_1x1.txt;\r\nFormat=HMD;\r\nValueColumn=Male;\r\n"
                     "[DATA.DERIVED]\r\nOperation=improvement;\r\n"));
    EXPECT_EQ(DerivedTitle(document), "Annual rate of improvement of Male, Mx_1x1");
    // -ln(0.003 / 0.005) = 0.51 is the only value: 80 % of it over 4 steps
    // is 0.102, just beyond a step of 0.1, so the step is 0.2.
    ASSERT_EQ(document.BoundaryCount(), 9u);
    EXPECT_EQ(document.ScaleValues.Get(4, 0), 0);
    EXPECT_NEAR(document.ScaleValues.Get(5, 0), 0.2, 1e-12);
    EXPECT_EQ(document.Legend.GetTickFormat(), "F1");
    // Falling rates are blue: the top level is the blue end of Blue-Red.
    const LRGBColor top = document.LevelColors.Level(9);
    EXPECT_GT((top >> 16) & 0xFF, top & 0xFF);
    EXPECT_EQ(document.MissingColor, 0xC0C0C0u);
    EXPECT_EQ(document.LevelColors.Missing(), 0xC0C0C0u);

    ScriptedPrompt own;
    ChartDocument ratio(own);
    ratio.GeneratedSetup = true;
    folder.Write("ratio.dml",
                 "[DATA]\r\nMapMatrix=Mx_1x1.txt;\r\nFormat=HMD;\r\nValueColumn=Male;\r\n"
                 "[DATA.DERIVED]\r\nOperation=ratio;\r\nSecondValueColumn=Female;\r\n");
    ASSERT_TRUE(ratio.Open(folder / "ratio.dml"));
    EXPECT_EQ(ratio.ScaleValues.Get(4, 0), 1);
    // Ratios above 1 are red, the high end of Blue-Red.
    const LRGBColor high = ratio.LevelColors.Level(9);
    EXPECT_GT(high & 0xFF, (high >> 16) & 0xFF);
    EXPECT_EQ(ratio.Legend.GetTickFormat(), "F2");
}

TEST_F(DerivedDocument, TablesOfOtherYearsAreRefusedEvenWhenShapedAlike) {
    folder.Write("Mx_1x1.txt", kTable);
    std::string later = kTable;
    for (std::size_t at = later.find("200"); at != std::string::npos; at = later.find("200", at)) {
        later.replace(at, 4, later.substr(at, 4) == "2000" ? "2010" : "2011");
    }
    folder.Write("later.txt", later);
    EXPECT_FALSE(Open("[DATA]\r\nMapMatrix=Mx_1x1.txt;\r\nFormat=HMD;\r\n"
                      "[DATA.DERIVED]\r\nOperation=difference;\r\nSecondMatrix=later.txt;\r\n"
                      "SecondFormat=HMD;\r\n"));
    EXPECT_THAT(prompt.Last().text,
                HasSubstr("covers Year 2010-2011, ages 0-1, but the map's matrix covers "
                          "Year 2000-2001, ages 0-1"));
}

TEST_F(DerivedDocument, KeysOutsideTheirRangeEndTheLoadWithAMessage) {
    const char* sections[] = {"Operation=quotient;",
                              "Lag=1;",
                              "Operation=improvement;\r\nLag=0;",
                              "Operation=improvement;\r\nLag=1.5;",
                              "Operation=smooth;\r\nHalfWidth=-1;",
                              "Operation=ratio;\r\nSecondMatrix=b.csv;\r\nSecondFormat=Excel;"};
    for (const char* keys : sections) {
        ScriptedPrompt own;
        ChartDocument other(own);
        folder.Write("map.dml",
                     std::string("[DATA]\r\nMapMatrix=a.csv;\r\n[DATA.DERIVED]\r\n") + keys);
        EXPECT_FALSE(other.Open(folder / "map.dml")) << keys;
        ASSERT_EQ(own.Count(), 1u) << keys;
        EXPECT_THAT(own.Last().text, HasSubstr("[DATA.DERIVED] ")) << keys;
    }
    // The boundaries themselves are taken: a lag of 1 and a half-width of 0.
    EXPECT_TRUE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n[DATA.DERIVED]\r\nOperation=smooth;\r\n"
                     "HalfWidth=0;\r\n"));
    EXPECT_EQ(document.DataMatrix.Get(1, 0), 8);
    EXPECT_TRUE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n[DATA.DERIVED]\r\nOperation=improvement;\r\n"
                     "Lag=1;\r\n"));
    EXPECT_DOUBLE_EQ(document.DataMatrix.Get(0, 1), -std::log(2.0));
}

TEST_F(DerivedDocument, SavingWritesTheSectionBackAndReloadingDerivesTheSame) {
    folder.Write("sub/b 2.csv", "2,0,4\r\n4,1,5\r\n");
    ASSERT_TRUE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n[DATA.DERIVED]\r\nOperation=ratio;\r\n"
                     "SecondMatrix=\"sub/b 2.csv\";\r\nSecondFormat=ASCII;\r\n"
                     "SecondAsciiFormat={ comma, crlf };\r\nLag=4;\r\n"));
    const DerivedSetup before = *document.Derived;
    const std::string text = Saved();
    EXPECT_THAT(text, HasSubstr("[DATA.DERIVED]\r\nOperation=ratio;\r\n"
                                "SecondMatrix=\"sub/b 2.csv\";\r\nSecondFormat=ASCII;\r\n"
                                "SecondAsciiFormat={ comma, crlf };\r\n\r\n[PLOT.FRAME]"));
    // A lag means nothing to a ratio and is not written.
    EXPECT_THAT(text, Not(HasSubstr("Lag=")));

    ScriptedPrompt quiet;
    ChartDocument reloaded(quiet);
    ASSERT_TRUE(reloaded.Open(folder / "saved.dml"));
    EXPECT_EQ(quiet.Count(), 0u);
    ASSERT_TRUE(reloaded.Derived);
    EXPECT_TRUE(reloaded.Derived->SameAs(before));
    EXPECT_DOUBLE_EQ(reloaded.DataMatrix.Get(1, 0), 2);
    EXPECT_EQ(ReadTestFile(folder / "saved.dml"), text);
}

TEST_F(DerivedDocument, AFileWithoutTheSectionSavesWithoutIt) {
    ASSERT_TRUE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n"));
    EXPECT_FALSE(document.Derived);
    EXPECT_TRUE(document.OriginalMatrix.IsEmpty());
    EXPECT_EQ(document.DataMatrix.Get(1, 0), 8);
    const std::string text = Saved();
    EXPECT_THAT(text, Not(HasSubstr("DERIVED")));
    EXPECT_THAT(text, Not(HasSubstr("Cohort")));
    // Loading a file with the section and then one without leaves no trace
    // of the first derivation.
    ASSERT_TRUE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n[DATA.DERIVED]\r\nOperation=smooth;\r\n"));
    EXPECT_TRUE(document.Derived);
    ASSERT_TRUE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n"));
    EXPECT_FALSE(document.Derived);
    EXPECT_EQ(document.DataMatrix.Get(1, 0), 8);
}

TEST_F(DerivedDocument, AMonitorReloadDerivesFromTheNewData) {
    ASSERT_TRUE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n[DATA.DERIVED]\r\nOperation=difference;\r\n"
                     "SecondMatrix=b.csv;\r\n[MAP.SCALE]\r\nMapScale={0 1};\r\n"));
    EXPECT_DOUBLE_EQ(document.DataMatrix.Get(1, 0), 4);
    folder.Write("a.csv", "1,2,4\r\n10,NA,0\r\n");
    folder.Write("b.csv", "2,0,4\r\n3,1,5\r\n");
    const MonitorReload reload = ReloadWithoutQuestions(document, true);
    ASSERT_TRUE(reload.loaded) << reload.failure;
    EXPECT_DOUBLE_EQ(document.DataMatrix.Get(1, 0), 7);
    EXPECT_EQ(document.OriginalMatrix.Get(1, 0), 10);
    EXPECT_EQ(document.LevelMatrix.Get(1, 0), 2u);
    // A second matrix that no longer fits fails the reload and keeps the map.
    folder.Write("b.csv", "1,2\r\n");
    EXPECT_FALSE(ReloadWithoutQuestions(document, true).loaded);
    EXPECT_DOUBLE_EQ(document.DataMatrix.Get(1, 0), 7);
}

TEST_F(DerivedDocument, TheReadoutQuotesTheValuesBehindADerivedCell) {
    ASSERT_TRUE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n[DATA.DERIVED]\r\nOperation=ratio;\r\n"
                     "SecondMatrix=b.csv;\r\n[MAP.SCALE]\r\nMapScale={0.5 1.5};\r\n"));
    PlotFrame& frame = document.Frame;
    frame.x1 = 2000;
    frame.x2 = 2003;
    frame.y1 = 0;
    frame.y2 = 2;
    frame.xOrigin = 500;
    frame.yOrigin = 500;
    frame.xSize = 1500;
    frame.ySize = 1000;
    const PageCoordinateSystem page(0, 2970, 0, 2100, 0, 2970, 2100, 0);
    const CCSystem plot(2000, 2003, 0, 2, 500, 2000, 500, 1500, page);
    const auto at = [&](double x, double y) {
        const DoublePoint device = plot.DataToDevice(x, y);
        return IntPoint{static_cast<std::int32_t>(std::lround(device.x)),
                        static_cast<std::int32_t>(std::lround(device.y))};
    };
    // Row 0 is drawn at the bottom: (2000.5, 1.5) is row 1, column 0.
    EXPECT_EQ(MapStatusAt(document, page, at(2000.5, 1.5))[1], "v=2 (2) [8 / 4]");
    EXPECT_EQ(MapStatusAt(document, page, at(2000.5, 0.5))[1], "v=0.5 (0) [1 / 2]");
    EXPECT_EQ(MapStatusAt(document, page, at(2001.5, 0.5))[1], "v=NA (3) [2 / 0]");
}

TEST_F(DerivedDocument, CohortLineKeysComeBackAsTheyWereWritten) {
    ASSERT_TRUE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n[MAP.ATTRIBUTES]\r\nCohortLinesStep=5;\r\n"
                     "CohortLinesFirst=1882.5;\r\nCohortLinesColor=255;\r\n"));
    ASSERT_TRUE(document.CohortLines);
    EXPECT_TRUE(document.CohortLines->on);
    EXPECT_EQ(document.CohortLines->step, 5);
    EXPECT_EQ(document.CohortLines->first, 1882.5);
    EXPECT_EQ(document.CohortLines->color, 255u);
    document.CohortLines->on = false;
    const CohortLineSettings before = *document.CohortLines;
    EXPECT_THAT(Saved(), HasSubstr("CohortLines=No;\r\nCohortLinesStep=5;\r\n"
                                   "CohortLinesFirst=1882.5;\r\nCohortLinesWidth=3.00;\r\n"
                                   "CohortLinesStyle=0;\r\nCohortLinesColor=255;\r\n"));
    ScriptedPrompt quiet;
    ChartDocument reloaded(quiet);
    ASSERT_TRUE(reloaded.Open(folder / "saved.dml"));
    EXPECT_EQ(reloaded.CohortLines, before);
    // A step of 0 would draw nothing or everything: it is refused, and
    // the map keeps its lines.
    EXPECT_TRUE(Open("[DATA]\r\nMapMatrix=a.csv;\r\n[MAP.ATTRIBUTES]\r\nCohortLinesStep=0;\r\n"));
    EXPECT_THAT(prompt.Last().text, HasSubstr("CohortLinesStep"));
}

TEST(DerivedScales, ARatioScaleIsSymmetricAboutOneInEqualFactors) {
    // Ratios 1.1^i and their reciprocals for i = 0 .. 9, a wild 100 and a 0
    // that has no logarithm. The 90 % quantile of the 21 |ln| values (the
    // 19th smallest) is ln 1.1^9 = ln 2.36: 80 % of it over 4 steps is
    // 0.172, which 2^(1/4) (ln = 0.173) just reaches.
    DMAT data(1, 22);
    for (std::uint32_t c = 0; c < 20; ++c) {
        data.Set(0, c, std::pow(1.1, c < 10 ? c : -(static_cast<double>(c) - 10)));
    }
    data.Set(0, 20, 100);
    data.Set(0, 21, 0); // no logarithm: left out
    DMAT scale;
    ASSERT_TRUE(MakeSymmetricRatioScale(data, scale));
    ASSERT_EQ(scale.GetRows(), 9u);
    EXPECT_EQ(scale.Get(4, 0), 1);
    for (std::uint32_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(scale.Get(8 - i, 0) * scale.Get(i, 0), 1, 1e-12);
        EXPECT_NEAR(scale.Get(i + 1, 0) / scale.Get(i, 0), std::exp2(0.25), 1e-12);
    }
    EXPECT_NEAR(scale.Get(8, 0), 2, 1e-12);
    // A little further (1.1^9.2) and the next root, 2^(1/2), is needed.
    data.Set(0, 9, std::pow(1.1, 9.2));
    data.Set(0, 19, std::pow(1.1, -9.2));
    data.Set(0, 18, std::pow(1.1, -9.2));
    ASSERT_TRUE(MakeSymmetricRatioScale(data, scale));
    EXPECT_NEAR(scale.Get(8, 0), 4, 1e-12);
    DMAT none(1, 1);
    none.SetMissing(0, 0);
    EXPECT_FALSE(MakeSymmetricRatioScale(none, scale));
}

TEST(DerivedScales, ADifferenceScaleStepsEvenlyAboutZero) {
    // Ten values, |v| up to 0.1: the 9th of 10 by size is 0.08; 80 % of it
    // over 4 steps is 0.016, and the step is 0.02, the first of 1, 2, 2.5,
    // 5 x 10^n that reaches it.
    DMAT data(1, 10);
    const double values[] = {-0.08, -0.03, 0, 0.01, 0.02, 0.05, 0.07, -0.065, 0.1, 0.075};
    for (std::uint32_t c = 0; c < 10; ++c) {
        data.Set(0, c, values[c]);
    }
    DMAT scale;
    ASSERT_TRUE(MakeSymmetricDifferenceScale(data, scale));
    ASSERT_EQ(scale.GetRows(), 9u);
    EXPECT_EQ(scale.Get(4, 0), 0);
    EXPECT_NEAR(scale.Get(0, 0), -0.08, 1e-12);
    EXPECT_NEAR(scale.Get(8, 0), 0.08, 1e-12);
    // Exactly 0.1 at the quantile: 0.02 is reached exactly and kept.
    data.Set(0, 0, 0.1);
    ASSERT_TRUE(MakeSymmetricDifferenceScale(data, scale));
    EXPECT_NEAR(scale.Get(8, 0), 0.08, 1e-12);
    // Just beyond it, the step is 0.025.
    data.Set(0, 0, 0.1001);
    data.Set(0, 8, 0.1001);
    ASSERT_TRUE(MakeSymmetricDifferenceScale(data, scale));
    EXPECT_NEAR(scale.Get(8, 0), 0.1, 1e-12);
}

} // namespace
