#include "gui/MainWindow.h"

#include "gui/Commands.h"
#include "gui/HelpWindow.h"
#include "gui/MapView.h"
#include "gui/TextView.h"
#include "platform/QtText.h"
#include "view/HelpTopics.h"

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoGroup>

// The window's menus, tool bar, status bar and help.

namespace {

// The status bar's panes in their order, with their widths in characters.
struct PaneSpec {
    int number;
    int width;
    const char* name;
};
const std::array<PaneSpec, 8> kPanes = {{{1, 12, "Value"},
                                         {2, 6, "First axis"},
                                         {3, 6, "Second axis"},
                                         {8, 6, "Third axis"},
                                         {4, 4, "Pixel x"},
                                         {5, 4, "Pixel y"},
                                         {6, 4, "Page x"},
                                         {7, 4, "Page y"}}};

// The buttons of each tool-bar set; 0 is a separator.
const std::array<std::vector<int>, 3> kToolBarSets = {{
    {Cmd::FileNew, Cmd::FileOpen, Cmd::FileSave, 0, Cmd::Print},
    {Cmd::FileNew, Cmd::FileOpen, Cmd::FileSave, 0, Cmd::Print, Cmd::Undo, Cmd::Cut, Cmd::Copy,
     Cmd::Paste, 0, Cmd::Find, Cmd::FindNext},
    {Cmd::FileNew, Cmd::FileOpen, Cmd::FileSave, 0, Cmd::Print, Cmd::PlotFrame, Cmd::Scale,
     Cmd::ColorSchemes, Cmd::SmartScale, 0, Cmd::MoveUp, Cmd::MoveDown, Cmd::MoveLeft,
     Cmd::MoveRight, Cmd::FitPage, 0, Cmd::TextEditor},
}};

} // namespace

void MainWindow::CreateMenus() {
    CreateFileMenu();
    CreateMapEditMenu();
    CreateTextEditMenu();
    CreateWindowMenu();
    helpMenu_ = new QMenu(tr("&Help"), this);
    helpMenu_->addAction(actions_[Cmd::HelpContents]);
    helpMenu_->addAction(actions_[Cmd::About]);

    for (QMenu* menu : {mapEditMenu_, textEditMenu_, helpMenu_}) {
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::UpdateActions);
    }
    // Keys without a menu item work wherever the focus is; each is enabled
    // only while a view of its kind is active.
    for (const int id :
         {Cmd::FindSection, Cmd::CopyBitmapKey, Cmd::CopyMetafileKey, Cmd::ZoomIn, Cmd::ZoomOut}) {
        addAction(actions_[id]);
    }
    // F1 is context help: the topic of the active view, wherever the focus
    // is (a focused view answers it itself, for the place of its caret).
    // Help -> Contents keeps showing the key, but chosen from the menu it
    // opens the manual at its start.
    actions_[Cmd::HelpContents]->setShortcutContext(Qt::WidgetShortcut);
    auto* contextHelp = new QAction(this);
    contextHelp->setShortcuts(actions_[Cmd::HelpContents]->shortcuts());
    connect(contextHelp, &QAction::triggered, this, [this] { OpenHelp(ActiveHelpTopic()); });
    addAction(contextHelp);
}

void MainWindow::AddActions(QMenu* menu, std::initializer_list<int> commands) {
    for (const int id : commands) {
        if (id == 0) {
            menu->addSeparator();
        } else {
            menu->addAction(actions_[id]);
        }
    }
}

void MainWindow::CreateFileMenu() {
    fileMenu_ = new QMenu(tr("&File"), this);
    AddActions(fileMenu_, {Cmd::FileNew, Cmd::FileNewDerived, Cmd::FileOpen, Cmd::FileClose,
                           Cmd::FileSave, Cmd::FileSaveAs, 0});
    exportMenu_ = fileMenu_->addMenu(tr("&Export"));
    AddActions(exportMenu_, {Cmd::ExportBitmap, Cmd::ExportMetafile, 0, Cmd::ExportPng,
                             Cmd::ExportSvg, Cmd::ExportPdf});
    fileMenu_->addSeparator();
    AddActions(fileMenu_, {Cmd::Print, Cmd::PrintSetup, Cmd::PrintActiveWindows, 0});
    recentMenu_ = fileMenu_->addMenu(tr("Recent &Files"));
    fileMenu_->addSeparator();
    fileMenu_->addAction(actions_[Cmd::Exit]);
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] {
        UpdateActions();
        UpdateRecentMenu();
    });
}

