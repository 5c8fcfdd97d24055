#include "document/ChartDocument.h"
#include "document/DocumentTestSupport.h"
#include "document/MapTypes.h"
#include "scale/ScaleLimits.h"
#include "support/ScriptedPrompt.h"

#include <filesystem>

namespace fs = std::filesystem;
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

const char* kSmallData = "0,2,4\r\n6,8,10\r\n";

class Loading : public ::testing::Test {
protected:
    // Writes the setup text (and the small data file beside it) and opens it.
    bool Load(const std::string& setup) {
        folder.Write("data.csv", kSmallData);
        return document.Open(folder.Write("map.dml", setup));
    }
    // The last box as "caption: text".
    std::string LastBox() const { return prompt.Last().caption + ": " + prompt.Last().text; }
    // The report before the "open anyway" question that ended the last load.
    const std::string& Reported() const { return prompt.Entries()[prompt.Count() - 2].text; }

    TempTestFolder folder;
    ScriptedPrompt prompt;
    ChartDocument document{prompt};
};

TEST_F(Loading, SystemSectionChecksTypeAndVersion) {
    EXPECT_TRUE(Load("[DATA]\nMapMatrix=data.csv;\n"));
    EXPECT_EQ(prompt.Count(), 0u);
    EXPECT_TRUE(Load("[SYSTEM]\nVersion=1.1;\nType=Demla;\n"));
    EXPECT_TRUE(Load("[SYSTEM]\nVersion=1.0;\n"));

    EXPECT_FALSE(Load("[SYSTEM]\nVersion=2.0;\nType=Demla;\n"));
    EXPECT_EQ(LastBox(), "2.0: Document of this version cannot be opened");
    EXPECT_FALSE(Load("[SYSTEM]\nType=Other;\n"));
    EXPECT_EQ(LastBox(), "Other: Document of this type cannot be opened");
}

