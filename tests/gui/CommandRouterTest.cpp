#include "gui/CommandRouter.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"
#include "gui/TextView.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A table of handlers that writes down which of its commands ran.
struct Recorder {
    CommandHandlers handlers;
    std::vector<int> ran;
    bool enabled = true;

    explicit Recorder(std::initializer_list<int> commands) {
        for (const int command : commands) {
            handlers.Add(
                command, [this, command] { ran.push_back(command); }, [this] { return enabled; });
        }
    }
};

TEST(CommandRouter, AViewCommandReachesOnlyTheActiveViewOfItsKind) {
    Recorder map({Cmd::ShowPlot, Cmd::ZoomIn});
    Recorder text({Cmd::Cut, Cmd::FindNext});
    CommandRouter router;

    // No view: the commands of both kinds are disabled and do nothing.
    EXPECT_FALSE(router.IsEnabled(Cmd::ShowPlot));
    EXPECT_FALSE(router.Execute(Cmd::Cut));

    router.AttachView(CommandScope::TextView, &text.handlers);
    EXPECT_FALSE(router.IsEnabled(Cmd::ShowPlot));
    EXPECT_FALSE(router.Execute(Cmd::ShowPlot));
    EXPECT_TRUE(router.Execute(Cmd::Cut));

    // A map becomes active: the text view's handlers are left.
    router.AttachView(CommandScope::MapView, &map.handlers);
    EXPECT_FALSE(router.IsEnabled(Cmd::Cut));
    EXPECT_FALSE(router.Execute(Cmd::FindNext));
    EXPECT_TRUE(router.Execute(Cmd::ShowPlot));
    EXPECT_TRUE(router.Execute(Cmd::ZoomIn));

    // The last view closed.
    router.AttachView(CommandScope::MapView, nullptr);
    EXPECT_FALSE(router.Execute(Cmd::ZoomIn));

    EXPECT_EQ(map.ran, (std::vector<int>{Cmd::ShowPlot, Cmd::ZoomIn}));
    EXPECT_EQ(text.ran, (std::vector<int>{Cmd::Cut}));
}

TEST(CommandRouter, TheCommandTableDecidesTheScopeNotTheRegistration) {
    // A view that registers a command of the program never receives it.
    Recorder map({Cmd::ShowPlot, Cmd::FileNew, Cmd::FileSave});
    Recorder application({Cmd::FileNew});
    Recorder document({Cmd::FileSave});
    CommandRouter router;
    router.Attach(CommandScope::Application, &application.handlers);
    router.Attach(CommandScope::Document, &document.handlers);
    router.AttachView(CommandScope::MapView, &map.handlers);

    EXPECT_TRUE(router.Execute(Cmd::FileNew));
    EXPECT_TRUE(router.Execute(Cmd::FileSave));
    EXPECT_EQ(application.ran, (std::vector<int>{Cmd::FileNew}));
    EXPECT_EQ(document.ran, (std::vector<int>{Cmd::FileSave}));
    EXPECT_TRUE(map.ran.empty());
    // The program's commands stay whatever view is active, or none.
    router.AttachView(CommandScope::TextView, nullptr);
    EXPECT_TRUE(router.IsEnabled(Cmd::FileNew));
    // An id outside the table belongs to no scope; a command of a point of
    // the map needs its click and is never routed.
    EXPECT_FALSE(router.Execute(Cmd::SectionBase));
    Recorder cell({Cmd::PullUpperLine});
    router.Attach(CommandScope::MapView, &cell.handlers);
    EXPECT_FALSE(router.IsEnabled(Cmd::PullUpperLine));
    EXPECT_TRUE(cell.ran.empty());
}

