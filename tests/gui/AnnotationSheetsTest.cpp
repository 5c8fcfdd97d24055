#include "dialogs/AnnotationSheetDialogs.h"
#include "dialogs/ColorSwatch.h"
#include "dialogs/PenStyleList.h"
#include "document/ChartDocument.h"
#include "gui/Commands.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"
#include "support/ScriptedPrompt.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLabel>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using ::testing::ElementsAre;

namespace {

QStringList TabTitles(const AnnotationSheet& sheet) {
    QStringList titles;
    for (int i = 0; i < sheet.Pages()->count(); ++i) {
        titles << sheet.Pages()->tabText(i);
    }
    return titles;
}

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->itemText(i);
    }
    return items;
}

// Replaces the field's text as typing does (keys for ASCII; test keys
// cannot type other characters).
void Type(QLineEdit* field, const QString& text) {
    field->selectAll();
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
        QTest::keyClicks(field, text);
    } else {
        field->insert(text);
    }
}

// Runs action on the modal dialog of type D that opens next, once it is
// open.
template <typename D>
void WhenOpen(std::function<void(D*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        }
    });
    timer->start();
}

// What a refusal box showed: its text, caption, icon and owner.
struct Refusal {
    std::string text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* owner = nullptr;
};

// Presses OK on the sheet and records the boxes it raises.
std::vector<Refusal> PressOk(AnnotationSheet& sheet) {
    std::vector<Refusal> refusals;
    BoxAnswers answers;
    answers.whileOpen = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        refusals.push_back(
            {box->text().toStdString(), box->windowTitle(), box->icon(), box->parentWidget()});
    };
    sheet.Buttons()->button(QDialogButtonBox::Ok)->click();
    return refusals;
}

class AnnotationSheets : public ::testing::Test {
protected:
    AnnotationSheets() { Load(); }

    void Load() { ASSERT_TRUE(document.Open(folder / "dk-male-mortality.dml")); }
    // The document saved and opened again.
    void SaveAndReload() {
        ASSERT_TRUE(document.Save());
        Load();
    }

    ExampleFolder folder;
    ScriptedPrompt prompt;
    ChartDocument document{prompt};
};