TEST_F(Loading, DataSectionChoosesTheReaderByFormatOrExtension) {
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=data.csv;\n"));
    EXPECT_EQ(document.DataFormat, 2);
    EXPECT_EQ(MatrixText(document.DataMatrix), "0 2 4/6 8 10");

    folder.Write("data.fmt", GaussBytes(3, 2, {1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=data.fmt;\n"));
    EXPECT_EQ(document.DataFormat, 1);
    EXPECT_EQ(MatrixText(document.DataMatrix), "1 2/3 4/5 6");

    // Both delimiters custom and equal: one value per line.
    folder.Write("lines.txt", "2\n2\n1\n2\n3\n4\n");
    ASSERT_TRUE(Load("[DATA]\nFormat=ASCII;\nAsciiFormat={ custom, \";\",custom, \";\" };\n"
                     "MapMatrix=lines.txt;\n"));
    EXPECT_EQ(MatrixText(document.DataMatrix), "1 2/3 4");

    // A quoted name may hold what a bare one cannot.
    folder.Write("odd [1];x.csv", kSmallData);
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=\"odd [1];x.csv\";\nFormat=ASCII;\n"));
    EXPECT_EQ(document.DataMatrix.GetColumns(), 3u);

    EXPECT_FALSE(Load("[DATA]\nFormat=Excel;\nMapMatrix=data.csv;\n"));
    EXPECT_EQ(prompt.Last().text, "Format item has illegal value");
}

TEST_F(Loading, MissingDataFileIsLookedForBesideTheSetupFile) {
    const std::string setup = "[DATA]\nMapMatrix=" + folder.Path() + "/elsewhere/data.csv;\n";
    ASSERT_TRUE(Load(setup));
    EXPECT_EQ(prompt.Count(), 1u);
    EXPECT_THAT(LastBox(), StartsWith("Error: Cannot open data file: "));
    EXPECT_THAT(prompt.Last().text, HasSubstr("same folder as the Demla Setup File?"));
    EXPECT_EQ(document.DataMatrix.GetColumns(), 3u);

    prompt.Then(PromptAnswer::Cancel);
    EXPECT_FALSE(Load(setup));
    EXPECT_EQ(prompt.Count(), 2u); // no message after the cancelled question
    EXPECT_FALSE(Load("[DATA]\nMapMatrix=nowhere.csv;\n")); // the retry fails as well
}

TEST_F(Loading, SetupErrorsOpenWithWhatWasReadOrCancel) {
    const std::string setup = "[DATA]\nFormat=ASCII;\nAsciiFormat={comma};\nMapMatrix=data.csv;\n"
                              "[MAP.SCALE]\nMapScale={1 2 3};\n";
    ASSERT_TRUE(Load(setup));
    ASSERT_EQ(prompt.Count(), 2u);
    EXPECT_EQ(prompt.Entries()[0].caption, "Demla Setup File Exception");
    EXPECT_EQ(prompt.Entries()[1].caption, "Setup File Exception");
    EXPECT_THAT(prompt.Entries()[0].text, HasSubstr("Item: AsciiFormat"));
    EXPECT_EQ(prompt.Entries()[1].text, "\r\nPress Ok to open document anyway");
    EXPECT_TRUE(document.DataMatrix.IsEmpty());

    prompt.Then(PromptAnswer::Cancel);
    EXPECT_FALSE(Load(setup));

    // A setup file that cannot be read has nothing to open anyway.
    EXPECT_FALSE(document.Open(folder / "absent.dml"));
    EXPECT_EQ(prompt.Last().caption, "Demla Setup File Exception");
}

TEST_F(Loading, AcceptedErrorsLeaveTheColoursAndLevelsInStep) {
    // The error comes after the scale but before the colours are rebuilt.
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=data.csv;\n[MAP.SCALE]\nMapScale={1 2 3};\n"
                     "[ANNOTATION]\nText={\"A\" \"B\"};\n"));
    EXPECT_EQ(prompt.Entries()[0].text, "Section: ANNOTATION\r\nItem: Text\r\n"
                                        "Invalid number of columns\nConsult help file");
    EXPECT_EQ(document.LevelColors.GetCount(), 5u);
    EXPECT_EQ(document.Legend.GetLevelFlags().GetCount(), 3u);
    EXPECT_EQ(document.LevelMatrix.GetColumns(), 3u);

    // The error stops the scale: the data were read but never classified.
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=data.csv;\n[MAP.SCALE]\nMapScale={1 x 3};\n"));
    EXPECT_EQ(document.LevelMatrix.GetRows(), 2u);
    EXPECT_EQ(document.LevelColors.GetCount(), 5u);
}

TEST_F(Loading, MatrixErrorsAskTheSameQuestion) {
    folder.Write("empty.fmt", GaussBytes(0, 0, {}));
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=empty.fmt;\n"));
    EXPECT_THAT(LastBox(), StartsWith("Matrix Exception: Pending loading Data Matrix the "
                                      "following exception received:\r\n"));
    EXPECT_TRUE(document.DataMatrix.IsEmpty());
    EXPECT_EQ(document.DataMatrix.GetRows(), 0u);

    prompt.Then(PromptAnswer::Cancel);
    EXPECT_FALSE(Load("[DATA]\nMapMatrix=empty.fmt;\n"));

    // A header that promises more than the file holds is a read error,
    // found before the promised elements are allocated.
    folder.Write("huge.fmt", GaussBytes<GaussLargeHeader>(65535, 65535, {1}));
    EXPECT_FALSE(Load("[DATA]\nMapMatrix=huge.fmt;\n"));
    EXPECT_THAT(prompt.Last().text, HasSubstr("Error received while reading Gauss matrix"));
}