void MainWindow::CreateMapEditMenu() {
    mapEditMenu_ = new QMenu(tr("&Edit"), this);
    undoGroup_ = new QUndoGroup(this);
    undoMap_ = undoGroup_->createUndoAction(this, tr("&Undo"));
    undoMap_->setShortcut(QKeySequence::Undo);
    undoMap_->setIcon(QIcon(QStringLiteral(":/icons/undo.svg")));
    undoMap_->setStatusTip(tr("Takes back the last change of the map"));
    redoMap_ = undoGroup_->createRedoAction(this, tr("Re&do"));
    redoMap_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redoMap_->setStatusTip(tr("Makes the change taken back again"));
    mapEditMenu_->addAction(undoMap_);
    mapEditMenu_->addAction(redoMap_);
    mapEditMenu_->addSeparator();
    AddActions(mapEditMenu_, {Cmd::PlotFrame, Cmd::Scale});
    AddActions(mapEditMenu_->addMenu(tr("&Annotation")),
               {Cmd::AnnotationText, Cmd::AnnotationRectangle, Cmd::AnnotationLine});
    AddActions(mapEditMenu_->addMenu(tr("&Colors")),
               {Cmd::ColorSchemes, Cmd::MissingColor, Cmd::ColorValue});
    AddActions(mapEditMenu_, {Cmd::MapAppearance, Cmd::DerivedData, 0, Cmd::SmartScale});
    AddActions(mapEditMenu_->addMenu(tr("C&opy")), {Cmd::CopyBitmap, Cmd::CopyMetafile});
    AddActions(mapEditMenu_, {0, Cmd::ShowScale, Cmd::ShowPlot});
    AddActions(mapEditMenu_->addMenu(tr("Sp&ecial")), {Cmd::MonitorMode, Cmd::MonitorDelay});
    AddActions(mapEditMenu_, {0, Cmd::Info});
    // The keys without a menu item still work in a map window.
}

void MainWindow::CreateTextEditMenu() {
    textEditMenu_ = new QMenu(tr("&Edit"), this);
    AddActions(textEditMenu_, {Cmd::Undo, 0, Cmd::Cut, Cmd::Copy, Cmd::Paste, Cmd::Delete,
                               Cmd::ClearAll, 0, Cmd::Find, Cmd::Replace, Cmd::FindNext});
    findSectionMenu_ = textEditMenu_->addMenu(tr("Find &Section"));
    for (const char* header : FindSectionItems()) {
        const QString text = QString::fromLatin1(header);
        findSectionMenu_->addAction(text, this, [this, text] {
            if (auto* view = dynamic_cast<TextView*>(ActiveView())) {
                view->FindSection(text);
                view->setFocus();
            }
        });
    }
    findSectionMenu_->menuAction()->setStatusTip(actions_[Cmd::FindSection]->statusTip());
}

void MainWindow::CreateWindowMenu() {
    windowMenu_ = new QMenu(tr("&Window"), this);
    AddActions(windowMenu_, {Cmd::Cascade, Cmd::TileHorizontal, Cmd::TileVertical,
                             Cmd::ArrangeIcons, 0, Cmd::MinimizeAll, Cmd::MaximizeAll,
                             Cmd::RestoreAll, 0, Cmd::CloseAll, Cmd::AddView, Cmd::FitPlotArea});
    connect(windowMenu_, &QMenu::aboutToShow, this, [this] {
        UpdateActions();
        UpdateWindowMenu();
    });
}

QString MainWindow::ActiveHelpTopic() const {
    DocumentView* view = ActiveView();
    if (dynamic_cast<MapView*>(view) != nullptr) {
        return QString::fromLatin1(kMapViewTopic);
    }
    if (auto* text = dynamic_cast<TextView*>(view)) {
        if (const std::optional<std::string> topic = text->HelpTopic()) {
            return QString::fromStdString(*topic);
        }
    }
    return {};
}

void MainWindow::CreateToolBar() {
    toolBar_ = new QToolBar(tr("Tool bar"), this);
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(22, 22));
    addToolBar(Qt::TopToolBarArea, toolBar_);
    // The button that shows the buttons a narrow window has no room for.
    if (auto* more = toolBar_->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(tr("More buttons"));
        more->setToolTip(tr("More buttons"));
    }
}