TEST_F(AnnotationSheets, TextSheetShowsAndEditsAnExistingText) {
    TextAnnotationSheet sheet(document, 0, nullptr);
    EXPECT_EQ(sheet.windowTitle(), "Text");
    EXPECT_EQ(TabTitles(sheet), QStringList({"Text", "Frame", "Border", "Interior"}));
    ASSERT_NE(sheet.DeleteButton(), nullptr);
    EXPECT_EQ(sheet.DeleteButton()->text(), "&Delete");

    AnnoTextPage& text = *sheet.TextPage();
    EXPECT_EQ(text.TextField()->text(), "Source: Statistics Denmark, via the R package Epi");
    EXPECT_EQ(text.FontName()->text(), "Arial, 9 pt, italic");
    EXPECT_EQ(text.TextColor()->Color(), 0u);
    EXPECT_EQ(text.BkColor()->Color(), 0xFFFFFFu);
    EXPECT_EQ(text.Modes()->currentText(), "Transparent");
    EXPECT_EQ(text.Horizontal()->checkedButton()->text(), "&Left");
    EXPECT_EQ(text.Vertical()->checkedButton()->text(), "B&aseline");
    AnnoFramePage& frame = *sheet.FramePage();
    EXPECT_EQ(frame.XStart()->text(), "2030");
    EXPECT_EQ(frame.YStart()->text(), "40");
    EXPECT_EQ(frame.WidthField()->text(), "740");
    EXPECT_EQ(frame.HeightField()->text(), "60");
    EXPECT_TRUE(frame.Coordinates()->PageButton()->isChecked());
    const AnnoPenFields& border = sheet.BorderPage()->Fields();
    EXPECT_EQ(border.width->text(), "2");
    EXPECT_EQ(border.styles->currentText(), "Solid");
    EXPECT_EQ(border.swatch->Color(), 8421504u);
    AnnoInteriorPage& interior = *sheet.InteriorPage();
    EXPECT_EQ(interior.FillStyles()->currentText(), "Transparent");
    EXPECT_FALSE(interior.ChangeButton()->isEnabled());
    EXPECT_FALSE(interior.Hatches()->isEnabled());

    Type(text.TextField(), "Data: Statistics Denmark");
    text.Horizontal()->button(TextAlign::Right)->click();
    text.Vertical()->button(TextAlign::Top)->click();
    text.Modes()->setCurrentIndex(text.Modes()->findText("Opaque"));
    text.BkColor()->SetColor(0x00FFFF);
    Type(frame.XStart(), "100.5");
    Type(frame.WidthField(), "900");
    interior.FillStyles()->setCurrentIndex(interior.FillStyles()->findText("Hatched"));
    EXPECT_TRUE(interior.Hatches()->isEnabled());
    interior.Hatches()->SetStyle(HatchStyle::Cross);
    EXPECT_TRUE(PressOk(sheet).empty());
    EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Changed);

    ASSERT_EQ(document.Texts.List().GetCount(), 2u);
    const LText& edited = document.Texts.List()[0];
    EXPECT_EQ(edited.GetText(), "Data: Statistics Denmark");
    EXPECT_EQ(edited.GetHorizontalAlignment(), TextAlign::Right);
    EXPECT_EQ(edited.GetVerticalAlignment(), TextAlign::Top);
    EXPECT_EQ(edited.GetBkMode(), BackgroundMode::Opaque);
    EXPECT_EQ(edited.GetBkColor(), 0x00FFFFu);
    EXPECT_EQ(edited.GetAnchor().GetX(), 100.5);
    EXPECT_EQ(edited.GetAnchor().GetY(), 40.0);
    EXPECT_EQ(edited.GetBox().GetX(), 900.0);
    EXPECT_EQ(edited.GetAnchor().GetXAttribute(), PageUnits);
    // The frame follows the box and takes the new fill.
    ASSERT_NE(edited.GetFrame(), nullptr);
    EXPECT_EQ(edited.GetFrame()->GetA().GetX(), 100.5);
    EXPECT_EQ(edited.GetFrame()->GetB().GetX(), 1000.5);
    EXPECT_EQ(edited.GetFrame()->GetB().GetY(), 100.0);
    EXPECT_EQ(edited.GetFrame()->GetFrameRecord(),
              (FrameRecord{2, PenStyle::Solid, 8421504, BrushStyle::Hatched, 0xFFFFFF,
                           HatchStyle::Cross}));
    // Untouched: the font and the other text.
    EXPECT_EQ(edited.GetFont()->italic, 1);
    EXPECT_EQ(document.Texts.List()[1].GetText(), "born 1940");
}