TEST_F(Loading, ScaleKeys) {
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=data.csv;\n[MAP.SCALE]\nLinearScale={4};\n"));
    EXPECT_EQ(MatrixText(document.ScaleValues), "2/4/6/8");

    ASSERT_TRUE(Load("[MAP.SCALE]\nMultiplicativeScale={1, 10, 3};\n"));
    EXPECT_EQ(MatrixText(document.ScaleValues), "1/10/100");
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=data.csv;\n[MAP.SCALE]\nLinearScale={0};\n"));
    EXPECT_EQ(MatrixText(document.ScaleValues), "0");

    // The first key present wins.
    ASSERT_TRUE(Load("[MAP.SCALE]\nLinearScale={0, 1, 2};\nMapScale={5 6};\n"));
    EXPECT_EQ(MatrixText(document.ScaleValues), "5/6");

    // Rejected keys leave the default scale, and the automatic scale does
    // not replace it: the file did give a scale.
    for (const char* key :
         {"LinearScale={0, 1, 0};", "LinearScale={-3};", "MultiplicativeScale={1, 1, 3};",
          "MultiplicativeScale={0, 2, -5};", "LinearScale={1, 2};"}) {
        ASSERT_TRUE(Load(std::string("[DATA]\nMapMatrix=data.csv;\n[MAP.SCALE]\n") + key));
        ASSERT_EQ(document.BoundaryCount(), 8u) << key;
        EXPECT_NEAR(document.ScaleValues.Get(3, 0), 3 / 9.0, 1e-12) << key;
    }

    // Legend keys alone: the automatic scale, by quantiles of the data.
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=data.csv;\n[MAP.SCALE]\nTickFormat=F1;\n"));
    EXPECT_EQ(document.BoundaryCount(), 8u);
    EXPECT_EQ(document.Legend.GetTickFormat(), "F1");
    EXPECT_EQ(document.ScaleValues.Get(0, 0), 0);
}

TEST_F(Loading, MapScaleIsCutToWhatTheLevelsHoldAndNeverLeftUndefined) {
    std::string values;
    for (std::uint32_t i = 0; i <= kMaxScaleBoundaries; ++i) {
        values += "1 ";
    }
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=data.csv;\n[MAP.SCALE]\nMapScale={" + values + "};\n"));
    EXPECT_EQ(document.BoundaryCount(), kMaxScaleBoundaries);
    EXPECT_EQ(LastBox(), "Scale Exception: Too many elements in the Scale\r\n"
                         "Scale reduced to the highest size supported");
    EXPECT_EQ(document.LevelColors.GetCount(), kMaxScaleBoundaries + 2);

    ASSERT_TRUE(Load("[MAP.SCALE]\nMapScale={ };\n"));
    EXPECT_EQ(prompt.Last().text, "Unable read scale");
    EXPECT_EQ(prompt.Last().icon, PromptIcon::Exclamation);
    EXPECT_EQ(MatrixText(document.ScaleValues), "0"); // not left undefined
}

// Every form of scale key keeps as many boundaries as the levels tell
// apart, and says so once, after the other messages of the load.
TEST_F(Loading, SequenceScalesAreCutLikeAnExplicitOne) {
    const std::string cut = "Scale Exception: Too many elements in the Scale\r\n"
                            "Scale reduced to the highest size supported";
    const std::string start = "[DATA]\nMapMatrix=data.csv;\n[MAP.SCALE]\n";
    ASSERT_TRUE(Load(start + "LinearScale={0, 1, 65534};\n"));
    EXPECT_EQ(document.BoundaryCount(), kMaxScaleBoundaries);
    EXPECT_EQ(document.ScaleValues.Get(kMaxScaleBoundaries - 1, 0), 65533);
    EXPECT_EQ(prompt.Count(), 0u);

    for (const char* key : {"LinearScale={0, 1, 65535};", "LinearScale={1e9};",
                            "MultiplicativeScale={1, 1.0001, 65535};", "LinearScale={65535};"}) {
        const std::size_t before = prompt.Count();
        ASSERT_TRUE(Load(start + key + "\n[MAP.ATTRIBUTES]\nDemlaMapType=Round;\n")) << key;
        EXPECT_EQ(document.BoundaryCount(), kMaxScaleBoundaries) << key;
        EXPECT_EQ(document.LevelColors.GetCount(), kMaxScaleBoundaries + 2) << key;
        ASSERT_EQ(prompt.Count(), before + 2) << key;
        EXPECT_EQ(prompt.Entries()[before].caption, "Alert") << key;
        EXPECT_EQ(LastBox(), cut) << key;
    }
    // The first boundaries are those of the whole sequence.
    ASSERT_TRUE(Load(start + "LinearScale={65535};\n"));
    EXPECT_DOUBLE_EQ(document.ScaleValues.Get(0, 0), 10.0 / 65536);
}

