#include "document/EditSnapshot.h"
#include "document/ChartDocument.h"
#include "document/DocumentTestSupport.h"
#include "document/DocumentWriters.h"
#include "document/MapTypes.h"
#include "scale/MapScale.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// A map whose setup file sets every section the writer writes.
const char* kMapSetup =
    "[DATA]\r\nMapMatrix=data.csv;\r\nFormat=ASCII;\r\n"
    "[PLOT.FRAME]\r\nTitle={\"Deaths\", \"Denmark\"};\r\nxTicks={1974,1977,0};\r\n"
    "yTicks={0,3,0};\r\nxTicksList={\"1974\" 1974, \"1976\" 1976,};\r\nxLabel=\"Year\";\r\n"
    "[MAP.SCALE]\r\nMapScale={2 4 6};\r\nTickFormat=F2;\r\n"
    "ScaleSetup={1 0 0, 0 1 1, 0 0 0,};\r\n"
    "[COLORS]\r\nMapColors={1 2 3 4};\r\nMapMissingColor=5;\r\n"
    "[ANNOTATION]\r\nText={\"note\"};\r\nTextLocation={100 200 300 40,};\r\n"
    "TextAttributes={page 255 0 opaque c t,};\r\n"
    "Line={1974 0 1976 2,};\r\nLineAttributes={plot 2 1 255,};\r\n"
    "Rectangle={10 10 200 100,};\r\nRectangleAttributes={page 1 0 0 trans 0 0,};\r\n"
    "[PAGESETUP]\r\nOrientation=Portrait;\r\n"
    "[MAP.ATTRIBUTES]\r\nDemlaMapType=Rectangle;\r\nContourLines=No;\r\n";

// Another map of the same data and orientation that differs from it in
// everything else.
const char* kOtherSetup = "[DATA]\r\nMapMatrix=data.csv;\r\nFormat=ASCII;\r\n"
                          "[PLOT.FRAME]\r\nTitle=\"Other\";\r\nxTicks={1,5,2};\r\n"
                          "[MAP.SCALE]\r\nMapScale={1 3};\r\nTickFormat=F1;\r\nVisible=No;\r\n"
                          "[COLORS]\r\nMapColors={7 8 9};\r\nMapMissingColor=6;\r\n"
                          "[PAGESETUP]\r\nOrientation=Portrait;\r\n"
                          "[MAP.ATTRIBUTES]\r\nDemlaMapType=HParallelogram;\r\n"
                          "ContourLines=Yes;\r\nContourLinesWidth=2.5;\r\n"
                          "ContourLinesColor=99;\r\n";

class EditSnapshot : public ::testing::Test {
protected:
    EditSnapshot() {
        folder.Write("data.csv", "1,2,3,4\r\n5,6,7,8\r\n9,1,2,3\r\n");
        EXPECT_TRUE(document.Open(folder.Write("map.dml", kMapSetup)));
    }

    // What saving the document would write.
    static std::string SavedText(ChartDocument& map) {
        std::string reason;
        const std::optional<std::string> text = SetupTextForSave(map, &reason);
        EXPECT_TRUE(text.has_value()) << reason;
        return text.value_or("");
    }

    TempTestFolder folder;
    ScriptedPrompt prompt;
    ChartDocument document{prompt};
};

bool SameLevels(const WMAT& a, const WMAT& b) {
    if (a.GetRows() != b.GetRows() || a.GetColumns() != b.GetColumns()) {
        return false;
    }
    for (std::uint32_t r = 0; r < a.GetRows(); ++r) {
        for (std::uint32_t c = 0; c < a.GetColumns(); ++c) {
            if (a.Get(r, c) != b.Get(r, c)) {
                return false;
            }
        }
    }
    return true;
}

// One kind of in-place edit, as the map's menus and sheets make them.
struct EditKind {
    const char* name;
    std::function<void(ChartDocument&)> edit;
};