TEST_F(AnnotationSheets, TextFrameAppearsAndGoesWithBorderAndInterior) {
    {
        // The second text has no frame: it shows none, and OK keeps none.
        TextAnnotationSheet sheet(document, 1, nullptr);
        EXPECT_EQ(sheet.BorderPage()->Fields().styles->currentText(), "None");
        EXPECT_EQ(sheet.InteriorPage()->FillStyles()->currentText(), "Transparent");
        EXPECT_TRUE(sheet.FramePage()->Coordinates()->PlotButton()->isChecked());
        Type(sheet.FramePage()->WidthField(), "10");
        Type(sheet.FramePage()->HeightField(), "5");
        PressOk(sheet);
        EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Changed);
        EXPECT_EQ(document.Texts.List()[1].GetFrame(), nullptr);
    }
    {
        TextAnnotationSheet sheet(document, 1, nullptr);
        sheet.BorderPage()->Fields().styles->SetStyle(PenStyle::Dot);
        PressOk(sheet);
        const LRectangle* frame = document.Texts.List()[1].GetFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->GetPenStyle(), PenStyle::Dot);
        EXPECT_EQ(frame->GetA().GetX(), 1995.0);
        EXPECT_EQ(frame->GetB().GetX(), 2005.0);
        EXPECT_EQ(frame->GetB().GetY(), 63.0);
        EXPECT_EQ(frame->GetA().GetXAttribute(), DataUnits);
    }
    {
        // Moved to the page: the text and its frame change system together.
        TextAnnotationSheet sheet(document, 1, nullptr);
        sheet.FramePage()->Coordinates()->PageButton()->click();
        sheet.BorderPage()->Fields().styles->SetStyle(PenStyle::Null);
        sheet.InteriorPage()->FillStyles()->setCurrentIndex(0); // "Solid"
        PressOk(sheet);
        const LText& text = document.Texts.List()[1];
        EXPECT_EQ(text.GetBox().GetYAttribute(), PageUnits);
        ASSERT_NE(text.GetFrame(), nullptr);
        EXPECT_EQ(text.GetFrame()->GetB().GetXAttribute(), PageUnits);
        EXPECT_EQ(text.GetFrame()->GetFill().style, BrushStyle::Solid);
    }
    {
        TextAnnotationSheet sheet(document, 1, nullptr);
        sheet.InteriorPage()->FillStyles()->setCurrentIndex(1); // "Transparent"
        PressOk(sheet);
        EXPECT_EQ(document.Texts.List()[1].GetFrame(), nullptr);
    }
}

TEST_F(AnnotationSheets, OkWithoutChangesAndCancelLeaveTheDocumentAlone) {
    const auto unchangedByOk = [&](AnnotationSheet& sheet) {
        EXPECT_TRUE(PressOk(sheet).empty());
        EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Unchanged);
    };
    const LText text = document.Texts.List()[0];
    const LRectangle rectangle = document.Rectangles.List()[0];
    const LLine line = document.Lines.List()[1];
    {
        TextAnnotationSheet sheet(document, 0, nullptr);
        unchangedByOk(sheet);
    }
    {
        RectangleAnnotationSheet sheet(document, 0, nullptr);
        unchangedByOk(sheet);
    }
    {
        LineAnnotationSheet sheet(document, 1, nullptr);
        unchangedByOk(sheet);
    }
    {
        TextAnnotationSheet sheet(document, 0, nullptr);
        Type(sheet.TextPage()->TextField(), "changed");
        Type(sheet.FramePage()->XStart(), "1");
        sheet.reject();
        EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Unchanged);
    }
    {
        RectangleAnnotationSheet sheet(document, 0, nullptr);
        Type(sheet.FramePage()->HeightField(), "99");
        sheet.BorderPage()->Fields().swatch->SetColor(0x123456);
        QTest::keyClick(&sheet, Qt::Key_Escape);
        EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Unchanged);
    }
    {
        LineAnnotationSheet sheet(document, 1, nullptr);
        Type(sheet.LinePage()->XEnd(), "0");
        sheet.reject();
    }
    {
        // A new object cancelled is not added.
        LineAnnotationSheet sheet(document, std::nullopt, nullptr);
        sheet.reject();
    }
    EXPECT_EQ(document.Texts.List()[0].GetText(), text.GetText());
    EXPECT_EQ(document.Texts.List()[0].GetAnchor().GetX(), text.GetAnchor().GetX());
    EXPECT_EQ(document.Rectangles.List()[0].GetB().GetY(), rectangle.GetB().GetY());
    EXPECT_EQ(document.Rectangles.List()[0].GetBorderColor(), rectangle.GetBorderColor());
    EXPECT_EQ(document.Lines.List()[1].GetB().GetX(), line.GetB().GetX());
    EXPECT_EQ(document.Lines.List().GetCount(), 2u);
}