// Numbers are decimal: what else a C library would read as a number is 0 in
// a setup value, and never comes back as "inf" or "nan" in a saved file.
TEST_F(Loading, SetupNumbersAreDecimalOnly) {
    ASSERT_TRUE(Load("[MAP.SCALE]\nMapScale={-inf 1 +nan 0x10 -1e1};\n"
                     "[PLOT.FRAME]\nxTicks={-infinity,0x20,-3};\n"));
    EXPECT_EQ(MatrixText(document.ScaleValues), "0/1/0/0/-10");
    // The range they leave, 0 to 0, holds nothing: the axis keeps its own.
    ASSERT_TRUE(document.Frame.emptyXRange.has_value());
    EXPECT_EQ(document.Frame.x1, 0);
    EXPECT_EQ(document.Frame.x2, 1);
    ASSERT_TRUE(document.Save());
    const std::string saved = ReadTestFile(folder / "map.dml");
    EXPECT_EQ(saved.find("inf"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("nan"), std::string::npos) << saved;
}

// A data file is found beside the setup file first, else where the name
// leads from the folder the program was started in.
TEST_F(Loading, RelativeNamesFromTheSetupFolderOrTheCurrentOne) {
    folder.Write("data/cells.csv", "1,2\n");
    folder.Write("data/lines.fmt", GaussBytes(1, 4, {100, 200, 300, 400}));
    const std::string setup = folder.Write(
        "maps/map.dml", "[DATA]\nMapMatrix=data/cells.csv;\n[ANNOTATION]\nLine=data/lines.fmt;\n");
    const std::filesystem::path started = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const bool opened = document.Open(setup);
    std::filesystem::current_path(started);
    ASSERT_TRUE(opened);
    EXPECT_EQ(prompt.Count(), 0u) << LastBox();
    EXPECT_EQ(MatrixText(document.DataMatrix), "1 2");
    EXPECT_EQ(document.Lines.List().GetCount(), 1u);

    // The setup file's folder comes first.
    folder.Write("maps/data/cells.csv", "7\n");
    std::filesystem::current_path(folder.Path());
    ASSERT_TRUE(document.Open(setup));
    std::filesystem::current_path(started);
    EXPECT_EQ(MatrixText(document.DataMatrix), "7");
}

TEST_F(Loading, TextAnnotations) {
    const std::string texts = "[ANNOTATION]\nText={\"A \\\"q\\\"\", \"B\", \"C\"};\n";
    ASSERT_TRUE(Load(texts + "TextLocation={100 200, 300 400, 500 600,};\n"
                             "TextAttributes={page 255 0 opaque r t, plot 1 2 trans c x, "
                             "page 3 4 opaque l b,};\n"
                             "TextFont.*={-12 0 0 0 400 0 0 0 0 0 0 2 0 \"Arial\"};\n"
                             "TextFont.1={-20 0 0 0 700 0 0 0 0 0 0 2 0 \"Serif\"};\n"
                             "TextFont.7={-30 0 0 0 700 0 0 0 0 0 0 2 0 \"Mono\"};\n"));
    ASSERT_EQ(document.Texts.List().GetCount(), 3u);
    LText& a = document.Texts.List()[0];
    EXPECT_EQ(a.GetText(), "A \"q\"");
    EXPECT_EQ(a.GetA().GetX(), 100);
    EXPECT_EQ(a.GetA().GetXAttribute(), PageUnits);
    EXPECT_EQ(a.GetTextColor(), 255u);
    EXPECT_EQ(a.GetBkMode(), BackgroundMode::Opaque);
    EXPECT_EQ(a.GetHorizontalAlignment(), TextAlign::Right);
    EXPECT_EQ(a.GetVerticalAlignment(), TextAlign::Top);
    EXPECT_EQ(a.GetFont()->GetFaceName(), "Arial");
    LText& b = document.Texts.List()[1];
    EXPECT_EQ(b.GetA().GetXAttribute(), DataUnits);
    EXPECT_EQ(b.GetBkMode(), BackgroundMode::Transparent);
    EXPECT_EQ(b.GetHorizontalAlignment(), TextAlign::Center);
    EXPECT_EQ(b.GetVerticalAlignment(), TextAlign::Baseline);
    EXPECT_EQ(b.GetFont()->GetFaceName(), "Serif");
    EXPECT_EQ(document.Texts.List()[2].GetFont()->GetFaceName(), "Arial");
    EXPECT_EQ(document.Texts.List()[2].GetVerticalAlignment(), TextAlign::Bottom);

    ASSERT_TRUE(Load(texts + "TextLocation={100 200, 300 400 500 600,};\n"));
    EXPECT_THAT(Reported(), HasSubstr("Matrix reading error"));
    EXPECT_EQ(document.Texts.List().GetCount(), 3u);

    ASSERT_TRUE(Load(texts + "TextAttributes={page 1 2 opaque l,};\n"));
    EXPECT_THAT(Reported(), HasSubstr("Item: TextAttributes"));
    EXPECT_EQ(document.Texts.List().GetCount(), 3u);

    // Without a location a text stands in the middle of the page.
    ASSERT_TRUE(Load("[ANNOTATION]\nText=\"alone\";\nTextLocation={7 8};\n"));
    EXPECT_EQ(document.Texts.List()[0].GetA().GetX(), 7);
    ASSERT_TRUE(Load("[ANNOTATION]\nText=\"alone\";\n"));
    EXPECT_EQ(document.Texts.List()[0].GetA().GetX(), 1485);
    EXPECT_EQ(document.Texts.List()[0].GetA().GetY(), 1050);
}

TEST_F(Loading, TextFramesAreTheTextsOwnWhateverItsBox) {
    ASSERT_TRUE(Load("[ANNOTATION]\nText={\"A\", \"B\"};\nTextLocation={0 0 0 0, 10 20 30 40,};\n"
                     "TextFrame.0={2 1 255 hatched 7 3};\nTextFrame.1={-1 0 0 trans 0 0};\n"));
    ASSERT_NE(document.Texts.List()[0].GetFrame(), nullptr);
    EXPECT_EQ(document.Texts.List()[0].GetFrame()->GetFrameRecord(),
              (FrameRecord{2, 1, 255, BrushStyle::Hatched, 7, 3}));
    const LRectangle* frame = document.Texts.List()[1].GetFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetFrameRecord(), (FrameRecord{-1, 0, 0, BrushStyle::Hollow, 0, 0}));
    EXPECT_EQ(frame->GetB().GetX(), 40); // the anchor plus the box

    ASSERT_TRUE(Load("[ANNOTATION]\nText={\"A\", \"B\"};\nTextFrame.*={2 1 255 hatched 7};\n"));
    const FrameRecord record = document.Texts.List()[0].GetFrame()->GetFrameRecord();
    EXPECT_EQ(record, (FrameRecord{2, 1, 255, BrushStyle::Hatched, 7, 0})); // the item stops early
    // One text says it has none.
    ASSERT_TRUE(Load("[ANNOTATION]\nText={\"A\", \"B\"};\nTextFrame.*={2 1 255 hatched 7};\n"
                     "TextFrame.1=none;\n"));
    EXPECT_NE(document.Texts.List()[0].GetFrame(), nullptr);
    EXPECT_EQ(document.Texts.List()[1].GetFrame(), nullptr);
}

