#include "gui/HelpWindow.h"
#include "gui/Commands.h"
#include "gui/GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/MapView.h"
#include "view/HelpTopics.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include <QApplication>
#include <QToolBar>
#include <gmock/gmock.h>

#include <gtest/gtest.h>

using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

// The text from the caret to the end of its paragraph.
QString TextAtCaret(const QTextBrowser& browser) {
    const QTextCursor cursor = browser.textCursor();
    const QTextBlock block = cursor.block();
    return block.text().mid(cursor.position() - block.position());
}

class Help : public ::testing::Test {
protected:
    Help() {
        help.ShowTopic(QString());
        help.show();
        help.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&help));
    }
    HelpWindow help;
};

TEST_F(Help, TheBuildTreeHoldsTheManualWithTheProgramsVersion) {
    ASSERT_FALSE(HelpWindow::ManualPath().isEmpty());
    const QString text = help.Browser()->toPlainText();
    EXPECT_THAT(text.toStdString(), HasSubstr("Demla " DEMLA_VERSION " — user manual."));
    EXPECT_THAT(text.toStdString(), HasSubstr("version " DEMLA_VERSION));
    EXPECT_FALSE(text.contains(QStringLiteral("@DEMLA_VERSION@")));
    EXPECT_EQ(help.windowTitle(), "Demla Help");
}

