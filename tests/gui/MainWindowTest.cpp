#include "gui/MainWindow.h"
#include "document/ChartDocument.h"
#include "gui/Commands.h"
#include "gui/DesktopIntegration.h"
#include "gui/GuiTestSupport.h"
#include "gui/MapView.h"
#include "gui/RecentFiles.h"
#include "gui/TextView.h"

#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Lets the event loop finish what it was asked, deleting closed windows.
void Settle() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

QStringList MenuTitles(MainWindow& window) {
    QStringList titles;
    for (QAction* action : window.menuBar()->actions()) {
        titles << action->text();
    }
    return titles;
}

QStringList ToolBarButtons(MainWindow& window) {
    QStringList names;
    for (QAction* action : window.ToolBar()->actions()) {
        names << (action->isSeparator() ? QStringLiteral("|") : action->toolTip());
    }
    return names;
}

class WindowTest : public ::testing::Test {
protected:
    WindowTest() {
        window.show();
        QApplication::processEvents();
    }
    ~WindowTest() override {
        // Nothing is left to ask about when the test ends.
        BoxAnswers answers;
        answers.Then(QMessageBox::No).Then(QMessageBox::No).Then(QMessageBox::No);
        window.CloseAll();
    }

    MapView* OpenMap(const std::string& name) {
        return dynamic_cast<MapView*>(window.OpenFile(folder.File(name), ViewKind::Map));
    }
    void Trigger(int command) {
        QAction* action = window.Action(command);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled()) << FindCommand(command)->text;
        action->trigger();
        QApplication::processEvents();
    }
    std::string FileText(const std::string& name) {
        std::ifstream in(folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    ExampleFolder folder;
    MainWindow window;
};

TEST_F(WindowTest, MenusAndToolBarFollowTheActiveViewKind) {
    EXPECT_EQ(MenuTitles(window), (QStringList{"&File", "&Window", "&Help"}));
    EXPECT_EQ(window.CurrentToolBarSet(), MainWindow::FrameSet);
    EXPECT_EQ(ToolBarButtons(window),
              (QStringList{"Creates a new document", "Opens an existing document",
                           "Saves this document", "|", "Print this document"}));

    MapView* map = OpenMap("dk-male-mortality.dml");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(MenuTitles(window), (QStringList{"&File", "&Edit", "&Window", "&Help"}));
    EXPECT_EQ(window.CurrentToolBarSet(), MainWindow::MapSet);
    EXPECT_EQ(ToolBarButtons(window).size(), 17);
    EXPECT_EQ(ToolBarButtons(window).last(), "Text Editor");
    EXPECT_TRUE(window.Action(Cmd::SmartScale)->isEnabled());
    EXPECT_FALSE(window.Action(Cmd::Undo)->isEnabled());
    EXPECT_EQ(window.Action(Cmd::SmartScale)->statusTip(), "Computes automatic scale levels");
    EXPECT_EQ(window.Action(Cmd::CopyBitmap)->shortcut(), QKeySequence("Ctrl+B"));

    Trigger(Cmd::TextEditor);
    auto* text = dynamic_cast<TextView*>(window.ActiveView());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(window.CurrentToolBarSet(), MainWindow::TextSet);
    EXPECT_EQ(ToolBarButtons(window).size(), 12);
    EXPECT_EQ(window.menuBar()->actions()[1]->menu()->actions().first()->text(), "&Undo");
    EXPECT_FALSE(window.Action(Cmd::SmartScale)->isEnabled());
    EXPECT_FALSE(window.Action(Cmd::Print)->isEnabled());
    // The text editor of a map is made once and then found again.
    window.Area()->setActiveSubWindow(window.Area()->subWindowList().first());
    Trigger(Cmd::TextEditor);
    EXPECT_EQ(window.Area()->subWindowList().size(), 2);
    EXPECT_EQ(window.ActiveView(), text);

    ASSERT_TRUE(window.CloseAll());
    Settle();
    EXPECT_EQ(MenuTitles(window), (QStringList{"&File", "&Window", "&Help"}));
    EXPECT_EQ(window.CurrentToolBarSet(), MainWindow::FrameSet);
    // The document went with its last view.
    EXPECT_TRUE(window.Documents().Documents().empty());
}

TEST_F(WindowTest, CommandLineOpensSetupFilesOnly) {
    const QString line =
        QStringLiteral("-unregister \"%1\" %2 notes.txt \"\" %3")
            .arg(folder.File("dk-male-mortality.dml"), folder.File("dk-female-mortality.dml"),
                 folder.File("never-reached.dml"));
    window.OpenCommandLine(line);
    ASSERT_EQ(window.Area()->subWindowList().size(), 2);
    EXPECT_EQ(window.Area()->subWindowList()[0]->windowTitle(), "dk-male-mortality.dml – Map[*]");
    // Both child windows are map views of their own documents.
    EXPECT_EQ(window.Documents().Documents().size(), 2u);
}

TEST_F(WindowTest, SavingFromOneViewReloadsTheOthers) {
    MapView* map = OpenMap("dk-male-mortality.dml");
    ASSERT_NE(map, nullptr);
    ChartDocument& document = map->Entry().Document();
    Trigger(Cmd::TextEditor);
    auto* text = dynamic_cast<TextView*>(window.ActiveView());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText().toStdString().find('\r'), std::string::npos);

    // Text to map: a new missing colour reaches the map's document.
    QString setup = text->toPlainText();
    ASSERT_TRUE(setup.contains("MapMissingColor=12632256;"));
    setup.replace("MapMissingColor=12632256;", "MapMissingColor=255;");
    text->selectAll();
    text->insertPlainText(setup);
    EXPECT_TRUE(text->IsDirty());
    Trigger(Cmd::FileSave);
    EXPECT_FALSE(text->IsDirty());
    EXPECT_EQ(document.MissingColor, 255u);
    EXPECT_THAT(FileText("dk-male-mortality.dml"), HasSubstr("MapMissingColor=255;\n"));

    // Map to text: Show Scale changes the map, its save shows in the text.
    window.Area()->setActiveSubWindow(window.Area()->subWindowList().first());
    map->setFocus();
    Trigger(Cmd::ShowScale);
    EXPECT_TRUE(map->IsDirty());
    EXPECT_TRUE(window.Area()->subWindowList().first()->isWindowModified());
    Trigger(Cmd::FileSave);
    EXPECT_FALSE(map->IsDirty());
    EXPECT_EQ(text->toPlainText().toStdString(), [&] {
        std::string file = FileText("dk-male-mortality.dml");
        std::string lf;
        for (char c : file) {
            if (c != '\r') {
                lf += c;
            }
        }
        return lf;
    }());
    EXPECT_FALSE(document.Legend.IsVisible());
}

