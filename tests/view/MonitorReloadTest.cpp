#include "document/ChartDocument.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFile.h"
#include "view/MonitorMode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

// A 2 x 2 map of value with a scale of its own (1, 5) and colours for its
// three levels.
class MonitorReloadTest : public ::testing::Test {
protected:
    MonitorReloadTest() {
        WriteData(2);
        folder.Write("map.dml", "[DATA]\r\nMapMatrix=data.csv;\r\n"
                                "[MAP.SCALE]\r\nMapScale={1 5};\r\n"
                                "[COLORS]\r\nMapColors={255 65280 16711680};\r\n");
        EXPECT_TRUE(document.Open(folder / "map.dml"));
    }
    void WriteData(int value) {
        const std::string v = std::to_string(value);
        folder.Write("data.csv", v + "," + v + "\r\n" + v + "," + v + "\r\n");
    }

    TempTestFolder folder;
    ScriptedPrompt prompt;
    ChartDocument document{prompt};
};

TEST_F(MonitorReloadTest, AFailedReloadAsksNothingAndKeepsTheLastGoodMap) {
    const std::size_t asked = prompt.Count();
    folder.Write("data.csv", "1,2,3\r\n4,5\r\n");
    const MonitorReload ragged = ReloadWithoutQuestions(document, false);
    EXPECT_FALSE(ragged.loaded);
    // The box would have asked "Continue?"; nobody is asked, the line says why.
    EXPECT_EQ(ragged.failure,
              "Cannot reload data.csv: Different text lines have different number of fields");
    EXPECT_EQ(prompt.Count(), asked);
    EXPECT_EQ(document.DataMatrix.GetRows(), 2u);
    EXPECT_EQ(document.DataMatrix.Get(1, 1), 2);
    EXPECT_EQ(document.LevelMatrix.Get(1, 1), 1u);
    EXPECT_EQ(document.BoundaryCount(), 2u);

    // A data file that is not there is named as the setup file names it.
    folder.Write("map.dml", "[DATA]\r\nMapMatrix=gone.csv;\r\n");
    EXPECT_THAT(ReloadWithoutQuestions(document, false).failure,
                HasSubstr("Cannot reload gone.csv: Cannot open data file: gone.csv"));
    // A setup file the reader refuses is the file named.
    folder.Write("map.dml", "[DATA]\r\nMapMatrix=data.csv;\r\n[MAP.SCALE]\r\nMapScale={1 2 ]\r\n");
    EXPECT_THAT(ReloadWithoutQuestions(document, false).failure,
                HasSubstr("Cannot reload map.dml: "));
    EXPECT_EQ(prompt.Count(), asked);
    EXPECT_EQ(document.DataMatrix.Get(0, 0), 2);
    EXPECT_EQ(document.GetPath(), folder / "map.dml");
}

TEST_F(MonitorReloadTest, AGoodReloadTakesTheNewData) {
    WriteData(7);
    const MonitorReload reload = ReloadWithoutQuestions(document, false);
    EXPECT_TRUE(reload.loaded);
    EXPECT_THAT(reload.failure, IsEmpty());
    EXPECT_EQ(document.DataMatrix.Get(1, 1), 7);
    // 7 lies above the last boundary 5.
    EXPECT_EQ(document.LevelMatrix.Get(1, 1), 2u);
    EXPECT_EQ(document.GetSources().readFiles, std::vector<std::string>{folder / "data.csv"});
}

TEST_F(MonitorReloadTest, UnsavedEditsAreKeptOverTheSetupFile) {
    // Edits of the shown map: a scale with a boundary at 3, other colours,
    // the other page orientation.
    document.ScaleValues = DMAT(3, 1);
    document.ScaleValues.Set(0, 0, 1);
    document.ScaleValues.Set(1, 0, 3);
    document.ScaleValues.Set(2, 0, 5);
    document.LevelColors = LRGBColorVect(5);
    for (std::uint32_t i = 0; i < 5; ++i) {
        document.LevelColors.Level(i) = 0x010101 * i;
    }
    document.Legend.SyncWithScale(document.ScaleValues);
    document.PageOrientation = kPortrait;
    WriteData(4);

    ASSERT_TRUE(ReloadWithoutQuestions(document, true).loaded);
    EXPECT_EQ(document.DataMatrix.Get(0, 0), 4);
    EXPECT_EQ(document.BoundaryCount(), 3u);
    // Classified on the kept scale: 4 lies between 3 and 5.
    EXPECT_EQ(document.LevelMatrix.Get(0, 0), 2u);
    EXPECT_EQ(document.LevelColors.Level(3), 0x030303u);
    EXPECT_EQ(document.PageOrientation, kPortrait);

    // Without edits to keep, the setup file's scale and colours come back.
    ASSERT_TRUE(ReloadWithoutQuestions(document, false).loaded);
    EXPECT_EQ(document.BoundaryCount(), 2u);
    EXPECT_EQ(document.LevelColors.Level(0), 255u);
    EXPECT_EQ(document.LevelMatrix.Get(0, 0), 1u);
}

TEST(MonitorFailureLineTest, NamesTheFileWithoutItsFolder) {
    EXPECT_EQ(MonitorFailureLine("/tmp/x/data.csv", "Error reading ASCII file"),
              "Cannot reload data.csv: Error reading ASCII file");
    EXPECT_EQ(MonitorFailureLine("map.dml", ""), "Cannot reload map.dml: it could not be read");
}

} // namespace
