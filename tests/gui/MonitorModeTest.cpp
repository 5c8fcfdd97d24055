#include "view/MonitorMode.h"
#include "document/ChartDocument.h"
#include "gui/Commands.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QStatusBar>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// A 3 x 3 map whose every cell holds value, in a folder that is the
// current one while the test runs (the signal files lie there).
class MonitorMode : public ::testing::Test {
protected:
    MonitorMode() : previous_(QDir::currentPath()) {
        QDir::setCurrent(QString::fromStdString(folder.Path()));
        WriteData(1);
        folder.Write("watched.dml", "[DATA]\r\nMapMatrix=data.csv;\r\n");
        window.show();
    }
    ~MonitorMode() override {
        BoxAnswers answers;
        answers.Then(QMessageBox::No).Then(QMessageBox::No);
        window.CloseAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(previous_);
    }
    void WriteData(int value) {
        std::string row = std::to_string(value) + "," + std::to_string(value) + "," +
                          std::to_string(value) + "\r\n";
        folder.Write("data.csv", row + row + row);
    }
    MapView* OpenMap(const std::string& name = "watched.dml") {
        return dynamic_cast<MapView*>(
            window.OpenFile(QString::fromStdString(folder / name), ViewKind::Map));
    }
    // Runs the event loop until done or the time is up.
    static bool Until(const std::function<bool()>& done, int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < milliseconds) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return done();
    }
    static bool Exists(const std::string& name) { return std::filesystem::exists(name); }

    TempTestFolder folder;
    MainWindow window;

private:
    QString previous_;
};

TEST_F(MonitorMode, FourPlacesAndTheFifthIsRefused) {
    std::vector<MapView*> views;
    for (int i = 0; i < 5; ++i) {
        const std::string name = "m" + std::to_string(i) + ".dml";
        folder.Write(name, "[DATA]\r\nMapMatrix=data.csv;\r\n");
        views.push_back(OpenMap(name));
        ASSERT_NE(views.back(), nullptr);
    }
    BoxAnswers answers;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(views[i]->EnterMonitorMode());
        EXPECT_EQ(views[i]->SemaphorePath(), "~" + std::to_string(i + 1) + ".TMP");
    }
    EXPECT_FALSE(views[4]->EnterMonitorMode());
    ASSERT_EQ(answers.texts.size(), 5u);
    EXPECT_EQ(answers.texts[0], "Entering monitor mode\nMonitor semaphore file: ~1.TMP");
    EXPECT_EQ(answers.texts[4], "Cannot enter monitor mode\nNumber of monitor places exceeded");
    EXPECT_THAT(window.Area()->subWindowList()[1]->windowTitle().toStdString(),
                HasSubstr("Semaphore ~2.TMP"));

    // Place 2 freed, by leaving or by closing the view, is the next one taken.
    views[1]->LeaveMonitorMode();
    EXPECT_TRUE(views[4]->EnterMonitorMode());
    EXPECT_EQ(views[4]->MonitorPlace(), 2);
    window.Area()->subWindowList()[2]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(MonitorPlaces::Instance().IsTaken(3));
    for (MapView* view : {views[0], views[3], views[4]}) {
        view->LeaveMonitorMode();
    }
}

TEST_F(MonitorMode, TheLockHoldsTheSignalBack) {
    MapView* view = OpenMap();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->Entry().Document().DataMatrix.Get(0, 0), 1);
    {
        BoxAnswers answers;
        ASSERT_TRUE(view->EnterMonitorMode());
    }
    WriteData(2);
    folder.Write("$1.TMP", "");
    folder.Write("~1.TMP", "");
    view->MonitorTick();
    EXPECT_EQ(view->Entry().Document().DataMatrix.Get(0, 0), 1);
    EXPECT_TRUE(Exists("~1.TMP"));
    std::filesystem::remove("$1.TMP");
    view->MonitorTick();
    EXPECT_EQ(view->Entry().Document().DataMatrix.Get(0, 0), 2);
    EXPECT_FALSE(Exists("~1.TMP"));
    view->LeaveMonitorMode();
}