TEST(CommandRouter, EnablersAndCheckMarks) {
    Recorder map({Cmd::ShowPlot});
    bool shown = true;
    map.handlers.Add(
        Cmd::ShowScale, [&] { shown = !shown; }, [&] { return map.enabled; },
        [&] { return std::optional<bool>(shown); });
    CommandRouter router;
    router.AttachView(CommandScope::MapView, &map.handlers);

    EXPECT_EQ(router.IsChecked(Cmd::ShowScale), std::optional<bool>(true));
    // A command without a check mark has none, enabled or not.
    EXPECT_EQ(router.IsChecked(Cmd::ShowPlot), std::nullopt);

    map.enabled = false;
    EXPECT_FALSE(router.Execute(Cmd::ShowScale));
    EXPECT_FALSE(router.Execute(Cmd::ShowPlot));
    EXPECT_TRUE(map.ran.empty());
    // A disabled command still shows its state.
    EXPECT_EQ(router.IsChecked(Cmd::ShowScale), std::optional<bool>(true));

    map.enabled = true;
    EXPECT_TRUE(router.Execute(Cmd::ShowScale));
    EXPECT_EQ(router.IsChecked(Cmd::ShowScale), std::optional<bool>(false));
    // Detached, the view's check marks are gone with it.
    router.AttachView(CommandScope::TextView, nullptr);
    EXPECT_EQ(router.IsChecked(Cmd::ShowScale), std::nullopt);
}

TEST(CommandRouter, AHandlerMayReplaceTheTableThatRunsIt) {
    // Running a command can change the active view, which makes the text
    // view's table again while its handler is still running.
    CommandHandlers handlers;
    int runs = 0;
    handlers.Add(Cmd::Cut, [&] {
        handlers = CommandHandlers();
        ++runs;
    });
    EXPECT_TRUE(handlers.Execute(Cmd::Cut));
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(handlers.Handles(Cmd::Cut));
}

class ScopedWindow : public ::testing::Test {
protected:
    ScopedWindow() {
        window.resize(1000, 800);
        window.show();
        map = dynamic_cast<MapView*>(
            window.OpenFile(folder.File("dk-male-mortality.dml"), ViewKind::Map));
        QApplication::processEvents();
    }
    ~ScopedWindow() override {
        BoxAnswers answers;
        answers.Then(QMessageBox::No);
        window.CloseAll();
    }

    ExampleFolder folder;
    MainWindow window;
    MapView* map = nullptr;
};

TEST_F(ScopedWindow, AMapViewAnswersEveryMapCommandAndNoOther) {
    ASSERT_NE(map, nullptr);
    for (const CommandInfo& info : CommandTable()) {
        EXPECT_EQ(map->Commands().Handles(info.id), info.scope == CommandScope::MapView)
            << info.text;
    }
}

TEST_F(ScopedWindow, MapCommandsAreDisabledAndDoNothingInATextView) {
    ASSERT_NE(map, nullptr);
    window.Action(Cmd::TextEditor)->trigger();
    QApplication::processEvents();
    ASSERT_NE(dynamic_cast<TextView*>(window.ActiveView()), nullptr);
    for (const CommandInfo& info : CommandTable()) {
        if (info.scope == CommandScope::MapView) {
            EXPECT_FALSE(window.Action(info.id)->isEnabled()) << info.text;
        }
    }
    EXPECT_TRUE(window.Action(Cmd::Find)->isEnabled());
    // An action enabled by mistake still does nothing: the route itself
    // refuses a map command while a text view is active.
    const bool shown = map->State().showMap;
    window.Action(Cmd::ShowPlot)->setEnabled(true);
    window.Action(Cmd::ShowPlot)->trigger();
    EXPECT_EQ(map->State().showMap, shown);
    EXPECT_FALSE(window.Action(Cmd::ShowPlot)->isChecked());

    // Back on the map, its commands are enabled and the text view's not.
    window.Area()->setActiveSubWindow(window.Area()->subWindowList().first());
    QApplication::processEvents();
    ASSERT_EQ(window.ActiveView(), map);
    EXPECT_TRUE(window.Action(Cmd::ShowPlot)->isEnabled());
    EXPECT_FALSE(window.Action(Cmd::Find)->isEnabled());
    window.Action(Cmd::ShowPlot)->trigger();
    EXPECT_EQ(map->State().showMap, !shown);
    EXPECT_EQ(window.Action(Cmd::ShowPlot)->isChecked(), !shown);
}

} // namespace