TEST_F(AnnotationSheets, NegativeSizesAndNonNumbersAreRefusedAndTheSheetStaysOpen) {
    RectangleAnnotationSheet sheet(document, 0, nullptr);
    sheet.show();
    const LRectangle before = document.Rectangles.List()[0];

    Type(sheet.FramePage()->WidthField(), "-1");
    std::vector<Refusal> refusals = PressOk(sheet);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0].text, "Width must be positive or zero");
    EXPECT_EQ(refusals[0].caption, "Demla");
    EXPECT_EQ(refusals[0].icon, QMessageBox::Warning);
    EXPECT_EQ(refusals[0].owner, sheet.FramePage());
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Unchanged);

    Type(sheet.FramePage()->WidthField(), "4");
    Type(sheet.FramePage()->HeightField(), "-0.5");
    EXPECT_EQ(PressOk(sheet).at(0).text, "Height must be positive or zero");
    EXPECT_TRUE(sheet.isVisible());

    // A refusal on a later page brings that page to the front.
    Type(sheet.FramePage()->HeightField(), "3");
    Type(sheet.BorderPage()->Fields().width, "-2");
    sheet.Pages()->setCurrentIndex(0);
    refusals = PressOk(sheet);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0].text, "Width must be positive or zero");
    EXPECT_EQ(refusals[0].owner, sheet.BorderPage());
    EXPECT_EQ(sheet.Pages()->currentWidget(), sheet.BorderPage());
    EXPECT_TRUE(sheet.isVisible());

    Type(sheet.BorderPage()->Fields().width, "1,5");
    EXPECT_EQ(PressOk(sheet).at(0).text, "Width must be a number");
    EXPECT_EQ(document.Rectangles.List()[0].GetB().GetX(), before.GetB().GetX());

    // Numbers use "." whatever the locale.
    Type(sheet.BorderPage()->Fields().width, "1.5");
    EXPECT_TRUE(PressOk(sheet).empty());
    EXPECT_FALSE(sheet.isVisible());
    const LRectangle& after = document.Rectangles.List()[0];
    EXPECT_EQ(after.GetBorderWidth(), 1.5);
    EXPECT_EQ(after.GetB().GetX(), 1994.0);
    EXPECT_EQ(after.GetB().GetY(), 23.0);

    LineAnnotationSheet line(document, 0, nullptr);
    Type(line.LinePage()->Fields().width, "-3");
    EXPECT_EQ(PressOk(line).at(0).text, "Width must be positive or zero");
    Type(line.LinePage()->Fields().width, "3");
    Type(line.LinePage()->YEnd(), "high");
    EXPECT_EQ(PressOk(line).at(0).text, "y End must be a number");
    EXPECT_EQ(line.Result(), AnnotationSheetResult::Unchanged);

    TextAnnotationSheet text(document, 0, nullptr);
    Type(text.FramePage()->HeightField(), "-60");
    EXPECT_EQ(PressOk(text).at(0).text, "Height must be positive or zero");
    EXPECT_EQ(text.Pages()->currentWidget(), text.FramePage());
    EXPECT_EQ(document.Texts.List()[0].GetBox().GetY(), 60.0);
}

TEST_F(AnnotationSheets, DeleteRemovesTheObjectFromItsList) {
    {
        RectangleAnnotationSheet fresh(document, std::nullopt, nullptr);
        EXPECT_EQ(fresh.DeleteButton(), nullptr);
    }
    {
        RectangleAnnotationSheet sheet(document, 0, nullptr);
        sheet.DeleteButton()->click();
        EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Deleted);
    }
    ASSERT_EQ(document.Rectangles.List().GetCount(), 1u);
    EXPECT_EQ(document.Rectangles.List()[0].GetA().GetX(), 150.0);
    {
        LineAnnotationSheet sheet(document, 1, nullptr);
        sheet.DeleteButton()->click();
        EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Deleted);
    }
    ASSERT_EQ(document.Lines.List().GetCount(), 1u);
    EXPECT_EQ(document.Lines.List()[0].GetA().GetX(), 1974.0);
    {
        TextAnnotationSheet sheet(document, 1, nullptr);
        sheet.DeleteButton()->click();
    }
    ASSERT_EQ(document.Texts.List().GetCount(), 1u);
    EXPECT_EQ(document.Texts.List()[0].GetText(),
              "Source: Statistics Denmark, via the R package Epi");
}

