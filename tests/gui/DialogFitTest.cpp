#include "dialogs/CohortLinesPage.h"
#include "dialogs/DialogSupport.h"
#include "dialogs/PenStyleList.h"
#include "dialogs/PlotFramePages.h"
#include "gui/Commands.h"
#include "gui/DialogCatalog.h"
#include "platform/QtPrompt.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

// The controls a person works with on the page shown: visible widgets that
// take the keyboard's focus.
std::vector<QWidget*> ShownControls(QDialog& dialog) {
    std::vector<QWidget*> controls;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (widget->isVisible() && widget->focusPolicy() != Qt::NoFocus) {
            controls.push_back(widget);
        }
    }
    return controls;
}

QString Describe(const QWidget* widget) {
    QString name = widget->accessibleName();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        name = button->text();
    }
    return QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') + name;
}

// The smallest screen a user is expected to have.
const QRect kSmallScreen(0, 0, 800, 600);

TEST(DialogFit, EveryDialogFitsASmallScreenWithEveryControlOnIt) {
    DialogCatalog catalog;
    ASSERT_NE(catalog.map, nullptr);
    std::vector<std::string> outside;
    for (const DialogCase& entry : catalog.Cases()) {
        std::unique_ptr<QDialog> dialog = entry.make();
        const QSize least = dialog->minimumSizeHint();
        EXPECT_LE(least.width(), kSmallScreen.width()) << entry.name;
        EXPECT_LE(least.height(), kSmallScreen.height()) << entry.name;
        dialog->show();
        const QSize size = dialog->frameGeometry().size();
        EXPECT_LE(size.width(), kSmallScreen.width()) << entry.name;
        EXPECT_LE(size.height(), kSmallScreen.height()) << entry.name;
        std::size_t buttons = 0;
        ForEachPage(*dialog, [&](const QString& page) {
            QCoreApplication::processEvents();
            for (QWidget* control : ShownControls(*dialog)) {
                buttons += qobject_cast<QPushButton*>(control) != nullptr ? 1 : 0;
                const QRect place(control->mapTo(dialog.get(), QPoint(0, 0)), control->size());
                if (!dialog->rect().contains(place)) {
                    outside.push_back(entry.name + " / " + page.toStdString() + ": " +
                                      Describe(control).toStdString());
                }
            }
        });
        EXPECT_GE(buttons, 2U) << entry.name;
        dialog->hide();
    }
    EXPECT_THAT(outside, IsEmpty());
}

TEST(DialogFit, FieldsAndButtonsKeepTheirWidthsInAWideDialog) {
    DialogCatalog catalog;
    ASSERT_NE(catalog.map, nullptr);
    std::vector<std::string> stretched;
    for (const DialogCase& entry : catalog.Cases()) {
        std::unique_ptr<QDialog> dialog = entry.make();
        dialog->show();
        dialog->resize(1900, 1000);
        ForEachPage(*dialog, [&](const QString& page) {
            QCoreApplication::processEvents();
            for (QWidget* control : ShownControls(*dialog)) {
                const bool field = qobject_cast<QLineEdit*>(control) != nullptr;
                const bool button =
                    qobject_cast<QPushButton*>(control) != nullptr &&
                    qobject_cast<QDialogButtonBox*>(control->parentWidget()) == nullptr;
                if ((field || button) && control->width() > 600) {
                    stretched.push_back(entry.name + " / " + page.toStdString() + ": " +
                                        Describe(control).toStdString() + " " +
                                        std::to_string(control->width()));
                }
            }
        });
        // A number field holds a number, not a line of text.
        for (NumberField* number : dialog->findChildren<NumberField*>()) {
            EXPECT_LE(number->width(), NumberFieldWidth(number)) << entry.name;
        }
    }
    EXPECT_THAT(stretched, IsEmpty());
}

TEST(DialogFit, TheFullPlotFrameSheetScrollsItsTabsAndReachesEveryPage) {
    DialogCatalog catalog;
    ASSERT_NE(catalog.map, nullptr);
    PlotFrameSheet sheet(
        catalog.Document(), PlotFrameSheet::AllPages(), [] {}, &catalog.window);
    sheet.show();
    EXPECT_LE(sheet.width(), 800);
    EXPECT_TRUE(sheet.Tabs()->usesScrollButtons());
    // The last page, once only a scroll away, comes up with Ctrl+Shift+Tab
    // from the first.
    sheet.Tabs()->setCurrentIndex(0);
    QTest::keyClick(sheet.Tabs()->currentWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(sheet.Tabs()->currentIndex(), sheet.Tabs()->count() - 1);
    auto* cohorts = static_cast<CohortLinesPage*>(sheet.PageWidget(PlotFrameSheet::CohortLines));
    EXPECT_TRUE(cohorts->style->isVisible());
    EXPECT_TRUE(sheet.rect().contains(
        QRect(cohorts->style->mapTo(&sheet, QPoint(0, 0)), cohorts->style->size())));
}

TEST(DialogFit, ALongTitleIsSeenWholeFromItsStart) {
    DialogCatalog catalog;
    ASSERT_NE(catalog.map, nullptr);
    const std::string title = "Deaths per 1000 person-years, Danish men 1974-2012";
    catalog.Document().Frame.title[0].text = title;
    PlotFrameSheet sheet(
        catalog.Document(), {PlotFrameSheet::Title}, [] {}, &catalog.window);
    sheet.show();
    auto* page = static_cast<TitlePage*>(sheet.PageWidget(PlotFrameSheet::Title));
    QLineEdit* edit = page->title->edit;
    EXPECT_EQ(edit->text().toStdString(), title);
    EXPECT_EQ(edit->cursorPosition(), 0);
    EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance(edit->text()) + 8);
    EXPECT_LE(sheet.frameGeometry().width(), 800);
}