// A reload that fails asks nobody: the last good map stays, the status
// bar and the caption say which file failed and why, the signal is
// answered, and the next good signal shows the new data.
TEST_F(MonitorMode, AFailedReloadAsksNothingAndGoesOn) {
    MapView* view = OpenMap();
    ASSERT_NE(view, nullptr);
    {
        BoxAnswers answers;
        ASSERT_TRUE(view->EnterMonitorMode());
    }
    QMdiSubWindow* child = window.Area()->subWindowList().front();
    BoxAnswers answers;
    folder.Write("data.csv", "5,5,5\r\n5,5\r\n");
    folder.Write("~1.TMP", "");
    view->MonitorTick();
    QApplication::processEvents();
    EXPECT_TRUE(answers.texts.empty());
    EXPECT_FALSE(Exists("~1.TMP"));
    const std::string line =
        "Cannot reload data.csv: Different text lines have different number of fields";
    EXPECT_EQ(window.statusBar()->currentMessage().toStdString(), line);
    EXPECT_THAT(child->windowTitle().toStdString(), HasSubstr("Semaphore ~1.TMP – " + line));
    const DocumentEntry& entry = view->Entry();
    EXPECT_TRUE(entry.IsLoaded());
    EXPECT_EQ(entry.Document().DataMatrix.GetRows(), 3u);
    EXPECT_EQ(entry.Document().DataMatrix.Get(2, 2), 1);

    // A setup file that no longer reads is named as the failed file.
    folder.Write("watched.dml",
                 "[DATA]\r\nMapMatrix=data.csv;\r\n[MAP.SCALE]\r\nMapScale={1 2 ]\r\n");
    folder.Write("~1.TMP", "");
    view->MonitorTick();
    EXPECT_TRUE(answers.texts.empty());
    EXPECT_THAT(window.statusBar()->currentMessage().toStdString(),
                HasSubstr("Cannot reload watched.dml: "));

    folder.Write("watched.dml", "[DATA]\r\nMapMatrix=data.csv;\r\n");
    WriteData(3);
    folder.Write("~1.TMP", "");
    view->MonitorTick();
    EXPECT_TRUE(answers.texts.empty());
    EXPECT_EQ(entry.Document().DataMatrix.Get(2, 2), 3);
    EXPECT_TRUE(view->MonitorFailure().isEmpty());
    EXPECT_EQ(window.statusBar()->currentMessage(), QString());
    EXPECT_THAT(child->windowTitle().toStdString(), Not(HasSubstr("Cannot reload")));
    view->LeaveMonitorMode();
}

// Outside monitor mode the same data file still asks whether to go on.
TEST_F(MonitorMode, OpeningOutsideMonitorModeStillAsks) {
    folder.Write("data.csv", "5,5,5\r\n5,5\r\n");
    BoxAnswers answers;
    answers.Then(QMessageBox::Cancel);
    EXPECT_EQ(OpenMap(), nullptr);
    ASSERT_FALSE(answers.texts.empty());
    EXPECT_EQ(answers.texts.front(),
              "Different text lines have different number of fields\nContinue?");
}

// Entering monitor mode with edits not saved asks what becomes of them.
TEST_F(MonitorMode, EnteringWithUnsavedEditsAsksFirst) {
    MapView* view = OpenMap();
    ASSERT_NE(view, nullptr);
    ChartDocument& document = view->Entry().Document();
    const bool shown = document.Legend.IsVisible();
    ASSERT_TRUE(view->Execute(Cmd::ShowScale));
    ASSERT_TRUE(view->IsDirty());
    const std::string question = "The map has changes that are not saved. Monitor mode reads the "
                                 "map again from its files. Save the changes first?";
    {
        // Enter answers Cancel: nothing happens.
        BoxAnswers answers;
        EXPECT_FALSE(view->EnterMonitorMode());
        EXPECT_EQ(answers.texts, std::vector<std::string>{question});
    }
    EXPECT_FALSE(view->IsMonitoring());
    EXPECT_TRUE(view->IsDirty());
    EXPECT_EQ(document.Legend.IsVisible(), !shown);
    {
        // No discards them: the map is read again from its file.
        BoxAnswers answers;
        answers.Then(QMessageBox::No);
        EXPECT_TRUE(view->EnterMonitorMode());
        ASSERT_EQ(answers.texts.size(), 2u);
        EXPECT_EQ(answers.texts[0], question);
    }
    EXPECT_TRUE(view->IsMonitoring());
    EXPECT_FALSE(view->IsDirty());
    EXPECT_EQ(document.Legend.IsVisible(), shown);
    view->LeaveMonitorMode();

    ASSERT_TRUE(view->Execute(Cmd::ShowScale));
    {
        // Yes saves them first.
        BoxAnswers answers;
        answers.Then(QMessageBox::Yes);
        EXPECT_TRUE(view->EnterMonitorMode());
    }
    EXPECT_FALSE(view->IsDirty());
    std::ifstream in(folder / "watched.dml", std::ios::binary);
    EXPECT_THAT(std::string(std::istreambuf_iterator<char>(in), {}), HasSubstr("[MAP.SCALE]"));
    view->LeaveMonitorMode();
}