TEST_F(AnnotationSheets, NewAnnotationsAreAddedSavedAndReadBack) {
    const PlotFrame& plot = document.Frame;
    {
        TextAnnotationSheet sheet(document, std::nullopt, nullptr);
        AnnoTextPage& page = *sheet.TextPage();
        EXPECT_EQ(page.TextField()->text(), "some text");
        EXPECT_EQ(page.FontName()->text(), "Arial, 12 pt");
        EXPECT_EQ(page.Modes()->currentText(), "Opaque");
        EXPECT_EQ(page.Vertical()->checkedButton()->text(), "&Bottom");
        EXPECT_EQ(sheet.FramePage()->XStart()->Value(), (plot.x1 + plot.x2) / 2);
        Type(page.TextField(), QStringLiteral("Kohorte 1940 \u00e9\u00e8 \u03a9"));
        page.TextColor()->SetColor(0x0000FF);
        page.Horizontal()->button(TextAlign::Center)->click();
        Type(sheet.FramePage()->XStart(), "1960");
        Type(sheet.FramePage()->YStart(), "20.25");
        Type(sheet.FramePage()->WidthField(), "12");
        Type(sheet.FramePage()->HeightField(), "4");
        sheet.BorderPage()->Fields().styles->SetStyle(PenStyle::DashDot);
        Type(sheet.BorderPage()->Fields().width, "0");
        PressOk(sheet);
        EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Changed);
    }
    {
        RectangleAnnotationSheet sheet(document, std::nullopt, nullptr);
        // A new rectangle is an outline over the middle of the plot.
        EXPECT_EQ(sheet.InteriorPage()->FillStyles()->currentText(), "Transparent");
        EXPECT_EQ(sheet.FramePage()->XStart()->Value(), plot.x1 + (plot.x2 - plot.x1) / 4);
        sheet.FramePage()->Coordinates()->PageButton()->click();
        Type(sheet.FramePage()->XStart(), "300");
        Type(sheet.FramePage()->YStart(), "250");
        Type(sheet.FramePage()->WidthField(), "400.5");
        Type(sheet.FramePage()->HeightField(), "0");
        sheet.InteriorPage()->FillStyles()->setCurrentIndex(2);
        sheet.InteriorPage()->Hatches()->SetStyle(HatchStyle::BDiagonal);
        sheet.InteriorPage()->Swatch()->SetColor(0x00FF00);
        sheet.BorderPage()->Fields().styles->SetStyle(PenStyle::Null);
        PressOk(sheet);
        EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Changed);
    }
    {
        LineAnnotationSheet sheet(document, std::nullopt, nullptr);
        AnnoLinePage& page = *sheet.LinePage();
        Type(page.XStart(), "1950");
        Type(page.YStart(), "0");
        Type(page.XEnd(), "2000");
        Type(page.YEnd(), "50");
        Type(page.Fields().width, "2.5");
        page.Fields().styles->SetStyle(PenStyle::DashDotDot);
        page.Fields().swatch->SetColor(0x804020);
        PressOk(sheet);
        EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Changed);
    }
    ASSERT_EQ(document.Texts.List().GetCount(), 3u);
    SaveAndReload();
    ASSERT_EQ(document.Texts.List().GetCount(), 3u);
    ASSERT_EQ(document.Rectangles.List().GetCount(), 3u);
    ASSERT_EQ(document.Lines.List().GetCount(), 3u);

    // What the sheets show of the objects read back is what was typed.
    TextAnnotationSheet text(document, 2, nullptr);
    EXPECT_EQ(text.TextPage()->TextField()->text(),
              QStringLiteral("Kohorte 1940 \u00e9\u00e8 \u03a9"));
    EXPECT_EQ(text.TextPage()->TextColor()->Color(), 0x0000FFu);
    EXPECT_EQ(text.TextPage()->Horizontal()->checkedButton()->text(), "&Center");
    EXPECT_EQ(text.TextPage()->FontName()->text(), "Arial, 12 pt");
    EXPECT_EQ(text.FramePage()->XStart()->text(), "1960");
    EXPECT_EQ(text.FramePage()->YStart()->text(), "20.25");
    EXPECT_EQ(text.FramePage()->WidthField()->text(), "12");
    EXPECT_TRUE(text.FramePage()->Coordinates()->PlotButton()->isChecked());
    EXPECT_EQ(text.BorderPage()->Fields().styles->currentText(), "Dashdot");
    EXPECT_EQ(text.InteriorPage()->FillStyles()->currentText(), "Transparent");

    RectangleAnnotationSheet rectangle(document, 2, nullptr);
    EXPECT_TRUE(rectangle.FramePage()->Coordinates()->PageButton()->isChecked());
    EXPECT_EQ(rectangle.FramePage()->XStart()->text(), "300");
    EXPECT_EQ(rectangle.FramePage()->WidthField()->text(), "400.5");
    EXPECT_EQ(rectangle.FramePage()->HeightField()->text(), "0");
    EXPECT_EQ(rectangle.BorderPage()->Fields().styles->currentText(), "None");
    EXPECT_EQ(rectangle.InteriorPage()->FillStyles()->currentText(), "Hatched");
    EXPECT_EQ(rectangle.InteriorPage()->Hatches()->Style(), HatchStyle::BDiagonal);
    EXPECT_EQ(rectangle.InteriorPage()->Swatch()->Color(), 0x00FF00u);

    LineAnnotationSheet line(document, 2, nullptr);
    EXPECT_EQ(line.LinePage()->XEnd()->text(), "2000");
    EXPECT_EQ(line.LinePage()->YEnd()->text(), "50");
    EXPECT_EQ(line.LinePage()->Fields().width->text(), "2.5");
    EXPECT_EQ(line.LinePage()->Fields().styles->currentText(), "Dashdotdot");
    EXPECT_EQ(line.LinePage()->Fields().swatch->Color(), 0x804020u);
    EXPECT_TRUE(line.LinePage()->Coordinates()->PlotButton()->isChecked());
}