// Saving one kind of view reads the file again into the other kind: where
// that one holds changes of its own, the save asks first, and Enter keeps
// them.
TEST_F(WindowTest, SavingAsksBeforeReplacingTheOtherViewsChanges) {
    MapView* map = OpenMap("dk-male-mortality.dml");
    ASSERT_NE(map, nullptr);
    ChartDocument& document = map->Entry().Document();
    Trigger(Cmd::ShowScale);
    ASSERT_TRUE(map->IsDirty());
    Trigger(Cmd::TextEditor);
    auto* text = dynamic_cast<TextView*>(window.ActiveView());
    ASSERT_NE(text, nullptr);
    text->moveCursor(QTextCursor::End);
    text->insertPlainText("/@ a note;\n");
    const std::string before = FileText("dk-male-mortality.dml");
    const std::string mapQuestion = "The map has changes that are not saved. Saving the text "
                                    "replaces them. Save the text anyway?";
    const std::string textQuestion = "The text has changes that are not saved. Saving the map "
                                     "replaces them. Save the map anyway?";
    {
        // From the text: Enter answers No, and nothing changes.
        BoxAnswers answers;
        Trigger(Cmd::FileSave);
        EXPECT_EQ(answers.texts, std::vector<std::string>{mapQuestion});
    }
    EXPECT_EQ(FileText("dk-male-mortality.dml"), before);
    EXPECT_TRUE(map->IsDirty());
    EXPECT_TRUE(text->IsDirty());
    EXPECT_FALSE(document.Legend.IsVisible());

    window.Area()->setActiveSubWindow(window.Area()->subWindowList().first());
    map->setFocus();
    {
        // From the map: the same question the other way round.
        BoxAnswers answers;
        Trigger(Cmd::FileSave);
        EXPECT_EQ(answers.texts, std::vector<std::string>{textQuestion});
    }
    EXPECT_EQ(FileText("dk-male-mortality.dml"), before);
    EXPECT_TRUE(text->IsDirty());
    {
        // Yes writes the map, and the text shows the file without asking again.
        BoxAnswers answers;
        answers.Then(QMessageBox::Yes);
        Trigger(Cmd::FileSave);
        EXPECT_EQ(answers.texts, std::vector<std::string>{textQuestion});
    }
    EXPECT_FALSE(map->IsDirty());
    EXPECT_FALSE(text->IsDirty());
    EXPECT_FALSE(text->toPlainText().contains("a note"));
    EXPECT_NE(FileText("dk-male-mortality.dml"), before);

    // The text saved over a map edit, when the user says so.
    Trigger(Cmd::ShowScale);
    ASSERT_TRUE(map->IsDirty());
    window.Area()->setActiveSubWindow(window.Area()->subWindowList().last());
    text->setFocus();
    text->moveCursor(QTextCursor::End);
    text->insertPlainText("/@ another note;\n");
    {
        BoxAnswers answers;
        answers.Then(QMessageBox::Yes);
        Trigger(Cmd::FileSave);
        EXPECT_EQ(answers.texts, std::vector<std::string>{mapQuestion});
    }
    EXPECT_THAT(FileText("dk-male-mortality.dml"), HasSubstr("another note"));
    EXPECT_FALSE(map->IsDirty());
    EXPECT_FALSE(document.Legend.IsVisible());
}

