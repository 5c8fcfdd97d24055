#include "gui/DialogCatalog.h"
#include "gui/HelpWindow.h"
#include "gui/TextView.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

using ::testing::IsEmpty;

namespace {

// The letter that Alt (or the letter alone, in an open menu) reaches an
// item by: the one after a single "&"; none without one.
QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (text[i + 1] == QLatin1Char('&')) {
                ++i;
                continue;
            }
            return text[i + 1].toLower();
        }
    }
    return QChar();
}

// Items reachable at once, by the texts they show.
class Reachable {
public:
    void Add(const QString& text) {
        const QChar key = Mnemonic(text);
        if (!key.isNull()) {
            byKey_[key].push_back(text);
        }
    }
    // "where: 'x' shared by A, B" for every letter two items share.
    void Clashes(const std::string& where, std::vector<std::string>& found) const {
        for (const auto& [key, texts] : byKey_) {
            if (texts.size() < 2) {
                continue;
            }
            std::string line = where + ": '" + QString(key).toStdString() + "' shared by";
            for (const QString& text : texts) {
                line += " \"" + text.toStdString() + "\"";
            }
            found.push_back(line);
        }
    }

private:
    std::map<QChar, std::vector<QString>> byKey_;
};

// A menu's items, then each of its submenus in turn (their items are
// reachable once the submenu is open).
void WalkMenu(QMenu* menu, const std::string& where, std::vector<std::string>& found, int& menus) {
    ++menus;
    emit menu->aboutToShow();
    Reachable items;
    std::vector<QMenu*> submenus;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible()) {
            continue;
        }
        items.Add(action->text());
        if (action->menu() != nullptr) {
            submenus.push_back(action->menu());
        }
    }
    items.Clashes(where, found);
    for (QMenu* submenu : submenus) {
        WalkMenu(submenu, where + " > " + submenu->title().remove('&').toStdString(), found, menus);
    }
}

void WalkMenuBar(QMenuBar* bar, const std::string& where, std::vector<std::string>& found,
                 int& menus) {
    Reachable titles;
    for (QAction* action : bar->actions()) {
        titles.Add(action->text());
    }
    titles.Clashes(where + " menu bar", found);
    for (QAction* action : bar->actions()) {
        if (action->menu() != nullptr) {
            WalkMenu(action->menu(), where + " " + action->text().remove('&').toStdString(), found,
                     menus);
        }
    }
}

// Everything with a mnemonic shown in a window at once: buttons, labels
// bound to a field, group titles and tab titles.
void WalkWidgets(QWidget* root, const std::string& where, std::vector<std::string>& found) {
    Reachable items;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(root)) {
            continue;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            items.Add(button->text());
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->buddy() != nullptr) {
                items.Add(label->text());
            }
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            items.Add(group->title());
        } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                items.Add(tabs->tabText(i));
            }
        }
    }
    items.Clashes(where, found);
}

TEST(Mnemonics, NoTwoItemsOfAMenuShareALetterInAnyKindOfView) {
    ExampleFolder folder;
    MainWindow window;
    window.show();
    std::vector<std::string> found;
    int menus = 0;
    WalkMenuBar(window.menuBar(), "no view:", found, menus);

    auto* map = dynamic_cast<MapView*>(
        window.OpenFile(folder.File("dk-male-mortality.dml"), ViewKind::Map));
    ASSERT_NE(map, nullptr);
    WalkMenuBar(window.menuBar(), "map view:", found, menus);

    DocumentView* text = window.OpenFile(folder.File("dk-female-mortality.dml"), ViewKind::Text);
    ASSERT_NE(dynamic_cast<TextView*>(text), nullptr);
    ASSERT_EQ(window.ActiveView(), text);
    WalkMenuBar(window.menuBar(), "text view:", found, menus);
    // File with Export and Recent Files, Window and Help in every kind;
    // Edit with its four submenus with a map, Edit and Find Section with a
    // text.
    EXPECT_EQ(menus, 5 + (5 + 5) + (5 + 2));

    // The map's context menus: with Ctrl anywhere, and plain over the
    // cells and over the legend; found by trying the whole view.
    std::set<std::vector<std::string>> kinds;
    for (int y = 0; y < map->height(); y += 8) {
        for (int x = 0; x < map->width(); x += 8) {
            for (const Qt::KeyboardModifiers modifiers :
                 {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
                std::unique_ptr<QMenu> menu(map->ContextMenuAt(QPoint(x, y), modifiers, map));
                if (menu == nullptr) {
                    continue;
                }
                std::vector<std::string> texts;
                for (QAction* action : menu->actions()) {
                    texts.push_back(action->text().toStdString());
                }
                if (kinds.insert(texts).second) {
                    WalkMenu(menu.get(), "map context menu", found, menus);
                }
            }
        }
    }
    EXPECT_EQ(kinds.size(), 3U);
    EXPECT_THAT(found, IsEmpty());
    BoxAnswers answers;
    answers.Then(QMessageBox::No).Then(QMessageBox::No);
    window.CloseAll();
}

TEST(Mnemonics, NoTwoControlsOfADialogPageShareALetter) {
    DialogCatalog catalog;
    ASSERT_NE(catalog.map, nullptr);
    std::vector<std::string> found;
    int pages = 0;
    for (const DialogCase& entry : catalog.Cases()) {
        std::unique_ptr<QDialog> dialog = entry.make();
        ForEachPage(*dialog, [&](const QString& page) {
            const std::string where = entry.name + " / " + page.toStdString();
            ++pages;
            WalkWidgets(dialog.get(), where, found);
            // A switch that renames fields: both of its states.
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
                if (box->isVisibleTo(dialog.get()) && box->text().remove('&') == "Link To Plot") {
                    box->toggle();
                    WalkWidgets(dialog.get(), where + " (toggled)", found);
                    box->toggle();
                }
            }
        });
    }
    // The fourteen plot frame pages alone, and every sheet's pages.
    EXPECT_GE(pages, 40);

    HelpWindow help;
    help.ShowFindBar();
    WalkWidgets(&help, "Demla Help", found);
    EXPECT_THAT(found, IsEmpty());
}

TEST(Mnemonics, TheWalkFindsAClash) {
    QWidget page;
    auto* first = new QCheckBox(QStringLiteral("&Visible"), &page);
    auto* second = new QCheckBox(QStringLiteral("&Vertical"), &page);
    auto* literal = new QCheckBox(QStringLiteral("Tom && &Jerry"), &page);
    auto* hidden = new QCheckBox(QStringLiteral("&Jump"), &page);
    hidden->hide();
    (void)first;
    (void)second;
    (void)literal;
    std::vector<std::string> found;
    WalkWidgets(&page, "page", found);
    EXPECT_EQ(found, std::vector<std::string>{"page: 'v' shared by \"&Visible\" \"&Vertical\""});
}

} // namespace