void MainWindow::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    const int charWidth = bar->fontMetrics().averageCharWidth();
    for (std::size_t i = 0; i < kPanes.size(); ++i) {
        auto* label = new QLabel(bar);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(kPanes[i].width * charWidth + 8);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setAccessibleName(tr(kPanes[i].name));
        label->setObjectName(QStringLiteral("pane%1").arg(kPanes[i].number));
        bar->addPermanentWidget(label);
        panes_[i] = label;
    }
    bar->showMessage(tr("Ready"));
}

QLabel* MainWindow::StatusPane(int pane) const {
    for (std::size_t i = 0; i < kPanes.size(); ++i) {
        if (kPanes[i].number == pane) {
            return panes_[i];
        }
    }
    return nullptr;
}

void MainWindow::SetStatusPane(int pane, const QString& text) {
    if (QLabel* label = StatusPane(pane)) {
        label->setText(text);
        // A screen reader reads a label's name; the value goes with it.
        label->setAccessibleDescription(text);
    }
}

void MainWindow::ClearStatusPanes() {
    for (QLabel* label : panes_) {
        label->clear();
        label->setAccessibleDescription(QString());
    }
}

void MainWindow::ShowStatusMessage(const QString& text) {
    if (text.isEmpty()) {
        statusBar()->clearMessage();
    } else {
        statusBar()->showMessage(text);
    }
}

void MainWindow::RebuildMenuBar() {
    const DocumentView* view = ActiveView();
    const int kind = view == nullptr ? -1 : static_cast<int>(view->Kind());
    if (kind == menuKind_ && !menuBar()->actions().isEmpty()) {
        return;
    }
    menuKind_ = kind;
    menuBar()->clear();
    menuBar()->addMenu(fileMenu_);
    if (view != nullptr) {
        menuBar()->addMenu(view->Kind() == ViewKind::Map ? mapEditMenu_ : textEditMenu_);
    }
    menuBar()->addMenu(windowMenu_);
    menuBar()->addMenu(helpMenu_);
}

void MainWindow::SetToolBarSet(int set) {
    if (set == toolBarSet_) {
        return;
    }
    toolBarSet_ = set;
    toolBar_->clear();
    for (const int id : kToolBarSets[static_cast<std::size_t>(set)]) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(actions_[id]);
        }
    }
}

void MainWindow::UpdateRecentMenu() {
    recentMenu_->clear();
    const QStringList& files = recent_.Files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        const QString label =
            QStringLiteral("&%1 %2")
                .arg(i + 1 == 10 ? 0 : i + 1)
                .arg(QDir::toNativeSeparators(path).replace(QLatin1Char('&'), QLatin1String("&&")));
        QAction* action = recentMenu_->addAction(label, this, [this, path] { OpenRecent(path); });
        action->setStatusTip(tr("Opens this document"));
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void MainWindow::UpdateWindowMenu() {
    for (QAction* action : windowListActions_) {
        windowMenu_->removeAction(action);
        action->deleteLater();
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = area_->subWindowList();
    if (windows.isEmpty()) {
        return;
    }
    windowListActions_.append(windowMenu_->addSeparator());
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QString title = window->windowTitle().replace(QLatin1String("[*]"), QString());
        title.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* action =
            windowMenu_->addAction(i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title) : title,
                                   this, [this, window] { area_->setActiveSubWindow(window); });
        action->setCheckable(true);
        action->setChecked(window == area_->activeSubWindow());
        windowListActions_.append(action);
    }
}

void MainWindow::OpenHelp(const QString& topic) {
    if (help_ == nullptr) {
        help_ = new HelpWindow(this);
    }
    if (HelpWindow::ManualPath().isEmpty()) {
        QtPrompt(this).Show("Error", "The manual is not installed beside the program.",
                            PromptIcon::Exclamation);
        return;
    }
    // Shown first, so that the topic is placed in the window's final size.
    help_->show();
    help_->raise();
    help_->activateWindow();
    help_->ShowTopic(topic);
}

void MainWindow::About() {
    QMessageBox box(this);
    UseMessageFrame(box);
    box.setWindowTitle(tr("About"));
    box.setIconPixmap(QIcon(QStringLiteral(":/icons/demla.svg")).pixmap(64, 64));
    box.setText(QStringLiteral("<b>Demla</b> Version %1").arg(QStringLiteral(DEMLA_VERSION)));
    // Rich text, so that the copyright and licence lines never break inside.
    box.setTextFormat(Qt::RichText);
    box.setInformativeText(tr("Age–period surface maps of demographic data.<br>"
                              "<nobr>Copyright © 2026 The Demla developers</nobr><br>"
                              "<nobr>GNU General Public License, version 3 or later</nobr>"));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}