TEST_F(WindowTest, ClosingAsksForModifiedDocumentsOnly) {
    MapView* unchanged = OpenMap("dk-female-mortality.dml");
    MapView* changed = OpenMap("dk-male-mortality.dml");
    ASSERT_NE(unchanged, nullptr);
    ASSERT_NE(changed, nullptr);
    Trigger(Cmd::SmartScale);
    ASSERT_TRUE(changed->IsDirty());
    const std::string before = FileText("dk-male-mortality.dml");

    {
        // Cancel keeps everything open.
        BoxAnswers answers;
        answers.Then(QMessageBox::Cancel);
        EXPECT_FALSE(window.CloseAll());
        EXPECT_EQ(answers.texts,
                  std::vector<std::string>{
                      "The document has been changed.\n\nDo you want to save the changes?"});
    }
    QApplication::processEvents();
    ASSERT_EQ(window.Area()->subWindowList().size(), 1);
    {
        BoxAnswers answers;
        answers.Then(QMessageBox::No);
        EXPECT_TRUE(window.CloseAll());
        EXPECT_EQ(answers.texts.size(), 1u);
    }
    EXPECT_EQ(FileText("dk-male-mortality.dml"), before);
}

TEST_F(WindowTest, SecondMapViewInheritsUnsavedChanges) {
    MapView* first = OpenMap("dk-male-mortality.dml");
    ASSERT_NE(first, nullptr);
    MapView* second = dynamic_cast<MapView*>(window.AddView(first->Entry(), ViewKind::Map));
    ASSERT_NE(second, nullptr);
    Trigger(Cmd::SmartScale);
    ASSERT_TRUE(second->IsDirty());
    BoxAnswers answers;
    // Closing one of two maps asks nothing; the other keeps the changes.
    window.Area()->activeSubWindow()->close();
    QApplication::processEvents();
    EXPECT_TRUE(answers.texts.empty());
    EXPECT_TRUE(first->IsDirty());
}

