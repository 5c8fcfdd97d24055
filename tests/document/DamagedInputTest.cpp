#include "document/ChartDocument.h"
#include "document/DocumentTestSupport.h"
#include "frame/PlotFrame.h"
#include "setup/DemlaSetupException.h"
#include "support/ScriptedPrompt.h"

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;

namespace {

class DamagedInput : public ::testing::Test {
protected:
    bool Load(const std::string& setup, const std::string& data = "1,2,3\r\n4,5,6\r\n") {
        folder.Write("data.csv", data);
        return document.Open(folder.Write("map.dml", setup));
    }
    // Opens path into reloaded; true when it opened without a message.
    bool Reload(const std::string& path) {
        reloaded = std::make_unique<ChartDocument>(quiet);
        return reloaded->Open(path) && quiet.Count() == 0;
    }

    TempTestFolder folder;
    ScriptedPrompt prompt;
    ChartDocument document{prompt};
    ScriptedPrompt quiet;
    std::unique_ptr<ChartDocument> reloaded;
};

constexpr const char* kData = "[DATA]\r\nMapMatrix=data.csv;\r\nFormat=ASCII;\r\n";

// A zero byte, or a file cut off inside a value, is an error naming the
// line: the map opens only with errors, which saving does not take over
// silently.
TEST_F(DamagedInput, DamagedSetupFilesOpenWithErrors) {
    const std::string zero = std::string(kData) + "[PLOT.FRAME]\r\nxTicks={0,3};\r\n" +
                             std::string(1, '\0') + "yTicks={0,2};\r\n";
    ASSERT_TRUE(Load(zero));
    EXPECT_TRUE(document.OpenedWithErrors());
    ASSERT_GE(prompt.Count(), 2u);
    const std::string& report = prompt.Entries()[prompt.Count() - 2].text;
    EXPECT_EQ(prompt.Entries()[prompt.Count() - 2].caption, kSetupExceptionCaption);
    EXPECT_THAT(report, HasSubstr("Line: 6\r\n"));
    EXPECT_THAT(report, HasSubstr(SetupExceptionMessage(kSetupZeroByte)));

    ASSERT_TRUE(Load(std::string(kData) + "[COLORS]\r\nMapColors={\r\n1\r\n2\r\n"));
    EXPECT_TRUE(document.OpenedWithErrors());
    EXPECT_THAT(prompt.Entries()[prompt.Count() - 2].text,
                HasSubstr("Item: MapColors\r\nLine: 5\r\n"));
    // Saving what could be read asks first, and No keeps the file.
    const std::string before = ReadTestFile(folder / "map.dml");
    prompt.Then(PromptAnswer::No);
    EXPECT_FALSE(document.Save());
    EXPECT_EQ(ReadTestFile(folder / "map.dml"), before);
}

TEST_F(DamagedInput, NumbersTooLargeForADoubleAreMissing) {
    ASSERT_TRUE(Load(kData, "1,1e400,3\r\n-1e999,5,1E+400\r\n"));
    EXPECT_TRUE(document.DataMatrix.IsMissing(0, 1));
    EXPECT_TRUE(document.DataMatrix.IsMissing(1, 0));
    EXPECT_TRUE(document.DataMatrix.IsMissing(1, 2));
    EXPECT_EQ(document.DataMatrix.Get(1, 1), 5);
    // One warning for the file, however many numbers.
    ASSERT_EQ(prompt.Count(), 1u);
    EXPECT_EQ(prompt.Last().caption, "Warning");
    EXPECT_THAT(prompt.Last().text, HasSubstr("3 numbers of the data file are too large"));
    // The automatic scale stands on the numbers that were read.
    for (std::uint32_t i = 0; i < document.BoundaryCount(); ++i) {
        EXPECT_TRUE(std::isfinite(document.ScaleValues.Get(i, 0))) << i;
    }
    // The largest double itself is a number.
    ASSERT_TRUE(Load(kData, "1.7976931348623157e308,1\r\n"));
    EXPECT_EQ(document.DataMatrix.Get(0, 0), 1.7976931348623157e308);
}

TEST_F(DamagedInput, AnAxisRangeWithoutValuesIsReportedAndLeftOut) {
    ASSERT_TRUE(
        Load(std::string(kData) + "[PLOT.FRAME]\r\nxTicks={-0,-0};\r\nyTicks={5,9,2};\r\n"));
    EXPECT_FALSE(document.OpenedWithErrors());
    ASSERT_EQ(prompt.Count(), 1u);
    EXPECT_EQ(prompt.Last().caption, "Warning");
    EXPECT_THAT(prompt.Last().text, HasSubstr("xTicks from -0 to -0"));
    EXPECT_THAT(prompt.Last().text, HasSubstr("drawn with the range 0 to 1"));
    EXPECT_EQ(document.Frame.x1, 0);
    EXPECT_EQ(document.Frame.x2, 1);
    EXPECT_EQ(document.Frame.y1, 5);
    EXPECT_EQ(document.Frame.y2, 9);

    // Reversed, infinite and too narrow ranges alike; a range that holds
    // anything a page can show is kept.
    for (const char* range : {"{3,2}", "{0,1e400}", "{1,1}", "{0,1e-300}"}) {
        ASSERT_TRUE(Load(std::string(kData) + "[PLOT.FRAME]\r\nyTicks=" + range + ";\r\n"));
        EXPECT_THAT(prompt.Last().text, HasSubstr("y axis range")) << range;
        EXPECT_TRUE(document.Frame.emptyYRange.has_value()) << range;
        EXPECT_EQ(document.Frame.y2, 1) << range;
    }
    EXPECT_FALSE(PlotFrame::IsUsableRange(0, 1e-291));
    EXPECT_TRUE(PlotFrame::IsUsableRange(0, 1e-289));
    EXPECT_TRUE(PlotFrame::IsUsableRange(-1e307, 1e307));
    EXPECT_FALSE(PlotFrame::IsUsableRange(-1e308, 1e308));
}

// Whatever the writer writes, the reader reads back as it was.
TEST_F(DamagedInput, AnnotationsRoundTripExactly) {
    ASSERT_TRUE(Load(std::string(kData) +
                     "[ANNOTATION]\r\nText={\"A\", \"B\", \"C\"};\r\n"
                     "TextLocation={1234.567 0.1 0 0, 10 20 30 40, 1e-7 3.25 1 1,};\r\n"
                     "TextFrame.*={2 1 255 hatched 7 3};\r\n"
                     "Line={1234.567 0.30000000000000004 12 13,};\r\n"
                     "LineAttributes={page 0.123456789 0 0,};\r\n"));
    ASSERT_EQ(prompt.Count(), 0u);
    // Text 0 has an empty box and a frame of its own, text 1 no frame.
    document.Texts.List()[0].SetFrame(FrameRecord{0.25, 0, 1, BrushStyle::Solid, 2, 0});
    document.Texts.List()[1].SetFrame(std::nullopt);
    ASSERT_TRUE(document.Save());
    ASSERT_TRUE(Reload(document.GetPath())) << ReadTestFile(document.GetPath());
    auto& texts = reloaded->Texts.List();
    EXPECT_EQ(texts[0].GetA().GetX(), 1234.567);
    EXPECT_EQ(texts[0].GetA().GetY(), 0.1);
    EXPECT_EQ(texts[2].GetA().GetX(), 1e-7);
    ASSERT_NE(texts[0].GetFrame(), nullptr);
    EXPECT_EQ(texts[0].GetFrame()->GetFrameRecord(),
              (FrameRecord{0.25, 0, 1, BrushStyle::Solid, 2, 0}));
    EXPECT_EQ(texts[1].GetFrame(), nullptr) << ReadTestFile(document.GetPath());
    ASSERT_NE(texts[2].GetFrame(), nullptr);
    EXPECT_EQ(texts[2].GetFrame()->GetFrameRecord(),
              (FrameRecord{2, 1, 255, BrushStyle::Hatched, 7, 3}));
    auto& line = reloaded->Lines.List()[0];
    EXPECT_EQ(line.GetA().GetX(), 1234.567);
    EXPECT_EQ(line.GetA().GetY(), 0.30000000000000004);
    EXPECT_EQ(line.GetWidth(), 0.123456789);
}

} // namespace
