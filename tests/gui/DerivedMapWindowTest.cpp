#include "dialogs/DerivedDataDialog.h"
#include "dialogs/DerivedDataForm.h"
#include "dialogs/NewDerivedMapDialog.h"
#include "document/ChartDocument.h"
#include "document/DocumentWriters.h"
#include "gui/Commands.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"
#include "support/ScriptedPrompt.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::HasSubstr;

namespace {

class DerivedMapWindow : public ::testing::Test {
protected:
    DerivedMapWindow() {
        window.show();
        map = dynamic_cast<MapView*>(
            window.OpenFile(folder.File("dk-male-mortality.dml"), ViewKind::Map));
    }
    ~DerivedMapWindow() override {
        BoxAnswers answers;
        answers.Then(QMessageBox::No);
        window.CloseAll();
    }
    ChartDocument& Document() { return map->Entry().Document(); }
    std::string Saved() {
        std::string reason;
        return SetupTextForSave(Document(), &reason).value_or(reason);
    }

    ExampleFolder folder;
    MainWindow window;
    MapView* map = nullptr;
};

// Which of the form's fields are enabled, in the order second file, its
// button, second column, lag, half-width.
std::vector<bool> Enabled(const DerivedDataForm& form) {
    return {form.secondFile->isEnabled(), form.browseSecond->isEnabled(),
            form.secondColumn->isEnabled(), form.lag->isEnabled(), form.halfWidth->isEnabled()};
}

// Runs fill on the Derived Data dialog once the command opened it.
void WhenDerivedDataOpens(const std::function<void(DerivedDataDialog&)>& fill) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, fill] {
        if (auto* dialog = qobject_cast<DerivedDataDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            fill(*dialog);
        }
    });
    timer->start();
}

} // namespace

TEST_F(DerivedMapWindow, EachOperationEnablesTheFieldsItReadsAndEveryLabelNamesItsField) {
    ASSERT_NE(map, nullptr);
    DerivedDataDialog dialog(Document(), map);
    DerivedDataForm& form = *dialog.derivation;
    EXPECT_EQ(form.operation->currentIndex(), 0); // None: the map has no derivation
    EXPECT_EQ(Enabled(form), std::vector<bool>(5, false));
    form.operation->setCurrentIndex(1);
    EXPECT_EQ(form.Operation(), DeriveOperation::Ratio);
    EXPECT_EQ(Enabled(form), (std::vector<bool>{true, true, true, false, false}));
    form.operation->setCurrentIndex(2);
    EXPECT_EQ(Enabled(form), (std::vector<bool>{true, true, true, false, false}));
    form.operation->setCurrentIndex(3);
    EXPECT_EQ(form.Operation(), DeriveOperation::Improvement);
    EXPECT_EQ(Enabled(form), (std::vector<bool>{false, false, false, true, false}));
    form.operation->setCurrentIndex(4);
    EXPECT_EQ(Enabled(form), (std::vector<bool>{false, false, false, false, true}));
    std::set<QWidget*> bound;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        bound.insert(label->buddy());
    }
    for (QWidget* field : std::initializer_list<QWidget*>{
             form.operation, form.secondFile, form.secondColumn, form.lag, form.halfWidth}) {
        EXPECT_TRUE(bound.count(field)) << field->metaObject()->className();
    }
}