TEST_F(AnnotationSheets, TextsAreWrittenInTheEncodingOfTheSetupFile) {
    // The same map with a text in Windows-1252 (0xE9 is "é").
    std::string bytes = ReadTestFile(folder / "dk-male-mortality.dml");
    const std::string born = "\"born 1940\"";
    bytes.replace(bytes.find(born), born.size(), "\"n\xE9s 1940\"");
    folder.Write("dk-male-mortality.dml", bytes);
    Load();

    TextAnnotationSheet sheet(document, 1, nullptr);
    EXPECT_EQ(sheet.TextPage()->TextField()->text(), QStringLiteral("n\u00e9s 1940"));
    Type(sheet.TextPage()->TextField(), QStringLiteral("\u03a9 1940"));
    const std::vector<Refusal> refusals = PressOk(sheet);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_THAT(refusals[0].text, ::testing::HasSubstr("\"\u03a9\""));
    EXPECT_THAT(refusals[0].text, ::testing::HasSubstr("Windows-1252"));
    EXPECT_EQ(document.Texts.List()[1].GetText(), "n\xE9s 1940");

    Type(sheet.TextPage()->TextField(), QStringLiteral("f\u00f8dt 1940"));
    EXPECT_TRUE(PressOk(sheet).empty());
    EXPECT_EQ(document.Texts.List()[1].GetText(), "f\xF8"
                                                  "dt 1940");

    TextAnnotationSheet empty(document, 1, nullptr);
    empty.TextPage()->TextField()->clear();
    EXPECT_EQ(PressOk(empty).at(0).text, "The text must not be empty");
    empty.TextPage()->TextField()->setText(QString(1024, QLatin1Char('x')));
    EXPECT_THAT(PressOk(empty).at(0).text, ::testing::HasSubstr("at most 1023 bytes"));
}

