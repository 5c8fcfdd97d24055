#include "dialogs/PlotFramePages.h"
#include "dialogs/PlotFrameSheet.h"
#include "dialogs/ScaleSheet.h"
#include "document/ChartDocument.h"
#include "gui/Commands.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"
#include "scale/MapScale.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

using ::testing::HasSubstr;

namespace {

// Types into a number field as a user does (the field then counts as edited).
void Type(NumberField* field, const QString& text) {
    field->setText(text);
    emit field->textEdited(text);
}

std::vector<std::string> Lines(const MList<WText>& lines) {
    std::vector<std::string> texts;
    lines.ForEach([&](const WText& line) { texts.push_back(line.text); });
    return texts;
}

std::vector<double> Values(const MList<double>& values) {
    std::vector<double> all;
    values.ForEach([&](double v) { all.push_back(v); });
    return all;
}

std::vector<double> Boundaries(const ChartDocument& document) {
    std::vector<double> values;
    for (std::uint32_t i = 0; i < document.BoundaryCount(); ++i) {
        values.push_back(document.ScaleValues.Get(i, 0));
    }
    return values;
}

class Sheets : public ::testing::Test {
protected:
    Sheets() {
        window.show();
        map = dynamic_cast<MapView*>(
            window.OpenFile(folder.File("dk-male-mortality.dml"), ViewKind::Map));
    }
    ~Sheets() override {
        BoxAnswers answers;
        answers.Then(QMessageBox::No);
        window.CloseAll();
    }
    ChartDocument& Document() { return map->Entry().Document(); }
    ExampleFolder folder;
    MainWindow window;
    MapView* map = nullptr;
    int repaints = 0;
};

TEST_F(Sheets, CoordinatesAreCheckedAndCancelRestoresAfterApplies) {
    ASSERT_NE(map, nullptr);
    PlotFrameSheet sheet(
        Document(), PlotFrameSheet::AllPages(), [this] { ++repaints; }, map);
    EXPECT_EQ(sheet.Tabs()->count(), 14);
    auto* range = static_cast<CoordinatesPage*>(sheet.PageWidget(PlotFrameSheet::Coordinates));
    EXPECT_EQ(range->x1->text(), "1974");
    {
        BoxAnswers answers;
        Type(range->x1, "2020");
        EXPECT_FALSE(sheet.Apply());
        EXPECT_EQ(answers.texts, std::vector<std::string>{"x1 must be less than x2"});
        EXPECT_EQ(Document().Frame.x1, 1974);
    }
    Type(range->x1, "1980");
    ASSERT_TRUE(sheet.Apply());
    EXPECT_EQ(Document().Frame.x1, 1980);
    auto* frame = static_cast<FrameRectPage*>(sheet.PageWidget(PlotFrameSheet::Frame));
    Type(frame->x, "400");
    ASSERT_TRUE(sheet.Apply());
    EXPECT_EQ(Document().Frame.xOrigin, 400);
    EXPECT_GE(repaints, 3);
    sheet.reject();
    EXPECT_EQ(Document().Frame.x1, 1974);
    EXPECT_EQ(Document().Frame.xOrigin, 330);
}

TEST_F(Sheets, SizesAndTickCountsThatCannotBeDrawnAreRefused) {
    ASSERT_NE(map, nullptr);
    PlotFrameSheet sheet(
        Document(), PlotFrameSheet::AllPages(), [] {}, map);
    auto* frame = static_cast<FrameRectPage*>(sheet.PageWidget(PlotFrameSheet::Frame));
    BoxAnswers answers;
    Type(frame->width, "0");
    EXPECT_FALSE(sheet.Apply());
    Type(frame->width, "1800");
    Type(frame->height, "-5");
    EXPECT_FALSE(sheet.Apply());
    Type(frame->height, "1500");
    auto* autoX = static_cast<AutoTicksPage*>(sheet.PageWidget(PlotFrameSheet::AutoXTicks));
    autoX->integer->click();
    Type(autoX->endingOn, "0");
    EXPECT_FALSE(sheet.Apply());
    autoX->numeric->click();
    Type(autoX->count, "5000");
    EXPECT_FALSE(sheet.Apply());
    EXPECT_EQ(answers.texts, (std::vector<std::string>{
                                 "Width must be positive", "Height must be positive",
                                 "\"Ending on\" must be 1 or more",
                                 "That many ticks cannot be drawn: at most 1000 fit on an axis."}));
    EXPECT_EQ(Document().Frame.xSize, 1808);
}

TEST_F(Sheets, TitleAndSubtitleRules) {
    ASSERT_NE(map, nullptr);
    MList<WText>& title = Document().Frame.title;
    const auto apply = [&](std::vector<std::string> lines, const char* titleText,
                           const char* subtitleText) {
        title.Flush();
        for (const std::string& text : lines) {
            WText line;
            line.text = text;
            title.addAtTail(line);
        }
        PlotFrameSheet sheet(
            Document(), {PlotFrameSheet::Title}, [] {}, map);
        auto* page = static_cast<TitlePage*>(sheet.PageWidget(PlotFrameSheet::Title));
        page->title->edit->setText(titleText);
        page->subtitle->edit->setText(subtitleText);
        EXPECT_TRUE(sheet.Apply());
        return Lines(title);
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(apply({}, "", "Sub"), (Texts{"", "Sub"}));
    EXPECT_EQ(apply({}, "Main", ""), (Texts{"Main"}));
    EXPECT_EQ(apply({"Main"}, "", ""), (Texts{}));
    EXPECT_EQ(apply({"Main", "Sub"}, "Main", ""), (Texts{"Main"}));
    EXPECT_EQ(apply({"Main", "Sub", "Third"}, "", ""), (Texts{"", "", "Third"}));
    EXPECT_EQ(apply({"Main", "Sub", "Third"}, "New", "Other"), (Texts{"New", "Other", "Third"}));
}

TEST_F(Sheets, TitlesFollowTheEncodingOfTheSetupFile) {
    ASSERT_NE(map, nullptr);
    Document().GetSources().textEncoding = TextEncoding::Windows1252;
    MList<WText>& title = Document().Frame.title;
    title[0].text = "D\xF8"
                    "delighed";
    PlotFrameSheet sheet(
        Document(), {PlotFrameSheet::Title}, [] {}, map);
    auto* page = static_cast<TitlePage*>(sheet.PageWidget(PlotFrameSheet::Title));
    EXPECT_EQ(page->title->edit->text(), QString::fromUtf8("D\xC3\xB8"
                                                           "delighed"));
    page->title->edit->setText(QString::fromUtf8("M\xC3\xA6nd \xE2\x80\x93 \xCE\xA9"));
    {
        // Omega has no byte in Windows-1252: refused, the title kept.
        BoxAnswers answers;
        EXPECT_FALSE(sheet.Apply());
        EXPECT_EQ(answers.texts.size(), 1u);
        EXPECT_EQ(Lines(title)[0], "D\xF8"
                                   "delighed");
    }
    page->title->edit->setText(QString::fromUtf8("M\xC3\xA6nd \xE2\x80\x93"));
    ASSERT_TRUE(sheet.Apply());
    EXPECT_EQ(Lines(title)[0], "M\xE6"
                               "nd \x96");
}

TEST_F(Sheets, TickListInsertsInTheMiddleAndConvertsLabels) {
    ASSERT_NE(map, nullptr);
    PlotFrameSheet sheet(
        Document(), PlotFrameSheet::XTickPages(), [] {}, map);
    EXPECT_EQ(sheet.Tabs()->count(), 5);
    EXPECT_EQ(sheet.Tabs()->tabText(0), "X-Ticks");
    auto* ticks = static_cast<TicksPage*>(sheet.PageWidget(PlotFrameSheet::XTicks));
    // Ticks 1974, 1980, 1990, 2000, 2010 on the range 1974..2013.
    ticks->list->setCurrentRow(2);
    ticks->Insert();
    EXPECT_EQ(ticks->values[2], 1985);
    EXPECT_EQ(ticks->list->currentItem()->text(), "1985.00");
    // Before the first tick, which is not above the low end: the low end.
    ticks->list->setCurrentRow(0);
    ticks->Insert();
    EXPECT_EQ(ticks->values[0], 1974);
    // Convert Label: the number at the start of the label is the value.
    ticks->list->setCurrentRow(1);
    ticks->convert->setChecked(true);
    EXPECT_FALSE(ticks->location->isEnabled());
    ticks->label->setText("1976 (war)");
    emit ticks->label->textEdited("1976 (war)");
    ASSERT_TRUE(sheet.Apply());
    EXPECT_EQ(Values(Document().Frame.xTickValues),
              (std::vector<double>{1974, 1976, 1980, 1985, 1990, 2000, 2010}));
    EXPECT_EQ(Lines(Document().Frame.xTickLabels)[1], "1976 (war)");

    // An empty list: the low end of the range.
    for (int i = ticks->list->count(); i > 0; --i) {
        ticks->list->setCurrentRow(0);
        ticks->Delete();
    }
    ticks->Insert();
    EXPECT_EQ(ticks->values, (std::vector<double>{1974}));
}

TEST_F(Sheets, AutomaticTicksRefreshTheTickList) {
    ASSERT_NE(map, nullptr);
    PlotFrameSheet sheet(
        Document(), PlotFrameSheet::YTickPages(), [] {}, map);
    auto* autoY = static_cast<AutoTicksPage*>(sheet.PageWidget(PlotFrameSheet::AutoYTicks));
    auto* ticks = static_cast<TicksPage*>(sheet.PageWidget(PlotFrameSheet::YTicks));
    autoY->step->click();
    Type(autoY->tickStep, "25");
    ASSERT_TRUE(sheet.Apply());
    EXPECT_EQ(Values(Document().Frame.yTickValues), (std::vector<double>{0, 25, 50, 75, 100}));
    EXPECT_EQ(ticks->list->count(), 5);
    // OK again without touching the page keeps the ticks.
    Document().Frame.yTickValues.Flush();
    Document().Frame.yTickLabels.Flush();
    ticks->Fill();
    ASSERT_TRUE(sheet.Apply());
    EXPECT_TRUE(Values(Document().Frame.yTickValues).empty());
}

TEST_F(Sheets, AxisAndGridPages) {
    ASSERT_NE(map, nullptr);
    PlotFrameSheet sheet(
        Document(), PlotFrameSheet::AllPages(), [] {}, map);
    auto* yAxis = static_cast<AxisPage*>(sheet.PageWidget(PlotFrameSheet::YAxis));
    for (QCheckBox* box : {yAxis->secondTicks, yAxis->secondLabels, yAxis->firstTicks}) {
        box->setChecked(false);
    }
    yAxis->firstLabels->setChecked(true);
    yAxis->out->setChecked(true);
    auto* grid = static_cast<GridLinesPage*>(sheet.PageWidget(PlotFrameSheet::XGridLines));
    Type(grid->width, "3");
    grid->style->setCurrentIndex(2);
    grid->visible->setChecked(true);
    BoxAnswers answers;
    ASSERT_TRUE(sheet.Apply());
    EXPECT_EQ(answers.texts, std::vector<std::string>{"This style is valid only when the line "
                                                      "width is one or zero in device units"});
    EXPECT_EQ(Document().Frame.yTicksSetup, TicksSetup::FirstLabels);
    EXPECT_EQ(Document().Frame.xGridLineWidth, 3);
    EXPECT_EQ(Document().Frame.xGridLineType, 2);
    EXPECT_TRUE(Document().Frame.xGridLines);
}

TEST_F(Sheets, PlotFrameChangesAreSavedAndUndone) {
    ASSERT_NE(map, nullptr);
    // The sheet opened from the view, answered OK with a new x range.
    QTimer::singleShot(50, [] {
        auto* sheet = qobject_cast<PlotFrameSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        auto* range = static_cast<CoordinatesPage*>(sheet->PageWidget(PlotFrameSheet::Coordinates));
        Type(range->x2, "2020");
        sheet->accept();
    });
    map->Commands().Execute(Cmd::PlotFrame);
    EXPECT_EQ(Document().Frame.x2, 2020);
    EXPECT_TRUE(map->IsDirty());
    EXPECT_EQ(window.UndoMapAction()->text(), "&Undo Plot Frame");
    window.UndoMapAction()->trigger();
    EXPECT_EQ(Document().Frame.x2, 2013);
    window.RedoMapAction()->trigger();
    ASSERT_TRUE(Document().Save());
    ChartDocument reread(Document().GetPrompt());
    ASSERT_TRUE(reread.Open(Document().GetPath()));
    EXPECT_EQ(reread.Frame.x2, 2020);
}

TEST_F(Sheets, ScaleLevelsAddAndDeleteAtEverySelectedBoundary) {
    ASSERT_NE(map, nullptr);
    // Boundaries 0.1, 0.2, ... 409.6 (13 of them).
    ScaleSheet sheet(
        Document(), [] {}, map);
    ScaleLevelsPage* levels = sheet.Levels();
    levels->Select({1, 3});
    EXPECT_FALSE(levels->value->isEnabled());
    EXPECT_TRUE(levels->caption->text().isEmpty());
    levels->AddLevels();
    // Each selected boundary got its new level below it, where chosen.
    EXPECT_EQ(BoundaryCount(levels->scale), 15u);
    EXPECT_DOUBLE_EQ(levels->scale.Get(1, 0), 0.15);
    EXPECT_DOUBLE_EQ(levels->scale.Get(2, 0), 0.2);
    EXPECT_DOUBLE_EQ(levels->scale.Get(4, 0), 0.6);
    EXPECT_DOUBLE_EQ(levels->scale.Get(5, 0), 0.8);
    levels->Select({1, 4});
    levels->DeleteLevels();
    EXPECT_EQ(BoundaryCount(levels->scale), 13u);
    EXPECT_DOUBLE_EQ(levels->scale.Get(1, 0), 0.2);
    EXPECT_DOUBLE_EQ(levels->scale.Get(3, 0), 0.8);

    levels->Select({2});
    EXPECT_EQ(levels->caption->text(), "Level 2/12");
    levels->showLabel->click();
    ASSERT_TRUE(sheet.Apply());
    EXPECT_EQ(Document().Legend.GetLevelFlags()[2], MScale::kHideLabel);
    sheet.reject();
    EXPECT_EQ(Document().Legend.GetLevelFlags()[2], 0u);
}

// The levels page writes its scale through the document: the map is
// classified again and the legend's flags fit the new boundaries even when
// the page's own do not, and a refusal of a later page keeps that so.
TEST_F(Sheets, AppliedLevelsKeepTheMapAndTheLegendInStep) {
    ASSERT_NE(map, nullptr);
    ScaleSheet sheet(
        Document(), [] {}, map);
    ScaleLevelsPage* levels = sheet.Levels();
    levels->Select({0, 1, 2});
    levels->DeleteLevels();
    levels->flags = LevelFlags();
    sheet.Frame()->link->setChecked(false);
    BoxAnswers answers;
    Type(sheet.Frame()->width, "0");
    EXPECT_FALSE(sheet.Apply());
    EXPECT_EQ(answers.texts, std::vector<std::string>{"Width must be positive"});
    ASSERT_EQ(Document().BoundaryCount(), 10u);
    EXPECT_EQ(Document().Legend.GetLevelFlags().GetCount(), 10u);
    const WMAT& cells = Document().LevelMatrix;
    std::uint32_t lowest = 0xFFFF;
    for (std::uint32_t r = 0; r < cells.GetRows(); ++r) {
        for (std::uint32_t c = 0; c < cells.GetColumns(); ++c) {
            lowest = std::min<std::uint32_t>(lowest, cells.Get(r, c));
        }
    }
    // Every value at or below 0.8 (now the first boundary) is in level 0.
    EXPECT_EQ(lowest, 0u);
    EXPECT_DOUBLE_EQ(Document().ScaleValues.Get(0, 0), 0.8);
    sheet.reject();
    EXPECT_EQ(Document().BoundaryCount(), 13u);
    EXPECT_EQ(Document().Legend.GetLevelFlags().GetCount(), 13u);
}

TEST_F(Sheets, SequenceMessagesInTheirOrder) {
    ASSERT_NE(map, nullptr);
    ScaleSheet sheet(
        Document(), [] {}, map);
    SequencePage* sequence = sheet.Sequence();
    BoxAnswers answers;
    sequence->additive->click();
    Type(sequence->increment, "0");
    EXPECT_FALSE(sheet.Apply());
    sequence->multiplicative->click();
    Type(sequence->multiplier, "1");
    Type(sequence->mulStart, "0");
    EXPECT_FALSE(sheet.Apply());
    Type(sequence->multiplier, "3");
    EXPECT_FALSE(sheet.Apply());
    Type(sequence->mulStart, "1");
    Type(sequence->mulLevels, "0");
    EXPECT_FALSE(sheet.Apply());
    EXPECT_EQ(answers.texts, (std::vector<std::string>{"Increment must be positive",
                                                       "Multiplier must be higher than one",
                                                       "Start value must be positive",
                                                       "Number of scale levels is out of range"}));
    EXPECT_EQ(Document().BoundaryCount(), 13u);
    Type(sequence->mulLevels, "4");
    ASSERT_TRUE(sheet.Apply());
    EXPECT_EQ(Boundaries(Document()), (std::vector<double>{1, 3, 9, 27}));
    EXPECT_EQ(Document().LevelColors.GetCount(), 6u);
}

} // namespace
