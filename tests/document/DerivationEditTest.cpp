#include "document/ChartDocument.h"
#include "document/DocumentWriters.h"
#include "document/EditSnapshot.h"
#include "document/NewMap.h"
#include "scale/DistinctLevels.h"
#include "scale/MapScale.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFile.h"
#include "view/MonitorMode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

constexpr const char* kTable = "Denmark, Death rates (period 1x1)\tLast modified: 1 Jan 2024\n\n"
                               "Year Age Female Male Total\n"
                               "2000 0 0.004 0.005 0.0045\n2000 1 0.0005 0.001 0.00075\n"
                               "2001 0 0.002 0.003 0.0025\n2001 1 0.0004 . 0.0004\n";

// A 2 x 3 map of a.csv beside b.csv (its shape) and c.csv (another).
class DerivationEdit : public ::testing::Test {
protected:
    DerivationEdit() {
        folder.Write("a.csv", "1,2,4\r\n8,NA,0\r\n");
        folder.Write("b.csv", "2,0,4\r\n4,1,5\r\n");
        folder.Write("c.csv", "1,2\r\n3,4\r\n");
        folder.Write("map.dml",
                     "[DATA]\r\nMapMatrix=a.csv;\r\n[MAP.SCALE]\r\nMapScale={0.5 1.5};\r\n");
        EXPECT_TRUE(document.Open(folder / "map.dml"));
    }
    std::string SavedText() {
        std::string reason;
        const std::optional<std::string> text = SetupTextForSave(document, &reason);
        EXPECT_TRUE(text) << reason;
        return text.value_or("");
    }
    DerivationChoice Ratio(const std::string& second) {
        DerivationChoice choice;
        choice.secondPath = folder / second;
        return choice;
    }

    TempTestFolder folder;
    ScriptedPrompt prompt;
    ChartDocument document{prompt};
};

