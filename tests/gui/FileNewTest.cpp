#include "dialogs/AsciiFormatDialog.h"
#include "document/ChartDocument.h"
#include "document/NewSetup.h"
#include "document/SafeFile.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"
#include "gui/TextView.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class FileNew : public ::testing::Test {
protected:
    FileNew() { window.show(); }
    ~FileNew() override {
        BoxAnswers answers;
        answers.Then(QMessageBox::No).Then(QMessageBox::No);
        window.CloseAll();
    }
    ExampleFolder folder;
    MainWindow window;
};

TEST_F(FileNew, WritesTheWholeMapOnceItsDataLoad) {
    MainWindow::NewMapChoice choice;
    choice.dataPath = folder.File("dk-male-mortality.csv");
    choice.format = kAsciiFormat;
    choice.setupPath = folder.File("new-map.dml");
    auto* map = dynamic_cast<MapView*>(window.CreateFromData(choice));
    ASSERT_NE(map, nullptr);
    // The file holds the map the window shows, so there is nothing to save.
    const std::string written = Read(folder / "new-map.dml");
    EXPECT_NE(written.find("[DATA]\r\nMapMatrix=" + (folder / "dk-male-mortality.csv") +
                           ";\r\nFormat=ASCII;\r\n"),
              std::string::npos);
    EXPECT_NE(written.find("[COLORS]\r\nMapColors={"), std::string::npos);
    EXPECT_FALSE(map->IsDirty());
    // The defaults of a new map: the range of the matrix.
    EXPECT_EQ(map->Entry().Document().Frame.x2, 39);

    // Custom delimiters, shown as text.
    choice.delimiters.fieldKind = AsciiFormat::Field::Custom;
    choice.delimiters.customField = ';';
    choice.delimiters.recordKind = AsciiFormat::Record::Custom;
    choice.delimiters.customRecord = '|';
    choice.setupPath = folder.File("custom.dml");
    choice.kind = ViewKind::Text;
    BoxAnswers answers; // the odd data file asks its questions
    auto* text = dynamic_cast<TextView*>(window.CreateFromData(choice));
    ASSERT_NE(text, nullptr);
    EXPECT_NE(Read(folder / "custom.dml").find("AsciiFormat={ custom, \";\",custom, \"|\" };\r\n"),
              std::string::npos);
}

TEST_F(FileNew, DataThatDoNotLoadLeaveTheSetupFileAlone) {
    const std::string before = Read(folder / "dk-male-mortality.dml");
    folder.Write("ragged.csv", "1,2,3\r\n4,5\r\n");
    MainWindow::NewMapChoice choice;
    choice.dataPath = folder.File("ragged.csv");
    choice.format = kAsciiFormat;
    choice.setupPath = folder.File("dk-male-mortality.dml");
    BoxAnswers answers;
    answers.Then(QMessageBox::Cancel);
    EXPECT_EQ(window.CreateFromData(choice), nullptr);
    EXPECT_EQ(Read(folder / "dk-male-mortality.dml"), before);
    EXPECT_FALSE(std::filesystem::exists(BackupFileName(folder / "dk-male-mortality.dml")));
}

TEST_F(FileNew, AnExistingSetupFileKeepsABackup) {
    const std::string before = Read(folder / "dk-male-mortality.dml");
    MainWindow::NewMapChoice choice;
    choice.dataPath = folder.File("dk-male-mortality.csv");
    choice.format = kAsciiFormat;
    choice.setupPath = folder.File("dk-male-mortality.dml");
    ASSERT_NE(window.CreateFromData(choice), nullptr);
    EXPECT_EQ(Read(BackupFileName(folder / "dk-male-mortality.dml")), before);
}

TEST_F(FileNew, AsciiFormatDialogShowsTheFileAndItsDelimiters) {
    folder.Write("spaces.txt", "1 2 3\r\n4\t5 6\r\n");
    AsciiFormat format;
    format.fieldKind = AsciiFormat::Field::Custom;
    format.customField = '|';
    AsciiFormatDialog dialog(format, folder / "spaces.txt", nullptr);
    EXPECT_TRUE(dialog.customField->isChecked());
    EXPECT_TRUE(dialog.fieldChar->isEnabled());
    EXPECT_FALSE(dialog.recordChar->isEnabled());
    EXPECT_EQ(dialog.preview->toPlainText(), "1 2 3\n4        5 6");
    dialog.spaces->setChecked(true);
    EXPECT_FALSE(dialog.fieldChar->isEnabled());
    dialog.customRecord->setChecked(true);
    dialog.recordChar->setText(QString());
    const AsciiFormat chosen = dialog.Format();
    EXPECT_EQ(chosen.fieldKind, AsciiFormat::Field::Spaces);
    EXPECT_EQ(chosen.recordKind, AsciiFormat::Record::Custom);
    EXPECT_EQ(chosen.customRecord, '\0');
}

} // namespace