TEST_F(AnnotationSheets, FontAndColorDialogsFillTheirFields) {
    TextAnnotationSheet sheet(document, 1, nullptr);
    WhenOpen<QFontDialog>([](QFontDialog* dialog) {
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPointSize(15);
        font.setBold(true);
        dialog->setCurrentFont(font);
        dialog->accept();
    });
    sheet.TextPage()->FontButton()->click();
    EXPECT_THAT(sheet.TextPage()->FontName()->text().toStdString(),
                ::testing::EndsWith(", 15 pt, bold"));

    WhenOpen<QColorDialog>([](QColorDialog* dialog) {
        dialog->setCurrentColor(QColor(10, 20, 30));
        dialog->accept();
    });
    sheet.TextPage()->TextColorButton()->click();
    EXPECT_EQ(sheet.TextPage()->TextColor()->Color(), 0x1E140Au);
    EXPECT_EQ(sheet.TextPage()->TextColor()->accessibleDescription(), "#0a141e");

    PressOk(sheet);
    const LText& text = document.Texts.List()[1];
    ASSERT_TRUE(text.GetFont().has_value());
    EXPECT_EQ(text.GetFont()->height, -15);
    EXPECT_EQ(text.GetFont()->weight, 700);
    EXPECT_EQ(text.GetTextColor(), 0x1E140Au);
    // What the dialog does not choose is kept.
    EXPECT_EQ(text.GetFont()->quality, 2);
}

TEST_F(AnnotationSheets, FieldsAreLabelledAndKeyboardReachable) {
    TextAnnotationSheet text(document, 0, nullptr);
    RectangleAnnotationSheet rectangle(document, 0, nullptr);
    LineAnnotationSheet line(document, 0, nullptr);
    EXPECT_EQ(TabTitles(rectangle), QStringList({"Frame", "Border", "Interior"}));
    EXPECT_EQ(TabTitles(line), QStringList({"Line Attributes"}));
    for (AnnotationSheet* sheet :
         std::initializer_list<AnnotationSheet*>{&text, &rectangle, &line}) {
        for (QLabel* label : sheet->findChildren<QLabel*>()) {
            if (label != text.TextPage()->FontName()) {
                EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
            }
        }
        for (ColorSwatch* swatch : sheet->findChildren<ColorSwatch*>()) {
            EXPECT_FALSE(swatch->accessibleName().isEmpty());
        }
        for (StyleSampleList* list : sheet->findChildren<StyleSampleList*>()) {
            EXPECT_FALSE(list->accessibleName().isEmpty());
        }
        EXPECT_TRUE(sheet->Buttons()->button(QDialogButtonBox::Ok)->isDefault());
    }
    // Pen styles by name; only borders offer "None".
    EXPECT_EQ(Items(text.BorderPage()->Fields().styles),
              QStringList({"Solid", "Dash", "Dot", "Dashdot", "Dashdotdot", "None"}));
    EXPECT_EQ(Items(line.LinePage()->Fields().styles),
              QStringList({"Solid", "Dash", "Dot", "Dashdot", "Dashdotdot"}));
    EXPECT_EQ(Items(rectangle.InteriorPage()->FillStyles()),
              QStringList({"Solid", "Transparent", "Hatched"}));
    EXPECT_EQ(line.LinePage()->Fields().change->text(), "&Change");
    EXPECT_EQ(rectangle.BorderPage()->Fields().change->text(), "Change");

    // Tab goes through the fields as they stand, then the buttons.
    line.show();
    std::vector<QWidget*> chain;
    for (QWidget* w = line.nextInFocusChain(); w != &line; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->isVisibleTo(&line) &&
            qobject_cast<QTabBar*>(w) == nullptr && qobject_cast<QTabWidget*>(w) == nullptr) {
            chain.push_back(w);
        }
    }
    const AnnoLinePage& page = *line.LinePage();
    ASSERT_EQ(chain.size(), 12u);
    EXPECT_THAT(std::vector<QWidget*>(chain.begin(), chain.begin() + 9),
                ElementsAre(page.XStart(), page.YStart(), page.XEnd(), page.YEnd(),
                            page.Coordinates()->PlotButton(), page.Coordinates()->PageButton(),
                            page.Fields().width, page.Fields().change, page.Fields().styles));
    EXPECT_THAT(std::vector<QWidget*>(chain.begin() + 9, chain.end()),
                ::testing::UnorderedElementsAre(line.DeleteButton(),
                                                line.Buttons()->button(QDialogButtonBox::Ok),
                                                line.Buttons()->button(QDialogButtonBox::Cancel)));

    // Enter is OK: the edited width goes to the line.
    Type(line.LinePage()->Fields().width, "7");
    QTest::keyClick(line.LinePage()->Fields().width, Qt::Key_Return);
    EXPECT_FALSE(line.isVisible());
    EXPECT_EQ(line.Result(), AnnotationSheetResult::Changed);
    EXPECT_EQ(document.Lines.List()[0].GetWidth(), 7.0);
}