TEST_F(WindowTest, FailedTextSaveKeepsTheChanges) {
    MapView* map = OpenMap("dk-male-mortality.dml");
    ASSERT_NE(map, nullptr);
    Trigger(Cmd::TextEditor);
    auto* text = dynamic_cast<TextView*>(window.ActiveView());
    ASSERT_NE(text, nullptr);
    text->moveCursor(QTextCursor::End);
    text->insertPlainText("/@ a note;\n");
    ::chmod((folder / "dk-male-mortality.dml").c_str(), 0444);
    const std::string before = FileText("dk-male-mortality.dml");
    {
        BoxAnswers answers;
        Trigger(Cmd::FileSave);
        ASSERT_EQ(answers.texts.size(), 1u);
        EXPECT_THAT(answers.texts[0], HasSubstr("Cannot open document for writing: "));
        EXPECT_THAT(answers.texts[0], HasSubstr("read-only"));
    }
    EXPECT_TRUE(text->IsDirty());
    EXPECT_EQ(FileText("dk-male-mortality.dml"), before);
    {
        // Closing still asks; No discards.
        BoxAnswers answers;
        answers.Then(QMessageBox::No);
        EXPECT_TRUE(window.CloseSubWindow(window.Area()->activeSubWindow()));
        EXPECT_EQ(answers.texts.size(), 1u);
    }
}

TEST_F(WindowTest, MapOpenedWithErrorsIsNotSavedOverItsFileByDefault) {
    std::ofstream(folder / "broken.dml", std::ios::binary)
        << "[DATA]\r\nMapMatrix=dk-male-mortality.csv;\r\n[MAP.SCALE]\r\nMapScale={1 2 ]\r\n";
    const std::string before = FileText("broken.dml");
    MapView* map = nullptr;
    {
        BoxAnswers answers; // the error, then "open anyway": OK
        map = OpenMap("broken.dml");
        ASSERT_EQ(answers.texts.size(), 2u);
    }
    ASSERT_NE(map, nullptr);
    Trigger(Cmd::ShowScale);
    {
        // Enter on the question keeps the file.
        BoxAnswers answers;
        Trigger(Cmd::FileSave);
        ASSERT_EQ(answers.texts.size(), 1u);
        EXPECT_THAT(answers.texts[0], HasSubstr("This map was opened with errors."));
    }
    EXPECT_EQ(FileText("broken.dml"), before);
    EXPECT_TRUE(map->IsDirty());
}

TEST_F(WindowTest, TextWithZeroBytesIsRefusedAndNeverWritten) {
    const std::string path = folder / "broken.dml";
    const std::string bytes("[DATA]\r\nMapMatrix=dk-male-mortality.csv;\0\r\n", 42);
    std::ofstream(path, std::ios::binary) << bytes;
    BoxAnswers answers;
    auto* text =
        dynamic_cast<TextView*>(window.OpenFile(QString::fromStdString(path), ViewKind::Text));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->IsRefused());
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_FALSE(text->IsDirty());
    EXPECT_FALSE(text->Commit());
    EXPECT_EQ(FileText("broken.dml"), bytes);
}

TEST_F(WindowTest, FindSectionPutsTheCaretAtTheHeader) {
    auto* text = dynamic_cast<TextView*>(
        window.OpenFile(folder.File("dk-male-mortality.dml"), ViewKind::Text));
    ASSERT_NE(text, nullptr);
    text->FindSection("[COLORS]");
    const int at = text->toPlainText().indexOf("[COLORS]");
    ASSERT_GT(at, 0);
    EXPECT_EQ(text->textCursor().position(), at);
    EXPECT_FALSE(text->textCursor().hasSelection());
    text->FindSection("[NOWHERE]");
    EXPECT_EQ(text->textCursor().position(), 0);
    // F1 on the header asks for its section.
    text->FindSection("[COLORS]");
    EXPECT_EQ(text->HelpTopic(), "section-COLORS");
}