TEST_F(Help, EveryTopicOfTheManualIsAnAnchorTheWindowFinds) {
    QFile file(HelpWindow::ManualPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    static const QRegularExpression id(QString::fromUtf8(R"re(\sid="([^"]+)")re"));
    std::vector<std::string> missing;
    int count = 0;
    for (auto it = id.globalMatch(html); it.hasNext();) {
        const QString name = it.next().captured(1);
        ++count;
        if (!help.HasAnchor(name)) {
            missing.push_back(name.toStdString());
        }
    }
    EXPECT_GT(count, 50);
    EXPECT_THAT(missing, IsEmpty());
    // The topics the text view asks for by section.
    for (const char* header : FindSectionItems()) {
        QString section = QString::fromLatin1(header);
        section = QStringLiteral("section-") + section.mid(1, section.size() - 2);
        EXPECT_TRUE(help.HasAnchor(section)) << section.toStdString();
    }
}

TEST_F(Help, ATopicPutsTheCaretAtItsHeadingAndAnUnknownOneAtTheTop) {
    ASSERT_TRUE(help.ShowTopic(QString::fromLatin1(kMapViewTopic)));
    EXPECT_EQ(help.CurrentTopic(), "map-view");
    EXPECT_TRUE(TextAtCaret(*help.Browser()).startsWith(QStringLiteral("3. The map window")))
        << TextAtCaret(*help.Browser()).toStdString();

    ASSERT_TRUE(help.ShowTopic(QStringLiteral("key-MapMatrix")));
    EXPECT_TRUE(TextAtCaret(*help.Browser()).startsWith(QStringLiteral("MapMatrix")));

    ASSERT_TRUE(help.ShowTopic(QStringLiteral("key-NoSuchKey")));
    EXPECT_EQ(help.CurrentTopic(), "");
    EXPECT_EQ(help.Browser()->textCursor().position(), 0);
}

TEST_F(Help, BackForwardAndHomeWalkThePagesReadWithTheirKeys) {
    help.ShowTopic(QStringLiteral("map-view"));
    help.ShowTopic(QStringLiteral("section-COLORS"));
    EXPECT_TRUE(help.BackAction()->isEnabled());
    EXPECT_FALSE(help.ForwardAction()->isEnabled());

    QTest::keyClick(help.Browser(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(help.CurrentTopic(), "map-view");
    EXPECT_TRUE(TextAtCaret(*help.Browser()).startsWith(QStringLiteral("3. The map window")));
    EXPECT_TRUE(help.ForwardAction()->isEnabled());

    QTest::keyClick(help.Browser(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(help.CurrentTopic(), "section-COLORS");

    help.HomeAction()->trigger();
    EXPECT_EQ(help.CurrentTopic(), "");
    EXPECT_EQ(help.Browser()->textCursor().position(), 0);
}

TEST_F(Help, FindGoesRoundTheManualBothWaysAndSaysWhenNothingIsFound) {
    QTest::keyClick(help.Browser(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(help.FindBar()->isVisible());
    EXPECT_TRUE(help.FindField()->hasFocus());

    QTest::keyClicks(help.FindField(), QStringLiteral("MapMatrix"));
    QTest::keyClick(help.FindField(), Qt::Key_Return);
    const int first = help.Browser()->textCursor().selectionStart();
    EXPECT_EQ(help.Browser()->textCursor().selectedText().toLower(), "mapmatrix");

    QTest::keyClick(help.FindField(), Qt::Key_F3);
    const int second = help.Browser()->textCursor().selectionStart();
    EXPECT_GT(second, first);
    QTest::keyClick(help.FindField(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(help.Browser()->textCursor().selectionStart(), first);
    // Backward from the first place goes round to the last.
    QTest::keyClick(help.FindField(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_GT(help.Browser()->textCursor().selectionStart(), second);

    help.FindField()->setText(QStringLiteral("no such words in the manual"));
    EXPECT_FALSE(help.FindNext());
    bool said = false;
    for (QLabel* label : help.FindBar()->findChildren<QLabel*>()) {
        said = said || (label->text() == "Not found" && label->isVisible());
    }
    EXPECT_TRUE(said);
}

TEST_F(Help, EscapeClosesTheFindBarThenTheWindow) {
    help.ShowFindBar();
    QTest::keyClick(help.FindField(), Qt::Key_Escape);
    EXPECT_FALSE(help.FindBar()->isVisible());
    EXPECT_TRUE(help.isVisible());
    QTest::keyClick(help.Browser(), Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
}

TEST_F(Help, EveryControlHasAName) {
    help.ShowFindBar();
    for (QAction* action : {help.BackAction(), help.ForwardAction(), help.HomeAction(),
                            help.FindAction(), help.BrowserAction()}) {
        const QList<QObject*> shown = action->associatedObjects();
        bool named = false;
        for (QObject* object : shown) {
            if (auto* widget = qobject_cast<QWidget*>(object)) {
                named = named || !widget->accessibleName().isEmpty();
            }
        }
        EXPECT_TRUE(named) << action->text().toStdString();
    }
    EXPECT_EQ(help.BrowserAction()->text().remove('&'), "Open in Browser");
    EXPECT_FALSE(help.Browser()->accessibleName().isEmpty());
    EXPECT_FALSE(help.FindField()->accessibleName().isEmpty());
    for (QAbstractButton* button : help.FindBar()->findChildren<QAbstractButton*>()) {
        EXPECT_FALSE(button->accessibleName().isEmpty()) << button->text().toStdString();
    }
}

TEST(HelpFromTheWindow, F1OnAMapShowsTheHelpWindowAtTheMapViewsTopic) {
    ExampleFolder folder;
    MainWindow window;
    window.show();
    auto* map = dynamic_cast<MapView*>(
        window.OpenFile(folder.File("dk-male-mortality.dml"), ViewKind::Map));
    ASSERT_NE(map, nullptr);
    map->setFocus();
    EXPECT_EQ(window.Help(), nullptr);
    QTest::keyClick(map, Qt::Key_F1);
    ASSERT_NE(window.Help(), nullptr);
    EXPECT_TRUE(window.Help()->isVisible());
    EXPECT_EQ(window.Help()->windowTitle(), "Demla Help");
    EXPECT_EQ(window.Help()->CurrentTopic(), "map-view");

    // Help Contents opens the same window at the manual's top.
    window.Action(Cmd::HelpContents)->trigger();
    EXPECT_EQ(window.Help()->CurrentTopic(), "");
    EXPECT_EQ(window.findChildren<HelpWindow*>().size(), 1);

    // F1 with the focus outside the map (the tool bar, the frame) still
    // asks for the active map's topic.
    QWidget* toolBar = window.findChild<QToolBar*>();
    ASSERT_NE(toolBar, nullptr);
    // Window shortcuts answer only in the active window.
    QApplication::setActiveWindow(&window);
    for (QWidget* focus : {toolBar, static_cast<QWidget*>(&window)}) {
        focus->setFocusPolicy(Qt::StrongFocus);
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_F1);
        EXPECT_EQ(window.Help()->CurrentTopic(), "map-view");
        window.Action(Cmd::HelpContents)->trigger();
    }
    BoxAnswers answers;
    answers.Then(QMessageBox::No);
    window.CloseAll();
}

} // namespace