TEST_F(AnnotationSheets, AStyleOutsideTheListIsKept) {
    document.Lines.List()[0].SetPenStyle(PenStyle::Null);
    LineAnnotationSheet sheet(document, 0, nullptr);
    EXPECT_EQ(sheet.LinePage()->Fields().styles->currentText(), "Style 5");
    PressOk(sheet);
    EXPECT_EQ(sheet.Result(), AnnotationSheetResult::Unchanged);
    EXPECT_EQ(document.Lines.List()[0].GetPenStyle(), PenStyle::Null);
}

TEST(AnnotationSheetsInTheWindow, NewTextFromTheEditMenuIsOneUndoStep) {
    ExampleFolder folder;
    MainWindow window;
    window.show();
    auto* map = dynamic_cast<MapView*>(
        window.OpenFile(folder.File("dk-male-mortality.dml"), ViewKind::Map));
    ASSERT_NE(map, nullptr);
    ChartDocument& document = map->Entry().Document();

    std::vector<QWidget*> pages;
    WhenOpen<TextAnnotationSheet>([&pages](TextAnnotationSheet* sheet) {
        Type(sheet->TextPage()->TextField(), "Cohort 1950");
        // The map's window area takes Ctrl+Tab for itself; the sheet's
        // pages still turn with it.
        QTest::keyClick(sheet->TextPage()->TextField(), Qt::Key_Tab, Qt::ControlModifier);
        pages.push_back(sheet->Pages()->currentWidget());
        QTest::keyClick(sheet->Pages()->currentWidget(), Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(sheet->Pages()->currentWidget(), Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
        pages.push_back(sheet->Pages()->currentWidget());
        QTest::keyClick(sheet->Pages()->currentWidget(), Qt::Key_PageDown, Qt::ControlModifier);
        pages.push_back(sheet->Pages()->currentWidget());
        pages.push_back(sheet->FramePage());
        pages.push_back(sheet->InteriorPage());
        pages.push_back(sheet->TextPage());
        sheet->accept();
    });
    ASSERT_TRUE(map->Execute(Cmd::AnnotationText));
    ASSERT_EQ(document.Texts.List().GetCount(), 3u);
    EXPECT_EQ(document.Texts.List()[2].GetText(), "Cohort 1950");
    ASSERT_EQ(pages.size(), 6u);
    EXPECT_EQ(pages[0], pages[3]);
    EXPECT_EQ(pages[1], pages[4]);
    EXPECT_EQ(pages[2], pages[5]);
    EXPECT_EQ(window.UndoMapAction()->text(), "&Undo New Text");
    window.UndoMapAction()->trigger();
    EXPECT_EQ(document.Texts.List().GetCount(), 2u);

    // A sheet cancelled leaves nothing to undo.
    WhenOpen<LineAnnotationSheet>([](LineAnnotationSheet* sheet) { sheet->reject(); });
    map->Execute(Cmd::AnnotationLine);
    EXPECT_EQ(document.Lines.List().GetCount(), 2u);
    EXPECT_EQ(window.UndoMapAction()->text(), "&Undo");

    BoxAnswers answers;
    answers.Then(QMessageBox::No);
    window.CloseAll();
}

} // namespace