bool SameMatrix(const DMAT& a, const DMAT& b) {
    if (a.GetRows() != b.GetRows() || a.GetColumns() != b.GetColumns()) {
        return false;
    }
    for (std::uint32_t i = 0; i < a.GetRows(); ++i) {
        for (std::uint32_t j = 0; j < a.GetColumns(); ++j) {
            const bool bothMissing = a.IsMissing(i, j) && b.IsMissing(i, j);
            if (!bothMissing && !(a.Get(i, j) == b.Get(i, j))) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

// Edit Derived Data from the data as they are to a ratio, then to an
// improvement, each taken back: every step gives back the same saved text
// and the same matrix and classes, and B is shared, not copied.
TEST_F(DerivationEdit, UndoOfEachDerivationGivesBackTheSameSavedTextAndMatrix) {
    const std::string plain = SavedText();
    const DMAT plainData = document.DataMatrix;
    const MapEditState none = CaptureEditState(document);

    ASSERT_TRUE(ApplyDerivationChoice(document, Ratio("b.csv"), false));
    EXPECT_DOUBLE_EQ(document.DataMatrix.Get(1, 0), 2); // 8 / 4
    EXPECT_TRUE(document.DataMatrix.IsMissing(0, 1));   // 2 / 0
    EXPECT_EQ(document.LevelMatrix.Get(1, 0), 2u);      // above 1.5
    EXPECT_TRUE(SameMatrix(document.OriginalMatrix, plainData));
    const std::string ratio = SavedText();
    EXPECT_THAT(ratio, HasSubstr("[DATA.DERIVED]\r\nOperation=ratio;\r\nSecondMatrix="));
    const DMAT ratioData = document.DataMatrix;
    const MapEditState ratioState = CaptureEditState(document);
    EXPECT_FALSE(ratioState.SameAs(none));
    const DMAT* shared = document.SecondMatrix.get();

    DerivationChoice improvement;
    improvement.operation = DeriveOperation::Improvement;
    improvement.lag = 2;
    ASSERT_TRUE(ApplyDerivationChoice(document, improvement, true));
    EXPECT_TRUE(document.DataMatrix.IsMissing(0, 1)); // the first two columns
    EXPECT_NEAR(document.DataMatrix.Get(0, 2), -std::log(4.0 / 1.0) / 2, 1e-12);
    EXPECT_EQ(document.SecondMatrix, nullptr);
    EXPECT_NE(SavedText(), ratio);

    RestoreEditState(document, ratioState);
    EXPECT_EQ(SavedText(), ratio);
    EXPECT_TRUE(SameMatrix(document.DataMatrix, ratioData));
    EXPECT_EQ(document.SecondMatrix.get(), shared);
    EXPECT_EQ(document.LevelMatrix.Get(1, 0), 2u);

    RestoreEditState(document, none);
    EXPECT_EQ(SavedText(), plain);
    EXPECT_TRUE(SameMatrix(document.DataMatrix, plainData));
    EXPECT_TRUE(document.OriginalMatrix.IsEmpty());
    EXPECT_EQ(document.LevelMatrix.Get(1, 0), 2u); // 8 above 1.5
    EXPECT_EQ(document.LevelMatrix.Get(0, 0), 1u); // 1 between the two
    EXPECT_EQ(prompt.Count(), 0u);
}

TEST_F(DerivationEdit, ASecondMatrixThatDoesNotFitIsSaidAndChangesNothing) {
    const std::string before = SavedText();
    EXPECT_FALSE(ApplyDerivationChoice(document, Ratio("c.csv"), true));
    ASSERT_EQ(prompt.Count(), 1u);
    EXPECT_THAT(prompt.Last().text, HasSubstr("2 rows x 2 columns"));
    EXPECT_THAT(prompt.Last().text, HasSubstr("2 rows x 3 columns"));
    EXPECT_FALSE(document.Derived);
    EXPECT_EQ(SavedText(), before);

    // A ratio of a file that is not a table has no second column; one
    // without a second file needs a table of its own.
    DerivationChoice column = Ratio("b.csv");
    column.secondColumn = "Female";
    EXPECT_FALSE(ApplyDerivationChoice(document, column, false));
    EXPECT_THAT(prompt.Last().text, HasSubstr("not a mortality or fertility database table"));
    EXPECT_FALSE(ApplyDerivationChoice(document, DerivationChoice(), false));
    EXPECT_THAT(prompt.Last().text, HasSubstr("needs a second data file"));
    EXPECT_FALSE(ApplyDerivationChoice(document, Ratio("gone.csv"), false));
    EXPECT_THAT(prompt.Last().text, HasSubstr("Cannot open data file"));
    EXPECT_EQ(SavedText(), before);
}

// The map's own derivation chosen again keeps the names as the file gives
// them and reads nothing.
TEST_F(DerivationEdit, TheMapsOwnChoiceIsKeptAsWritten) {
    folder.Write("map.dml", "[DATA]\r\nMapMatrix=a.csv;\r\n[DATA.DERIVED]\r\nOperation=ratio;\r\n"
                            "SecondMatrix=b.csv;\r\n");
    ASSERT_TRUE(document.Open(folder / "map.dml"));
    const std::string before = SavedText();
    const DerivationChoice own = ChoiceOfDocument(document);
    EXPECT_EQ(own.secondPath, folder / "b.csv");
    folder.Write("b.csv", "1\r\n");
    ASSERT_TRUE(ApplyDerivationChoice(document, own, false));
    EXPECT_EQ(SavedText(), before);
    EXPECT_THAT(before, HasSubstr("SecondMatrix=b.csv;"));
}

TEST_F(DerivationEdit, AColumnOfTheMapsOwnTableNeedsNoSecondFile) {
    folder.Write("Mx_1x1.txt", kTable);
    folder.Write("map.dml",
                 "[DATA]\r\nMapMatrix=Mx_1x1.txt;\r\nFormat=HMD;\r\nValueColumn=Male;\r\n");
    ASSERT_TRUE(document.Open(folder / "map.dml"));
    DerivationChoice choice;
    choice.operation = DeriveOperation::Difference;
    choice.secondColumn = "Female";
    ASSERT_TRUE(ApplyDerivationChoice(document, choice, false));
    EXPECT_NEAR(document.DataMatrix.Get(0, 0), 0.001, 1e-12);
    // With none named, the first column that is not the map's own; the map's
    // own column (a map of zeros) and a column the table lacks are said.
    choice.secondColumn.clear();
    std::string error;
    const std::optional<LexisTableHeader> table = document.Table->header;
    const auto make = [&](const std::string& first) {
        return MakeDerivation(choice, kLexisTableFormat, AsciiFormat(), table, first, error);
    };
    EXPECT_EQ(make("Male")->secondColumn, "Female");
    EXPECT_EQ(make("Female")->secondColumn, "Male");
    EXPECT_EQ(make("")->secondColumn, "Female"); // the map shows the default, Total
    choice.secondColumn = "Male";
    EXPECT_FALSE(make("Male"));
    EXPECT_EQ(error, "A difference of Male to itself is the same in every cell: choose another "
                     "column of the table, or a second data file.");
    choice.secondColumn = "Unknown";
    EXPECT_FALSE(make("Male"));
    EXPECT_THAT(error, HasSubstr("Unknown"));
}

// A derivation chosen in the window and kept over a monitor reload is
// derived from the files as they are then.
TEST_F(DerivationEdit, AMonitorReloadKeepsTheEditedDerivationWithTheNewSecondMatrix) {
    ASSERT_TRUE(ApplyDerivationChoice(document, Ratio("b.csv"), false));
    folder.Write("b.csv", "2,0,4\r\n2,1,5\r\n");
    const MonitorReload reload = ReloadWithoutQuestions(document, true);
    ASSERT_TRUE(reload.loaded) << reload.failure;
    ASSERT_TRUE(document.Derived);
    EXPECT_DOUBLE_EQ(document.DataMatrix.Get(1, 0), 4); // 8 / 2
    folder.Write("b.csv", "1\r\n");
    EXPECT_FALSE(ReloadWithoutQuestions(document, true).loaded);
    EXPECT_DOUBLE_EQ(document.DataMatrix.Get(1, 0), 4);
}

TEST(DerivationFields, EachOperationUsesItsOwnFieldsOnly) {
    EXPECT_FALSE(FieldsOf(std::nullopt).second || FieldsOf(std::nullopt).lag ||
                 FieldsOf(std::nullopt).halfWidth);
    for (const DeriveOperation op : {DeriveOperation::Ratio, DeriveOperation::Difference}) {
        EXPECT_TRUE(FieldsOf(op).second);
        EXPECT_FALSE(FieldsOf(op).lag || FieldsOf(op).halfWidth);
    }
    EXPECT_TRUE(FieldsOf(DeriveOperation::Improvement).lag);
    EXPECT_FALSE(FieldsOf(DeriveOperation::Improvement).second ||
                 FieldsOf(DeriveOperation::Improvement).halfWidth);
    EXPECT_TRUE(FieldsOf(DeriveOperation::Smooth).halfWidth);
    EXPECT_FALSE(FieldsOf(DeriveOperation::Smooth).second || FieldsOf(DeriveOperation::Smooth).lag);
}

TEST(DerivationFields, ANewDerivedMapIsNamedAfterItsDataAndOperation) {
    EXPECT_EQ(DerivedSetupPath("/d/Mx_1x1.txt", DeriveOperation::Ratio), "/d/Mx_1x1-ratio.dml");
    EXPECT_EQ(DerivedSetupPath("/d.x/data", DeriveOperation::Smooth), "/d.x/data-smooth.dml");
}

// "Suit the title and scale to the result": a ratio gets levels symmetric
// about 1, and a change to smoothing gets the scale a new map of the
// smoothed values would get (Smart Scale's for a text file), not the
// ratio's. Either way every cell is classed by the scale it now shows.
TEST_F(DerivationEdit, SuitingTheScaleClassesTheMapByTheNewScale) {
    const auto expectClassedByItsScale = [&] {
        WMAT expected;
        ClassifyLevels(document.DataMatrix, document.ScaleValues, expected);
        for (std::uint32_t r = 0; r < expected.GetRows(); ++r) {
            for (std::uint32_t c = 0; c < expected.GetColumns(); ++c) {
                EXPECT_EQ(document.LevelMatrix.Get(r, c), expected.Get(r, c)) << r << "," << c;
            }
        }
    };
    ASSERT_TRUE(ApplyDerivationChoice(document, Ratio("b.csv"), true));
    const std::uint32_t n = document.BoundaryCount();
    ASSERT_GT(n, 1u);
    EXPECT_NEAR(document.ScaleValues.Get(0, 0) * document.ScaleValues.Get(n - 1, 0), 1.0, 1e-9);
    expectClassedByItsScale();

    DerivationChoice smooth;
    smooth.operation = DeriveOperation::Smooth;
    smooth.halfWidth = 1;
    ASSERT_TRUE(ApplyDerivationChoice(document, smooth, true));
    DMAT automatic;
    ASSERT_TRUE(SmartScale(document.DataMatrix, automatic, prompt));
    MergeRepeatedBoundaries(automatic);
    ASSERT_EQ(document.BoundaryCount(), automatic.GetRows());
    for (std::uint32_t i = 0; i < automatic.GetRows(); ++i) {
        EXPECT_DOUBLE_EQ(document.ScaleValues.Get(i, 0), automatic.Get(i, 0));
    }
    EXPECT_EQ(document.LevelColors.GetCount(), document.BoundaryCount() + 2);
    expectClassedByItsScale();
}