TEST(DialogFit, GridLineWarningIsGivenOncePerChange) {
    DialogCatalog catalog;
    ASSERT_NE(catalog.map, nullptr);
    ChartDocument& document = catalog.Document();
    {
        PlotFrameSheet sheet(
            document, {PlotFrameSheet::XGridLines}, [] {}, &catalog.window);
        auto* grid = static_cast<GridLinesPage*>(sheet.PageWidget(PlotFrameSheet::XGridLines));
        grid->width->setText(QStringLiteral("3"));
        emit grid->width->textEdited(grid->width->text());
        grid->style->setCurrentIndex(2);
        BoxAnswers answers;
        ASSERT_TRUE(sheet.Apply());
        EXPECT_EQ(answers.texts.size(), 1U);
        // OK after Apply, nothing changed in between: no second warning.
        sheet.accept();
        EXPECT_EQ(answers.texts.size(), 1U);
    }
    ASSERT_EQ(document.Frame.xGridLineWidth, 3);
    ASSERT_EQ(document.Frame.xGridLineType, 2);
    {
        // A frame that holds such a line already is not warned about...
        PlotFrameSheet sheet(
            document, {PlotFrameSheet::XGridLines}, [] {}, &catalog.window);
        auto* grid = static_cast<GridLinesPage*>(sheet.PageWidget(PlotFrameSheet::XGridLines));
        BoxAnswers answers;
        ASSERT_TRUE(sheet.Apply());
        EXPECT_THAT(answers.texts, IsEmpty());
        // ...until its style changes again; back to solid says nothing.
        grid->style->setCurrentIndex(3);
        ASSERT_TRUE(sheet.Apply());
        EXPECT_EQ(answers.texts.size(), 1U);
        grid->style->setCurrentIndex(0);
        ASSERT_TRUE(sheet.Apply());
        EXPECT_EQ(answers.texts.size(), 1U);
    }
}

// Whether a window's frame has no minimise and no maximise button.
bool PlainFrame(const QWidget* window) {
    const Qt::WindowFlags flags = window->windowFlags();
    return flags.testFlag(Qt::CustomizeWindowHint) &&
           !flags.testFlag(Qt::WindowMinimizeButtonHint) &&
           !flags.testFlag(Qt::WindowMaximizeButtonHint) &&
           flags.testFlag(Qt::WindowCloseButtonHint);
}

TEST(MessageBoxes, HaveNoMinimiseOrMaximiseButtons) {
    std::vector<bool> plain;
    BoxAnswers answers;
    answers.whileOpen = [&] { plain.push_back(PlainFrame(QApplication::activeModalWidget())); };
    QtPrompt prompt;
    prompt.Ask("Demla", "A question without an owner", PromptButtons::YesNo, PromptIcon::Question);
    QWidget owner;
    owner.show();
    Refuse(&owner, QStringLiteral("This is not a number: x"));
    EXPECT_EQ(plain, (std::vector<bool>{true, true}));
}

TEST(MessageBoxes, TheAboutBoxStatesTheLicenceAndKeepsItsCopyrightOnOneLine) {
    MainWindow window;
    window.show();
    QString informative;
    int labelWidth = 0;
    int copyrightWidth = -1;
    bool plain = false;
    BoxAnswers answers;
    answers.whileOpen = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        plain = PlainFrame(box);
        informative = box->informativeText();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
            labelWidth = label->contentsRect().width();
            copyrightWidth = label->fontMetrics().horizontalAdvance(
                QStringLiteral("Copyright © 2026 The Demla developers"));
        }
    };
    window.Action(Cmd::About)->trigger();
    EXPECT_TRUE(plain);
    EXPECT_THAT(informative.toStdString(),
                HasSubstr("GNU General Public License, version 3 or later"));
    EXPECT_GE(labelWidth, copyrightWidth);
}

} // namespace