TEST_F(Loading, LinesAndRectanglesWrittenOutOrInGaussFiles) {
    ASSERT_TRUE(Load("[ANNOTATION]\nLine={1 2 3 4, 5 6 7 8,};\n"
                     "LineAttributes={page 2.5 1 255,};\n"
                     "Rectangle={0 0 10 10};\nRectangleAttributes={plot -1 2 3 hatched 4 5};\n"));
    ASSERT_EQ(document.Lines.List().GetCount(), 2u);
    LLine& line = document.Lines.List()[0];
    EXPECT_EQ(line.GetB().GetY(), 4);
    EXPECT_EQ(line.GetA().GetXAttribute(), PageUnits);
    EXPECT_EQ(line.GetWidth(), 2.5);
    EXPECT_EQ(line.GetPenStyle(), 1);
    EXPECT_EQ(line.GetColor(), 255u);
    EXPECT_EQ(document.Lines.List()[1].GetA().GetXAttribute(), DataUnits);
    const FrameRecord record = document.Rectangles.List()[0].GetFrameRecord();
    EXPECT_EQ(record, (FrameRecord{-1, 2, 3, BrushStyle::Hatched, 4, 5}));

    folder.Write("lines.fmt", GaussBytes(2, 4, {1, 2, 3, 4, 5, 6, 7, 8}));
    folder.Write("attributes.fmt",
                 GaussBytes(2, 4, {PackedText("PAGE"), 3, 2, 9, PackedText("plot"), 1, 0, 0}));
    folder.Write("boxes.fmt", GaussBytes(1, 5, {0, 0, 1, 1, 9}));
    ASSERT_TRUE(Load("[ANNOTATION]\nLine=lines.fmt;\nLineAttributes=\"attributes.fmt\";\n"
                     "Rectangle=missing.fmt;\n"));
    ASSERT_EQ(document.Lines.List().GetCount(), 2u);
    EXPECT_EQ(document.Lines.List()[1].GetA().GetX(), 5);
    EXPECT_EQ(document.Lines.List()[0].GetA().GetXAttribute(), PageUnits);
    EXPECT_EQ(document.Lines.List()[0].GetColor(), 9u);
    EXPECT_EQ(document.Lines.List()[1].GetA().GetXAttribute(), DataUnits);
    EXPECT_EQ(prompt.Last().text, "Unable open file missing.fmt\n");
    EXPECT_TRUE(document.Rectangles.List().IsEmpty());

    ASSERT_TRUE(Load("[ANNOTATION]\nRectangle=boxes.fmt;\n"));
    EXPECT_THAT(Reported(), HasSubstr("Invalid number of columns"));
}