TEST_F(WindowTest, RecentFilesKeepTheNewestFirstAndRefuseOpenOnes) {
    OpenMap("dk-female-mortality.dml");
    OpenMap("dk-male-mortality.dml");
    const QStringList files = window.Recent().Files();
    ASSERT_GE(files.size(), 2);
    EXPECT_TRUE(files[0].endsWith("dk-male-mortality.dml"));
    EXPECT_TRUE(files[1].endsWith("dk-female-mortality.dml"));
    // Kept in the settings file for the next start.
    EXPECT_EQ(RecentFiles().Files(), files);
    QSettings settings(RecentFiles::SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), files[0]);

    // Opening an open file again from the list reports it and opens nothing.
    BoxAnswers answers;
    QMenu* file = window.menuBar()->actions()[0]->menu();
    emit file->aboutToShow();
    QMenu* recent = nullptr;
    for (QAction* action : file->actions()) {
        if (action->menu() != nullptr && action->text() == "Recent &Files") {
            recent = action->menu();
        }
    }
    ASSERT_NE(recent, nullptr);
    recent->actions().first()->trigger();
    QApplication::processEvents();
    EXPECT_EQ(answers.texts, std::vector<std::string>{"Document already loaded."});
    EXPECT_EQ(window.Area()->subWindowList().size(), 2);

    for (int i = 0; i < 12; ++i) {
        window.Recent().Add(QStringLiteral("/maps/%1.dml").arg(i));
    }
    EXPECT_EQ(window.Recent().Files().size(), RecentFiles::kCapacity);
    EXPECT_EQ(window.Recent().Files().first(), "/maps/11.dml");
}

TEST_F(WindowTest, StatusBarHasEightPanesInOrder) {
    QStringList names;
    for (QLabel* label :
         window.statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (label->objectName().startsWith("pane")) {
            names << label->objectName();
        }
    }
    EXPECT_EQ(names, (QStringList{"pane1", "pane2", "pane3", "pane8", "pane4", "pane5", "pane6",
                                  "pane7"}));
    EXPECT_GT(window.StatusPane(1)->minimumWidth(), window.StatusPane(4)->minimumWidth() * 2);
}

TEST_F(WindowTest, ReloadWaitsWhileABoxOfTheDocumentIsOpen) {
    MapView* map = OpenMap("dk-male-mortality.dml");
    ASSERT_NE(map, nullptr);
    DocumentEntry& entry = map->Entry();
    // A setup error makes the reload ask whether to open anyway.
    std::ofstream(folder / "dk-male-mortality.dml", std::ios::binary)
        << "[DATA]\r\nMapMatrix=dk-male-mortality.csv;\r\n[MAP.SCALE]\r\nMapScale={1 2 ]\r\n";
    BoxAnswers answers;
    bool busyWhileOpen = false;
    int reloadsAsked = 0;
    answers.whileOpen = [&] {
        busyWhileOpen = busyWhileOpen || entry.IsBusy();
        // A paint and a second reload arriving now must wait.
        map->repaint();
        if (reloadsAsked++ == 0) {
            entry.Reload();
        }
    };
    entry.Reload();
    EXPECT_TRUE(busyWhileOpen);
    // The error and the question, then once more for the reload that waited.
    EXPECT_EQ(answers.texts.size(), 4u);
    EXPECT_FALSE(entry.IsBusy());
    map->repaint();
}

TEST(DesktopIntegration, WrittenAndRemovedUnderTheDataFolder) {
    DesktopIntegration::Register("/opt/demla dir/bin/demla");
    QFile entry(DesktopIntegration::DesktopEntryPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains("Exec=\"/opt/demla dir/bin/demla\" %F\n"));
    EXPECT_TRUE(text.contains("MimeType=application/x-demla-map;\n"));
    QFile mime(DesktopIntegration::MimePackagePath());
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    EXPECT_TRUE(mime.readAll().contains("<glob pattern=\"*.dml\"/>"));
    EXPECT_TRUE(QFile::exists(DesktopIntegration::IconPath()));
    EXPECT_TRUE(
        DesktopIntegration::DesktopEntryPath().startsWith(qEnvironmentVariable("XDG_DATA_HOME")));

    DesktopIntegration::Unregister();
    EXPECT_FALSE(QFile::exists(DesktopIntegration::DesktopEntryPath()));
    EXPECT_FALSE(QFile::exists(DesktopIntegration::MimePackagePath()));
    EXPECT_FALSE(QFile::exists(DesktopIntegration::IconPath()));
}

} // namespace