std::vector<EditKind> EditKinds() {
    const auto text = [](const char* line) {
        LText made;
        made.SetText(line);
        return made;
    };
    return {
        {"scale",
         [](ChartDocument& d) {
             DMAT scale(2, 1);
             scale.Set(0, 0, 3);
             scale.Set(1, 0, 5);
             LRGBColorVect colors = d.LevelColors;
             FitLevelColors(colors, 2, d.MissingColor);
             d.SetScale(scale, colors);
         }},
        {"level colour", [](ChartDocument& d) { d.LevelColors.Level(1) = 0x123456; }},
        {"missing colour", [](ChartDocument& d) { d.SetMissingColor(0x654321); }},
        {"legend format", [](ChartDocument& d) { d.Legend.SetTickFormat("E3"); }},
        {"legend flags", [](ChartDocument& d) { d.Legend.GetLevelFlags().Fill(7); }},
        {"legend place", [](ChartDocument& d) { d.Legend.SetPosition(11, 22, 33, 44); }},
        {"legend shown", [](ChartDocument& d) { d.Legend.SetVisible(false); }},
        {"map type", [](ChartDocument& d) { d.MapType = VParallelogramMap; }},
        {"contour lines", [](ChartDocument& d) { d.ContourLines = true; }},
        {"contour width", [](ChartDocument& d) { d.ContourLinesWidth = 4.25; }},
        {"contour colour", [](ChartDocument& d) { d.ContourLinesColor = 0xABCDEF; }},
        {"frame range", [](ChartDocument& d) { d.Frame.x2 = 1990; }},
        {"frame grid", [](ChartDocument& d) { d.Frame.Axis(PlotFrame::YAxis).gridLines = true; }},
        {"title", [](ChartDocument& d) { d.Frame.title.Flush(); }},
        {"texts", [text](ChartDocument& d) { d.Texts.List().addAtTail(text("added")); }},
        {"lines", [](ChartDocument& d) { d.Lines.List().Flush(); }},
        {"rectangles", [](ChartDocument& d) { d.Rectangles.List().Flush(); }},
    };
}

TEST_F(EditSnapshot, RestoringGivesBackTheSavedTextAfterEveryKindOfEdit) {
    const std::string saved = SavedText(document);
    const WMAT levels = document.LevelMatrix;
    for (const EditKind& kind : EditKinds()) {
        const MapEditState before = CaptureEditState(document);
        kind.edit(document);
        ASSERT_NE(SavedText(document), saved) << kind.name << " is not an edit of the file";
        const MapEditState after = CaptureEditState(document);
        RestoreEditState(document, before);
        EXPECT_EQ(SavedText(document), saved) << kind.name;
        // Redo gives back the edit, and undo once more the file.
        RestoreEditState(document, after);
        EXPECT_NE(SavedText(document), saved) << kind.name;
        RestoreEditState(document, before);
        EXPECT_EQ(SavedText(document), saved) << kind.name;
        EXPECT_TRUE(SameLevels(document.LevelMatrix, levels)) << kind.name;
    }
}

// A field the edits change but the snapshot does not hold would keep the
// other map's value here.
TEST_F(EditSnapshot, AnotherMapTakesEverythingEditableFromASnapshot) {
    ChartDocument other(prompt);
    ASSERT_TRUE(other.Open(folder.Write("other.dml", kOtherSetup)));
    const std::string otherText = SavedText(other);
    ASSERT_NE(otherText, SavedText(document));
    RestoreEditState(other, CaptureEditState(document));
    EXPECT_EQ(SavedText(other), SavedText(document));
    EXPECT_TRUE(SameLevels(other.LevelMatrix, document.LevelMatrix));
}

TEST_F(EditSnapshot, SameAsComparesScaleColoursAndAppearanceOnly) {
    const MapEditState before = CaptureEditState(document);
    // The frame's and the annotations' editors report their changes.
    document.Frame.x2 = 1990;
    document.Texts.List().Flush();
    document.Legend.SetTickFormat("E3");
    EXPECT_TRUE(CaptureEditState(document).SameAs(before));
    for (const EditKind& kind : EditKinds()) {
        const std::string name = kind.name;
        if (name.starts_with("frame") || name == "title" || name.starts_with("legend ") ||
            name == "texts" || name == "lines" || name == "rectangles") {
            continue;
        }
        RestoreEditState(document, before);
        kind.edit(document);
        EXPECT_FALSE(CaptureEditState(document).SameAs(before)) << kind.name;
    }
    RestoreEditState(document, before);
    document.Legend.SetVisible(false);
    EXPECT_FALSE(CaptureEditState(document).SameAs(before));
}

} // namespace