TEST_F(Loading, Colours) {
    const std::string scale = "[MAP.SCALE]\nMapScale={1 2};\n";
    ASSERT_TRUE(Load(scale + "[COLORS]\nMapColors={10 20};\nMapMissingColor=30;\n"));
    EXPECT_EQ(document.LevelColors.GetCount(), 4u);
    EXPECT_EQ(document.LevelColors.Level(1), 20u);
    EXPECT_EQ(document.LevelColors.Level(2), 0xFFFFFFu);
    EXPECT_EQ(document.LevelColors.Missing(), 30u);
    EXPECT_EQ(document.MissingColor, 30u);

    ASSERT_TRUE(Load(scale + "[COLORS]\nMapMissingColor=255;\n"));
    for (std::uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(document.LevelColors.Level(i), 0xFFFFFFu);
    }
    ASSERT_TRUE(Load(scale + "[COLORS]\nMapColors={ };\n"));
    EXPECT_EQ(prompt.Last().text, "Unable colors");
    ASSERT_TRUE(Load(scale + "[COLORS]\nMapColors={-1 4294967295 1 2 3 4 5};\n"));
    EXPECT_EQ(document.LevelColors.Level(0), 0xFFFFFFFFu);
    EXPECT_EQ(document.LevelColors.Level(1), 0xFFFFFFFFu);
    EXPECT_EQ(document.LevelColors.Missing(), 2u); // no more entries than levels
}

TEST_F(Loading, MapAttributesAndPage) {
    ASSERT_TRUE(Load("[MAP.ATTRIBUTES]\nDemlaMapType=VLParallelogram;\nContourLines=Yes;\n"
                     "ContourLinesWidth=2.5;\nContourLinesColor=255;\n[PAGESETUP]\n"
                     "Orientation=Portrait;\n"));
    EXPECT_EQ(document.MapType, VLParallelogramMap);
    EXPECT_TRUE(document.ContourLines);
    EXPECT_EQ(document.ContourLinesWidth, 2.5);
    EXPECT_EQ(document.ContourLinesColor, 255u);
    EXPECT_EQ(document.PageOrientation, kPortrait);

    // An unknown map type keeps the one before; an orientation without its
    // key is landscape.
    ASSERT_TRUE(Load("[MAP.ATTRIBUTES]\nDemlaMapType=Hexagon;\n[PAGESETUP]\n"));
    EXPECT_EQ(prompt.Last().caption, "Alert");
    EXPECT_EQ(document.MapType, VLParallelogramMap);
    EXPECT_EQ(document.PageOrientation, kLandscape);

    // Three data columns cannot make triangles.
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=data.csv;\n[MAP.ATTRIBUTES]\nDemlaMapType=Triangle;\n"));
    EXPECT_THAT(prompt.Last().text, HasSubstr("must be even for triangle maps"));
    EXPECT_EQ(document.MapType, RectangleMap);
}