// Edit Derived Data through its command: one undoable step that marks the
// map modified, taken back to exactly what was saved.
TEST_F(DerivedMapWindow, EditDerivedDataIsOneStepThatUndoTakesBack) {
    ASSERT_NE(map, nullptr);
    const std::string before = Saved();
    const double cell = Document().DataMatrix.Get(40, 16);
    const std::string female = folder / "dk-female-mortality.csv";
    WhenDerivedDataOpens([&female](DerivedDataDialog& dialog) {
        dialog.derivation->operation->setCurrentIndex(1);
        dialog.derivation->secondFile->setText(QString::fromStdString(female));
        dialog.accept();
    });
    QAction* command = window.Action(Cmd::DerivedData);
    ASSERT_TRUE(command->isEnabled());
    command->trigger();
    ASSERT_TRUE(Document().Derived);
    EXPECT_EQ(Document().Derived->secondName, female);
    EXPECT_NE(Document().DataMatrix.Get(40, 16), cell);
    EXPECT_THAT(Saved(), HasSubstr("Ratio of dk-male-mortality to dk-female-mortality"));
    EXPECT_TRUE(map->IsDirty());
    QAction* undo = window.UndoMapAction();
    EXPECT_EQ(undo->text(), "&Undo Derived Data");

    undo->trigger();
    EXPECT_FALSE(Document().Derived);
    EXPECT_EQ(Document().DataMatrix.Get(40, 16), cell);
    EXPECT_EQ(Saved(), before);
    EXPECT_FALSE(map->IsDirty());
    window.RedoMapAction()->trigger();
    ASSERT_TRUE(Document().Derived);
    EXPECT_EQ(Document().Derived->operation, DeriveOperation::Ratio);

    // OK on the derivation the map has is no edit.
    WhenDerivedDataOpens([](DerivedDataDialog& dialog) { dialog.accept(); });
    command->trigger();
    EXPECT_EQ(undo->text(), "&Undo Derived Data");
    undo->trigger();
    EXPECT_EQ(Saved(), before);
}

// File New Derived Map: the dialog asks the code of `demla new --derive`
// for the map, refuses what cannot be made, and the window opens it.
TEST_F(DerivedMapWindow, NewDerivedMapAsksForWhatDemlaNewMakesAndOpensIt) {
    ScriptedPrompt prompt;
    NewDerivedMapDialog dialog(prompt, &window);
    const std::string male = folder / "dk-male-mortality.csv";
    dialog.SetDataFile(QString::fromStdString(male));
    EXPECT_EQ(dialog.format->currentText(), "Comma delimited (*.CSV)");
    EXPECT_FALSE(dialog.valueColumn->isEnabled());
    EXPECT_FALSE(dialog.delimitersButton->isEnabled());
    EXPECT_FALSE(dialog.cohortStep->isEnabled());
    EXPECT_EQ(dialog.setupFile->text().toStdString(), folder / "dk-male-mortality-ratio.dml");

    dialog.accept();
    ASSERT_EQ(prompt.Count(), 1u);
    EXPECT_THAT(prompt.Last().text, HasSubstr("A ratio needs a second data file"));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    // The setup file follows the operation until it is named by hand.
    dialog.derivation->operation->setCurrentIndex(3);
    EXPECT_EQ(dialog.setupFile->text().toStdString(), folder / "dk-male-mortality-smooth.dml");
    dialog.derivation->halfWidth->setValue(2);
    dialog.cohortLines->setChecked(true);
    EXPECT_TRUE(dialog.cohortStep->isEnabled());
    dialog.cohortStep->setValue(5);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Request().dataPath, male);
    EXPECT_EQ(dialog.Request().format, kAsciiFormat);
    EXPECT_EQ(dialog.Request().setupPath, folder / "dk-male-mortality-smooth.dml");
    ASSERT_TRUE(dialog.Extras().derived);
    EXPECT_EQ(dialog.Extras().derived->operation, DeriveOperation::Smooth);
    EXPECT_EQ(dialog.Extras().derived->halfWidth, 2u);
    EXPECT_EQ(dialog.Extras().cohortStep, 5.0);

    MainWindow::NewMapChoice choice;
    choice.dataPath = QString::fromStdString(male);
    choice.format = dialog.Request().format;
    choice.setupPath = QString::fromStdString(dialog.Request().setupPath);
    choice.extras = dialog.Extras();
    auto* made = dynamic_cast<MapView*>(window.CreateFromData(choice));
    ASSERT_NE(made, nullptr);
    const ChartDocument& document = made->Entry().Document();
    ASSERT_TRUE(document.Derived);
    EXPECT_EQ(document.Derived->halfWidth, 2u);
    ASSERT_TRUE(document.CohortLines);
    EXPECT_EQ(document.CohortLines->step, 5);
    EXPECT_THAT(ReadTestFile(dialog.Request().setupPath),
                HasSubstr("[DATA.DERIVED]\r\nOperation=smooth;\r\nHalfWidth=2;"));
    EXPECT_FALSE(made->IsDirty());
}