// An edit made while monitoring stays over every reload, and stays to be
// saved.
TEST_F(MonitorMode, AnEditWhileMonitoringOutlivesTheReload) {
    // The setup file names a missing colour of its own, which a reload
    // would read over the edit.
    folder.Write("watched.dml",
                 "[DATA]\r\nMapMatrix=data.csv;\r\n[COLORS]\r\nMapMissingColor=255;\r\n");
    MapView* view = OpenMap();
    ASSERT_NE(view, nullptr);
    {
        BoxAnswers answers;
        ASSERT_TRUE(view->EnterMonitorMode());
    }
    ChartDocument& document = view->Entry().Document();
    const bool shown = document.Legend.IsVisible();
    view->Edit(QStringLiteral("Colours"), [&] {
        document.MissingColor = 0x123456;
        document.LevelColors.Missing() = 0x123456;
        document.Legend.SetVisible(!shown);
        return true;
    });
    ASSERT_TRUE(view->IsDirty());
    BoxAnswers answers;
    WriteData(4);
    folder.Write("~1.TMP", "");
    view->MonitorTick();
    EXPECT_TRUE(answers.texts.empty());
    EXPECT_EQ(document.DataMatrix.Get(0, 0), 4);
    EXPECT_EQ(document.MissingColor, 0x123456u);
    EXPECT_EQ(document.Legend.IsVisible(), !shown);
    EXPECT_TRUE(view->IsDirty());
    EXPECT_TRUE(window.Area()->subWindowList().front()->isWindowModified());
    view->LeaveMonitorMode();
}

TEST_F(MonitorMode, IntervalsUpToAnHourWithoutAQuestion) {
    MapView* view = OpenMap();
    ASSERT_NE(view, nullptr);
    BoxAnswers answers;
    EXPECT_TRUE(view->SetMonitorInterval("3600000"));
    EXPECT_EQ(view->MonitorInterval(), 3600000u);
    EXPECT_TRUE(answers.texts.empty());
    answers.Then(QMessageBox::Cancel);
    EXPECT_FALSE(view->SetMonitorInterval("3600001"));
    EXPECT_EQ(view->MonitorInterval(), 3600000u);
    EXPECT_EQ(answers.texts,
              std::vector<std::string>{"Are you sure to set it more than one hour?"});
    // Text that is no number reads as 0, which would poll without rest.
    EXPECT_TRUE(view->SetMonitorInterval("fast"));
    EXPECT_EQ(view->MonitorInterval(), kMinimumMonitorInterval);
    EXPECT_TRUE(view->SetMonitorInterval("250 ms"));
    EXPECT_EQ(view->MonitorInterval(), 250u);
}

// Another program rewrites the data 200 times, slowly and with the lock
// held, and signals each time. No reload may see a half-written file, and
// the map ends showing the last data.
TEST_F(MonitorMode, AWriterSignallingTwoHundredTimes) {
    MapView* view = OpenMap();
    ASSERT_NE(view, nullptr);
    {
        BoxAnswers answers;
        ASSERT_TRUE(view->EnterMonitorMode());
    }
    view->SetMonitorInterval("10");
    int reloads = 0;
    int torn = 0;
    DocumentEntry& entry = view->Entry();
    QObject::connect(&entry, &DocumentEntry::Reloaded, [&] {
        ++reloads;
        const DMAT& data = entry.Document().DataMatrix;
        if (data.GetRows() != 3 || data.GetColumns() != 3) {
            ++torn;
            return;
        }
        for (std::uint32_t r = 0; r < 3; ++r) {
            for (std::uint32_t c = 0; c < 3; ++c) {
                torn += data.Get(r, c) != data.Get(0, 0) ? 1 : 0;
            }
        }
    });
    const char* writer = R"(
import os, random, time
random.seed(7)
for i in range(2, 202):
    open("$1.TMP", "w").close()
    with open("data.csv", "w") as data:
        data.write(f"{i},{i},{i}\r\n")
        data.flush()
        time.sleep(random.random() * 0.003)
        data.write(f"{i},{i},{i}\r\n{i},{i},{i}\r\n")
    os.remove("$1.TMP")
    open("~1.TMP", "w").close()
    while os.path.exists("~1.TMP"):
        time.sleep(0.001)
    time.sleep(random.random() * 0.004)
)";
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), writer});
    ASSERT_TRUE(process.waitForStarted(5000));
    BoxAnswers answers;
    EXPECT_TRUE(Until([&] { return process.state() == QProcess::NotRunning; }, 60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(reloads, 200);
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(entry.Document().DataMatrix.Get(2, 2), 201);
    EXPECT_TRUE(answers.texts.empty());
    view->LeaveMonitorMode();
}

} // namespace