// A load starts by emptying the data and the scale only: what the file does
// not give keeps what the map held, and a legend placed by itself stays.
TEST_F(Loading, ReloadingResetsTheDataAndTheScaleOnly) {
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=data.csv;\n[ANNOTATION]\nText=\"x\";\n"
                     "[MAP.ATTRIBUTES]\nDemlaMapType=HParallelogram;\n"
                     "[PAGESETUP]\nOrientation=Portrait;\n[PLOT.FRAME]\nxSize=500;\n"
                     "[MAP.SCALE]\nMapScale={1 2};\nAppearance=1;\nxOrigin=2500;\n"));
    EXPECT_EQ(document.Legend.GetXOrigin(), 2500);
    document.Legend.SetPosition(2600, 300, 100, 900); // moved in the window
    ASSERT_TRUE(Load("[SYSTEM]\nType=Demla;\n[MAP.SCALE]\nScaleMargin=40;\n"));
    EXPECT_EQ(document.Legend.GetXOrigin(), 2600);
    EXPECT_EQ(document.Legend.GetYOrigin(), 300);
    EXPECT_TRUE(document.DataMatrix.IsEmpty());
    EXPECT_EQ(document.BoundaryCount(), 8u);
    EXPECT_TRUE(document.Texts.List().IsEmpty());
    EXPECT_EQ(document.MapType, HParallelogramMap);
    EXPECT_EQ(document.PageOrientation, kPortrait);
    EXPECT_EQ(document.Frame.xSize, 1808); // the frame reads its defaults

    // A legend that follows the plot is placed beside it anew.
    ASSERT_TRUE(Load("[MAP.SCALE]\nAppearance=0;\n[PLOT.FRAME]\nxOrigin=100;\nxSize=1000;\n"));
    ASSERT_TRUE(Load("[PLOT.FRAME]\nxOrigin=100;\nxSize=1000;\n"));
    EXPECT_EQ(document.Legend.GetXOrigin(), 100 + 1000 + document.Legend.GetScaleMargin());
}

// A new document from a generated setup file takes the built-in defaults.
TEST_F(Loading, GeneratedSetupFilesTakeTheBuiltInDefaults) {
    document.GeneratedSetup = true;
    ASSERT_TRUE(Load("[DATA]\nMapMatrix=data.csv;\nFormat=ASCII;\n"
                     "[PLOT.FRAME]\nxSize=500;\n[COLORS]\nMapMissingColor=1;\n"));
    EXPECT_EQ(document.Frame.x2, 3);
    EXPECT_EQ(document.Frame.y2, 2);
    EXPECT_EQ(document.Frame.xSize, 1808);
    EXPECT_EQ(document.Frame.title[0].text, "Main Title");
    EXPECT_EQ(document.Frame.xLabel[0].text, "Columns");
    EXPECT_EQ(document.Frame.yLabel[0].text, "Rows");
    // Six values for nine levels: every quantile is the smallest value, and
    // the eight equal boundaries are one.
    EXPECT_EQ(document.BoundaryCount(), 1u);
    EXPECT_EQ(document.LevelColors.GetCount(), 3u);
    // The Geography colours, from its row of three for these two levels.
    EXPECT_EQ(document.LevelColors.Level(0), 0xFF0000u);
    EXPECT_EQ(document.LevelColors.Level(1), 0x00FF00u);
    EXPECT_EQ(document.LevelColors.Missing(), 0xFFFFFFu);
}

// A generated map of many columns gets as many labels as fit side by side.
TEST_F(Loading, GeneratedMapsHaveReadableTicks) {
    document.GeneratedSetup = true;
    for (const auto& [columns, ticks] :
         {std::pair{10, "0 10"}, std::pair{100, "0 10 20 30 40 50 60 70 80 90 100"},
          std::pair{1000, "0 100 200 300 400 500 600 700 800 900 1000"},
          std::pair{5000, "0 500 1000 1500 2000 2500 3000 3500 4000 4500 5000"},
          std::pair{230, "0 20 40 60 80 100 120 140 160 180 200 220 230"}}) {
        std::string row = "1";
        for (int c = 1; c < columns; ++c) {
            row += ",1";
        }
        folder.Write("wide.csv", row + "\n");
        ASSERT_TRUE(document.Open(folder.Write("wide.dml", "[DATA]\nMapMatrix=wide.csv;\n")));
        std::string labels;
        for (std::uint32_t i = 0; i < document.Frame.xTickLabels.GetCount(); ++i) {
            labels += (i == 0 ? "" : " ") + document.Frame.xTickLabels[i].text;
        }
        EXPECT_EQ(labels, ticks) << columns;
        EXPECT_EQ(document.Frame.yTickLabels.GetCount(), 2u);
    }
}

// A matrix of mostly zeros, of rates too small for four decimals.
TEST_F(Loading, GeneratedLegendsTellTheirLevelsApart) {
    std::string rows;
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 10; ++c) {
            const double value = r < 6 ? 0.0 : (r * 10 + c) * 1e-6;
            rows += (c == 0 ? "" : ",") + std::to_string(value);
        }
        rows += "\n";
    }
    folder.Write("small.csv", rows);
    document.GeneratedSetup = true;
    ASSERT_TRUE(document.Open(folder.Write("small.dml", "[DATA]\nMapMatrix=small.csv;\n")));
    // 60 zeros among 100 values: the first five of eight quantiles are 0.
    EXPECT_EQ(document.BoundaryCount(), 4u);
    EXPECT_EQ(document.ScaleValues.Get(0, 0), 0);
    EXPECT_EQ(document.LevelColors.GetCount(), 6u);
    EXPECT_EQ(document.Legend.GetTickFormat(), "F5");
    EXPECT_EQ(document.Frame.xFormat, "F2");

    // A stored file keeps the boundaries and the format it names.
    ChartDocument stored(prompt);
    ASSERT_TRUE(stored.Open(folder.Write(
        "stored.dml", "[DATA]\nMapMatrix=small.csv;\n[MAP.SCALE]\nMapScale={0,0,0,1e-5};\n")));
    EXPECT_EQ(stored.BoundaryCount(), 4u);
    EXPECT_EQ(stored.Legend.GetTickFormat(), "F4");
}

TEST_F(Loading, AFileThatIsNotASetupFileSaysSoAndIsNotSavedOverSilently) {
    folder.Write("data.csv", kSmallData);
    for (const char* text : {"1,2,3\n4,5,6\n", "[MY.NOTES]\nWhatever=1;\n"}) {
        const std::string path = folder.Write("table.dml", text);
        ScriptedPrompt own;
        ChartDocument map(own);
        ASSERT_TRUE(map.Open(path));
        EXPECT_TRUE(map.GetSources().notSetupFile);
        ASSERT_EQ(own.Count(), 1u);
        EXPECT_EQ(own.Last().caption, "Warning");
        EXPECT_EQ(own.Last().text, path + " is not a setup file of Demla: it holds none of the "
                                          "sections of a map's setup file.");
        // Saving over it asks, and No keeps the file.
        own.Then(PromptAnswer::No);
        EXPECT_FALSE(map.Save());
        EXPECT_EQ(ReadTestFile(path), text);
        EXPECT_FALSE(fs::exists(path + ".bak"));
        // A copy elsewhere asks nothing.
        map.SetPath(folder / "copy.dml");
        EXPECT_TRUE(map.Save());
        EXPECT_EQ(own.Count(), 2u);
        EXPECT_EQ(ReadTestFile(path), text);
    }
    // A setup file without data, and an empty file, are empty maps.
    for (const char* text : {"[PAGESETUP]\nPageOrientation=1;\n", "", " \r\n"}) {
        ScriptedPrompt own;
        ChartDocument map(own);
        ASSERT_TRUE(map.Open(folder.Write("empty.dml", text)));
        EXPECT_FALSE(map.GetSources().notSetupFile);
        EXPECT_EQ(own.Count(), 0u);
    }
}

} // namespace
