#include "gui/MainWindow.h"

#include "datafiles/LexisTable.h"
#include "dialogs/AsciiFormatDialog.h"
#include "document/ChartDocument.h"
#include "document/NewSetup.h"
#include "document/SafeFile.h"
#include "gui/Commands.h"
#include "gui/HelpWindow.h"
#include "gui/MapView.h"
#include "gui/TextView.h"
#include "platform/QtSurface.h"
#include "platform/QtText.h"
#include "view/HelpTopics.h"
#include "view/LCmdLineIter.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoGroup>
#include <QUrl>

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

// Commands of the map view that the window passes on to it.
bool IsMapCommand(int command) {
    switch (command) {
    case Cmd::FitPage:
    case Cmd::FitPlotArea:
    case Cmd::MoveUp:
    case Cmd::MoveDown:
    case Cmd::MoveLeft:
    case Cmd::MoveRight:
    case Cmd::ZoomIn:
    case Cmd::ZoomOut:
    case Cmd::CenterHere:
    case Cmd::ShowScale:
    case Cmd::ShowPlot:
    case Cmd::SmartScale:
    case Cmd::TextEditor:
    case Cmd::PlotFrame:
    case Cmd::Scale:
    case Cmd::AnnotationText:
    case Cmd::AnnotationRectangle:
    case Cmd::AnnotationLine:
    case Cmd::ColorSchemes:
    case Cmd::MissingColor:
    case Cmd::ColorValue:
    case Cmd::MapAppearance:
    case Cmd::CopyBitmap:
    case Cmd::CopyMetafile:
    case Cmd::CopyBitmapKey:
    case Cmd::CopyMetafileKey:
    case Cmd::ExportBitmap:
    case Cmd::ExportMetafile:
    case Cmd::ExportPng:
    case Cmd::ExportSvg:
    case Cmd::ExportPdf:
    case Cmd::MonitorMode:
    case Cmd::MonitorDelay:
    case Cmd::Info:
        return true;
    default:
        return false;
    }
}

bool IsTextCommand(int command) {
    return (command >= Cmd::Undo && command <= Cmd::ClearAll) ||
           (command >= Cmd::Find && command <= Cmd::FindSection);
}

DocumentView* ViewOf(QMdiSubWindow* window) {
    if (window == nullptr) {
        return nullptr;
    }
    return dynamic_cast<DocumentView*>(window->widget());
}

const char* const kMapFilter = "Demla Map (*.dml)";
const char* const kTextFilter = "Text (*.dml)";

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), documents_(this) {
    setWindowTitle(QStringLiteral("Demla"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/demla.svg")));
    setAcceptDrops(true);
    area_ = new QMdiArea(this);
    area_->setAccessibleName(tr("Maps and setup texts"));
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(area_);
    connect(area_, &QMdiArea::subWindowActivated, this, &MainWindow::SubWindowActivated);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    RebuildMenuBar();
    SetToolBarSet(FrameSet);
    UpdateActions();
    // Most of the screen, as a map wants room; a small screen gets all of it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize available = screen->availableSize();
        resize(std::max(640, available.width() * 5 / 6), std::max(480, available.height() * 5 / 6));
    }
}

MainWindow::~MainWindow() {
    // The views go before the documents they show, also those closed but
    // not yet deleted, and without telling a window that is going too.
    for (QMdiSubWindow* window : area_->findChildren<QMdiSubWindow*>()) {
        window->removeEventFilter(this);
        disconnect(window, nullptr, this, nullptr);
        if (QWidget* view = window->widget()) {
            disconnect(view, nullptr, this, nullptr);
        }
        delete window;
    }
}

void MainWindow::CreateActions() {
    for (const CommandInfo& info : CommandTable()) {
        auto* action = new QAction(tr(info.text), this);
        if (!info.keys.isEmpty()) {
            action->setShortcuts(info.keys);
        }
        const QString hint = tr(info.hint);
        action->setStatusTip(hint);
        // A button tells what it does, as its menu item's hint does.
        QString tip = hint;
        if (tip.isEmpty()) {
            tip = QString::fromUtf8(info.text).remove(QLatin1Char('&'));
        }
        action->setToolTip(tip);
        if (*info.icon != '\0') {
            action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(info.icon))));
        }
        const int id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { Run(id); });
        actions_.insert(id, action);
    }
    for (const int id : {Cmd::FitPlotArea, Cmd::ShowScale, Cmd::ShowPlot, Cmd::MonitorMode}) {
        actions_[id]->setCheckable(true);
    }
}

void MainWindow::CreateMenus() {
    fileMenu_ = new QMenu(tr("&File"), this);
    fileMenu_->addAction(actions_[Cmd::FileNew]);
    fileMenu_->addAction(actions_[Cmd::FileOpen]);
    fileMenu_->addAction(actions_[Cmd::FileClose]);
    fileMenu_->addAction(actions_[Cmd::FileSave]);
    fileMenu_->addAction(actions_[Cmd::FileSaveAs]);
    fileMenu_->addSeparator();
    exportMenu_ = fileMenu_->addMenu(tr("&Export"));
    exportMenu_->addAction(actions_[Cmd::ExportBitmap]);
    exportMenu_->addAction(actions_[Cmd::ExportMetafile]);
    exportMenu_->addSeparator();
    exportMenu_->addAction(actions_[Cmd::ExportPng]);
    exportMenu_->addAction(actions_[Cmd::ExportSvg]);
    exportMenu_->addAction(actions_[Cmd::ExportPdf]);
    fileMenu_->addSeparator();
    fileMenu_->addAction(actions_[Cmd::Print]);
    fileMenu_->addAction(actions_[Cmd::PrintSetup]);
    fileMenu_->addAction(actions_[Cmd::PrintActiveWindows]);
    fileMenu_->addSeparator();
    recentMenu_ = fileMenu_->addMenu(tr("Recent &Files"));
    fileMenu_->addSeparator();
    fileMenu_->addAction(actions_[Cmd::Exit]);
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] {
        UpdateActions();
        UpdateRecentMenu();
    });

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
    mapEditMenu_->addAction(actions_[Cmd::PlotFrame]);
    mapEditMenu_->addAction(actions_[Cmd::Scale]);
    QMenu* annotation = mapEditMenu_->addMenu(tr("&Annotation"));
    annotation->addAction(actions_[Cmd::AnnotationText]);
    annotation->addAction(actions_[Cmd::AnnotationRectangle]);
    annotation->addAction(actions_[Cmd::AnnotationLine]);
    QMenu* colors = mapEditMenu_->addMenu(tr("&Colors"));
    colors->addAction(actions_[Cmd::ColorSchemes]);
    colors->addAction(actions_[Cmd::MissingColor]);
    colors->addAction(actions_[Cmd::ColorValue]);
    mapEditMenu_->addAction(actions_[Cmd::MapAppearance]);
    mapEditMenu_->addSeparator();
    mapEditMenu_->addAction(actions_[Cmd::SmartScale]);
    QMenu* copy = mapEditMenu_->addMenu(tr("C&opy"));
    copy->addAction(actions_[Cmd::CopyBitmap]);
    copy->addAction(actions_[Cmd::CopyMetafile]);
    mapEditMenu_->addSeparator();
    mapEditMenu_->addAction(actions_[Cmd::ShowScale]);
    mapEditMenu_->addAction(actions_[Cmd::ShowPlot]);
    QMenu* special = mapEditMenu_->addMenu(tr("Sp&ecial"));
    special->addAction(actions_[Cmd::MonitorMode]);
    special->addAction(actions_[Cmd::MonitorDelay]);
    mapEditMenu_->addSeparator();
    mapEditMenu_->addAction(actions_[Cmd::Info]);
    // The keys without a menu item still work in a map window.

    textEditMenu_ = new QMenu(tr("&Edit"), this);
    textEditMenu_->addAction(actions_[Cmd::Undo]);
    textEditMenu_->addSeparator();
    textEditMenu_->addAction(actions_[Cmd::Cut]);
    textEditMenu_->addAction(actions_[Cmd::Copy]);
    textEditMenu_->addAction(actions_[Cmd::Paste]);
    textEditMenu_->addAction(actions_[Cmd::Delete]);
    textEditMenu_->addAction(actions_[Cmd::ClearAll]);
    textEditMenu_->addSeparator();
    textEditMenu_->addAction(actions_[Cmd::Find]);
    textEditMenu_->addAction(actions_[Cmd::Replace]);
    textEditMenu_->addAction(actions_[Cmd::FindNext]);
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

    windowMenu_ = new QMenu(tr("&Window"), this);
    windowMenu_->addAction(actions_[Cmd::Cascade]);
    windowMenu_->addAction(actions_[Cmd::TileHorizontal]);
    windowMenu_->addAction(actions_[Cmd::TileVertical]);
    windowMenu_->addAction(actions_[Cmd::ArrangeIcons]);
    windowMenu_->addSeparator();
    windowMenu_->addAction(actions_[Cmd::MinimizeAll]);
    windowMenu_->addAction(actions_[Cmd::MaximizeAll]);
    windowMenu_->addAction(actions_[Cmd::RestoreAll]);
    windowMenu_->addSeparator();
    windowMenu_->addAction(actions_[Cmd::CloseAll]);
    windowMenu_->addAction(actions_[Cmd::AddView]);
    windowMenu_->addAction(actions_[Cmd::FitPlotArea]);
    connect(windowMenu_, &QMenu::aboutToShow, this, [this] {
        UpdateActions();
        UpdateWindowMenu();
    });

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

DocumentView* MainWindow::ActiveView() const {
    return ViewOf(area_->activeSubWindow());
}

QAction* MainWindow::Action(int command) const {
    return actions_.value(command, nullptr);
}

void MainWindow::UpdateActions() {
    DocumentView* view = ActiveView();
    auto* map = dynamic_cast<MapView*>(view);
    auto* text = dynamic_cast<TextView*>(view);
    DocumentEntry* entry = view != nullptr ? &view->Entry() : nullptr;
    const bool busy = entry != nullptr && entry->IsBusy();
    const bool hasWindows = !area_->subWindowList().isEmpty();

    for (auto it = actions_.begin(); it != actions_.end(); ++it) {
        const int id = it.key();
        QAction* action = it.value();
        bool enabled = false;
        if (IsMapCommand(id)) {
            enabled = map != nullptr && !busy && map->IsEnabled(id);
            if (map != nullptr) {
                if (const std::optional<bool> checked = map->IsChecked(id)) {
                    action->setChecked(*checked);
                }
            } else if (action->isCheckable()) {
                action->setChecked(false);
            }
        } else if (IsTextCommand(id)) {
            enabled = text != nullptr && (id == Cmd::FindSection || text->IsEnabled(id));
        } else {
            switch (id) {
            case Cmd::FileNew:
            case Cmd::FileOpen:
            case Cmd::Exit:
            case Cmd::HelpContents:
            case Cmd::About:
                enabled = true;
                break;
            case Cmd::FileClose:
            case Cmd::FileSaveAs:
                enabled = entry != nullptr && !busy;
                break;
            case Cmd::FileSave:
                enabled = entry != nullptr && !busy && entry->IsDirty();
                break;
            case Cmd::Print:
            case Cmd::PrintSetup:
            case Cmd::PrintActiveWindows:
                // Printing always has a PDF file to print to.
                enabled = hasWindows && text == nullptr;
                break;
            case Cmd::Cascade:
            case Cmd::TileHorizontal:
            case Cmd::TileVertical:
            case Cmd::ArrangeIcons:
            case Cmd::MinimizeAll:
            case Cmd::MaximizeAll:
            case Cmd::RestoreAll:
            case Cmd::CloseAll:
                enabled = hasWindows;
                break;
            case Cmd::AddView:
                enabled = entry != nullptr;
                break;
            default:
                enabled = false;
                break;
            }
        }
        action->setEnabled(enabled);
    }
    // Print needs a map to print.
    actions_[Cmd::Print]->setEnabled(map != nullptr && !busy);
    actions_[Cmd::PrintActiveWindows]->setEnabled(map != nullptr && !busy);
}

void MainWindow::CommandsChanged() {
    UpdateActions();
    for (QMdiSubWindow* window : area_->subWindowList()) {
        UpdateTitle(window);
    }
}

void MainWindow::UpdateTitle(QMdiSubWindow* window) {
    DocumentView* view = ViewOf(window);
    if (view == nullptr) {
        return;
    }
    const QString kind = view->Kind() == ViewKind::Map ? tr("Map") : tr("Text");
    QString suffix;
    if (auto* map = dynamic_cast<MapView*>(view)) {
        suffix = map->TitleSuffix();
    }
    window->setWindowTitle(QStringLiteral("%1 – %2%3[*]").arg(view->Entry().Title(), kind, suffix));
    window->setWindowModified(view->IsDirty());
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

void MainWindow::SubWindowActivated(QMdiSubWindow* window) {
    DocumentView* view = ViewOf(window);
    undoGroup_->setActiveStack(
        view != nullptr && view->Kind() == ViewKind::Map ? &view->Entry().UndoStack() : nullptr);
    RebuildMenuBar();
    if (view == nullptr) {
        SetToolBarSet(FrameSet);
        ClearStatusPanes();
    } else {
        SetToolBarSet(view->Kind() == ViewKind::Map ? MapSet : TextSet);
    }
    UpdateActions();
}

void MainWindow::ViewFocused(DocumentView* view) {
    SetToolBarSet(view->Kind() == ViewKind::Map ? MapSet : TextSet);
    UpdateActions();
}

void MainWindow::Run(int command) {
    DocumentView* view = ActiveView();
    if (IsMapCommand(command)) {
        if (auto* map = dynamic_cast<MapView*>(view)) {
            // From a key or the menu bar, zooming keeps the middle of the
            // window in place (the context menu zooms about its click).
            if (command == Cmd::ZoomIn || command == Cmd::ZoomOut) {
                map->State().lastClick = map->State().ViewportCentre();
            }
            map->Execute(command);
        }
        return;
    }
    if (IsTextCommand(command)) {
        if (auto* text = dynamic_cast<TextView*>(view)) {
            if (command == Cmd::FindSection) {
                ShowFindSectionMenu();
            } else {
                text->Execute(command);
            }
        }
        UpdateActions();
        return;
    }
    switch (command) {
    case Cmd::FileNew:
        FileNew();
        break;
    case Cmd::FileOpen:
        FileOpen();
        break;
    case Cmd::FileSave:
        FileSave();
        break;
    case Cmd::FileSaveAs:
        FileSaveAs();
        break;
    case Cmd::FileClose:
        FileClose();
        break;
    case Cmd::Print:
        Print();
        break;
    case Cmd::PrintSetup:
        PrintSetup();
        break;
    case Cmd::PrintActiveWindows:
        PrintActiveWindows();
        break;
    case Cmd::Exit:
        close();
        break;
    case Cmd::Cascade:
        Cascade();
        break;
    case Cmd::TileHorizontal:
        Tile(Qt::Horizontal);
        break;
    case Cmd::TileVertical:
        Tile(Qt::Vertical);
        break;
    case Cmd::ArrangeIcons:
        ArrangeIcons();
        break;
    case Cmd::MinimizeAll:
        ShowAll(Qt::WindowMinimized);
        break;
    case Cmd::MaximizeAll:
        ShowAll(Qt::WindowMaximized);
        break;
    case Cmd::RestoreAll:
        ShowAll(Qt::WindowNoState);
        break;
    case Cmd::CloseAll:
        CloseAll();
        break;
    case Cmd::AddView:
        AddViewCommand();
        break;
    case Cmd::HelpContents:
        OpenHelp(QString());
        break;
    case Cmd::About:
        About();
        break;
    default:
        break;
    }
    UpdateActions();
}

void MainWindow::ShowFindSectionMenu() {
    auto* text = dynamic_cast<TextView*>(ActiveView());
    if (text == nullptr) {
        return;
    }
    const QRect caret = text->cursorRect();
    findSectionMenu_->exec(text->viewport()->mapToGlobal(caret.bottomLeft()));
}

void MainWindow::OpenCommandLine(const QString& commandLine) {
    LCmdLineIter tokens(commandLine.toStdString());
    while (tokens.Next()) {
        if (IsSetupFileToken(tokens.Current())) {
            OpenFile(QString::fromStdString(tokens.Current()), ViewKind::Map);
        }
    }
}

DocumentView* MainWindow::OpenFile(const QString& path, ViewKind kind) {
    if (DocumentEntry* open = documents_.Find(path)) {
        // Shown again rather than read twice.
        for (DocumentView* view : open->Views()) {
            if (view->Kind() == kind) {
                view->Widget()->setFocus();
                return view;
            }
        }
        return AddView(*open, kind);
    }
    DocumentEntry* entry = documents_.Open(path, kind == ViewKind::Text);
    if (entry == nullptr) {
        return nullptr;
    }
    recent_.Add(entry->Path());
    undoGroup_->addStack(&entry->UndoStack());
    connect(entry, &DocumentEntry::PathChanged, this,
            [this](const QString& newPath) { recent_.Add(newPath); });
    return AddView(*entry, kind);
}

DocumentView* MainWindow::AddView(DocumentEntry& entry, ViewKind kind) {
    DocumentView* view = nullptr;
    QWidget* widget = nullptr;
    QString icon;
    if (kind == ViewKind::Map) {
        auto* map = new MapView(entry, *this);
        connect(&entry, &DocumentEntry::ModifiedChanged, map, [this] { CommandsChanged(); });
        connect(map, &MapView::TitleChanged, this, &MainWindow::CommandsChanged);
        view = map;
        widget = map;
        icon = QStringLiteral(":/icons/map-document.svg");
    } else {
        auto* text = new TextView(entry, *this);
        text->LoadFile();
        connect(text, &QPlainTextEdit::copyAvailable, this, &MainWindow::UpdateActions);
        connect(text, &QPlainTextEdit::undoAvailable, this, &MainWindow::UpdateActions);
        view = text;
        widget = text;
        icon = QStringLiteral(":/icons/text-document.svg");
    }
    QMdiSubWindow* window = area_->addSubWindow(widget);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(QIcon(icon));
    window->installEventFilter(this);
    widget->installEventFilter(this);
    UpdateTitle(window);
    connect(&entry, &DocumentEntry::TitleChanged, window, [this, window] { UpdateTitle(window); });
    // The view has left its document when its widget's own destroyed comes.
    connect(widget, &QObject::destroyed, this, [this, &entry] {
        if (entry.Views().empty()) {
            documents_.Discard(&entry);
        }
        UpdateActions();
    });
    if (area_->subWindowList().size() == 1 || ActiveView() == nullptr ||
        (area_->activeSubWindow() != nullptr && area_->activeSubWindow()->isMaximized())) {
        window->showMaximized();
    } else {
        // A useful size, a step down and right of the windows already open.
        const QSize space = area_->viewport()->size();
        window->resize(std::max(420, space.width() * 3 / 5), std::max(320, space.height() * 3 / 4));
        const int step = 28 * static_cast<int>((area_->subWindowList().size() - 1) % 6);
        window->move(step, step);
        window->show();
    }
    widget->setFocus();
    area_->setActiveSubWindow(window);
    return view;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // F1 in a view is the view's own: it asks for help on what it shows
    // (a map, the key under the text's caret) rather than the contents.
    if (event->type() == QEvent::ShortcutOverride &&
        dynamic_cast<DocumentView*>(watched) != nullptr) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::Close) {
        if (auto* window = qobject_cast<QMdiSubWindow*>(watched)) {
            DocumentView* view = ViewOf(window);
            if (view != nullptr && (view->Entry().IsBusy() || !QuerySave(*view))) {
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::QuerySave(DocumentView& view) {
    if (!view.IsDirty()) {
        return true;
    }
    DocumentEntry& entry = view.Entry();
    if (view.Kind() == ViewKind::Map) {
        // Another map of the same document keeps the changes to save.
        for (DocumentView* other : entry.Views()) {
            if (other != &view && other->Kind() == ViewKind::Map) {
                return true;
            }
        }
    }
    const PromptAnswer answer =
        entry.Prompt().Ask(entry.Title().toStdString(),
                           "The document has been changed.\n\nDo you want to save the changes?",
                           PromptButtons::YesNoCancel, PromptIcon::Question);
    if (answer == PromptAnswer::Cancel) {
        return false;
    }
    if (answer == PromptAnswer::No) {
        return true;
    }
    return entry.Save(&view);
}

bool MainWindow::CloseSubWindow(QMdiSubWindow* window) {
    if (window == nullptr) {
        return true;
    }
    return window->close();
}

bool MainWindow::CloseAll() {
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (!window->close()) {
            return false;
        }
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!CloseAll()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    // Opened once the drop has finished: opening may ask questions.
    QTimer::singleShot(0, this, [this, urls] {
        for (const QUrl& url : urls) {
            const QString path = url.toLocalFile();
            if (!path.isEmpty() && IsSetupFileToken(PathFromQt(path))) {
                OpenFile(path, ViewKind::Map);
            }
        }
    });
}

void MainWindow::FileNew() {
    QStringList filters;
    for (const DataFileKind& kind : kDataFileKinds) {
        filters << QString::fromLatin1(kind.description.data(),
                                       static_cast<qsizetype>(kind.description.size()));
    }
    QFileDialog dialog(this, tr("Open Data File"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const DataFileKind& kind = kDataFileKinds[static_cast<std::size_t>(
        std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))];
    NewMapChoice choice;
    choice.dataPath = dialog.selectedFiles().front();
    choice.format = kind.format;
    QtPrompt prompt(this);
    if (kind.asksDelimiters) {
        AsciiFormatDialog format(AsciiFormat(), PathFromQt(choice.dataPath), this);
        if (format.exec() != QDialog::Accepted) {
            return;
        }
        choice.delimiters = format.Format();
    }
    if (kind.asksValueColumn) {
        std::string bytes;
        std::string error;
        std::optional<LexisTableHeader> table;
        if (ReadWholeFile(PathFromQt(choice.dataPath), bytes)) {
            table = ReadLexisTableHeader(bytes, error);
        }
        if (!table) {
            prompt.Show("Error",
                        "Cannot read the table " + PathFromQt(choice.dataPath) + "\r\n" + error,
                        PromptIcon::Exclamation);
            return;
        }
        QStringList columns;
        for (const std::string& column : table->ValueColumns()) {
            columns << QString::fromStdString(column);
        }
        bool ok = false;
        const QString column = QInputDialog::getItem(
            this, tr("Value Column"), tr("&Values to show:"), columns,
            std::max<qsizetype>(
                0, columns.indexOf(QString::fromStdString(table->DefaultValueColumn()))),
            false, &ok);
        if (!ok) {
            return;
        }
        choice.valueColumn = column.toStdString();
    }
    choice.setupPath = PathToQt(SetupPathForDataFile(PathFromQt(choice.dataPath)));
    if (QFileInfo::exists(choice.setupPath)) {
        // The user confirms or changes the name of a setup file that is there.
        QFileDialog again(this, tr("Open Data File"), choice.setupPath);
        again.setAcceptMode(QFileDialog::AcceptSave);
        again.setFileMode(QFileDialog::AnyFile);
        again.setNameFilter(tr("Demla (*.dml)"));
        again.selectFile(choice.setupPath);
        if (again.exec() != QDialog::Accepted || again.selectedFiles().isEmpty()) {
            return;
        }
        choice.setupPath = again.selectedFiles().front();
    }
    bool ok = false;
    const QStringList kinds = {tr("Map"), tr("Text")};
    const QString view =
        QInputDialog::getItem(this, tr("New"), tr("&Show the new map as:"), kinds, 0, false, &ok);
    if (!ok) {
        return;
    }
    choice.kind = view == kinds[1] ? ViewKind::Text : ViewKind::Map;
    CreateFromData(choice);
}

DocumentView* MainWindow::CreateFromData(const NewMapChoice& choice) {
    QtPrompt prompt(this);
    const std::string setupPath = PathFromQt(choice.setupPath);
    const std::string dataPath = PathFromQt(choice.dataPath);
    if (documents_.Find(choice.setupPath) != nullptr) {
        prompt.Show("Warning", "Document already opened", PromptIcon::Warning);
        return nullptr;
    }
    bool written = false;
    DocumentEntry* entry = documents_.OpenNew(
        {dataPath, choice.format, choice.delimiters, choice.valueColumn, setupPath, false},
        written);
    if (entry == nullptr) {
        return nullptr;
    }
    recent_.Add(entry->Path());
    undoGroup_->addStack(&entry->UndoStack());
    DocumentView* view = AddView(*entry, choice.kind);
    // A map whose setup file could not be written is offered for saving
    // when it closes.
    auto* map = dynamic_cast<MapView*>(view);
    if (map == nullptr && entry->IsLoaded()) {
        map = dynamic_cast<MapView*>(AddView(*entry, ViewKind::Map));
    }
    if (map != nullptr && !written) {
        entry->ChangedOutsideUndo();
    }
    return view;
}

void MainWindow::FileOpen() {
    DocumentView* active = ActiveView();
    const QString folder =
        active != nullptr ? QFileInfo(active->Entry().Path()).absolutePath() : QDir::currentPath();
    QFileDialog dialog(this, tr("Open"), folder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({tr(kMapFilter), tr(kTextFilter)});
    dialog.selectNameFilter(tr(kMapFilter));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().front();
    const ViewKind kind =
        dialog.selectedNameFilter() == tr(kTextFilter) ? ViewKind::Text : ViewKind::Map;
    if (documents_.Find(path) != nullptr) {
        QtPrompt(this).Show("Warning", "Document already opened", PromptIcon::Warning);
        return;
    }
    OpenFile(path, kind);
}

void MainWindow::OpenRecent(const QString& path) {
    if (!IsSetupFileToken(PathFromQt(path))) {
        return;
    }
    if (DocumentEntry* open = documents_.Find(path)) {
        open->Prompt().Show(kApplicationName, "Document already loaded.", PromptIcon::Warning);
        return;
    }
    if (!QFileInfo::exists(path)) {
        QtPrompt(this).Show("Error", "Cannot find the document " + PathFromQt(path),
                            PromptIcon::Exclamation);
        recent_.Remove(path);
        return;
    }
    OpenFile(path, ViewKind::Map);
}

void MainWindow::FileSave() {
    DocumentView* view = ActiveView();
    if (view == nullptr) {
        return;
    }
    DocumentEntry& entry = view->Entry();
    entry.Save(entry.SavingView(view));
    CommandsChanged();
}

void MainWindow::FileSaveAs() {
    DocumentView* view = ActiveView();
    if (view == nullptr) {
        QtPrompt(this).Show("Warning", "No current document found", PromptIcon::Warning);
        return;
    }
    DocumentEntry& entry = view->Entry();
    QFileDialog dialog(this, tr("Save As"), entry.Path());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(tr(kMapFilter));
    dialog.setDefaultSuffix(QStringLiteral("dml"));
    dialog.selectFile(entry.Path());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().front();
    if (DocumentEntry* other = documents_.Find(path); other != nullptr && other != &entry) {
        QtPrompt(this).Show("Warning",
                            "Document already opened: " + PathFromQt(path) +
                                "\r\nClose it before saving another map under its name.",
                            PromptIcon::Warning);
        return;
    }
    ChartDocument& document = entry.Document();
    const std::string oldPath = document.GetPath();
    const std::string oldPrevious = document.GetPreviousPath();
    document.SetPath(PathFromQt(path));
    if (!entry.Save(view)) {
        // The document still belongs to the file it came from.
        document.RestorePaths(oldPath, oldPrevious);
    }
    CommandsChanged();
}

void MainWindow::FileClose() {
    DocumentView* view = ActiveView();
    if (view == nullptr) {
        return;
    }
    DocumentEntry* entry = &view->Entry();
    for (QMdiSubWindow* window : area_->subWindowList()) {
        DocumentView* other = ViewOf(window);
        if (other != nullptr && &other->Entry() == entry && !window->close()) {
            return;
        }
    }
}

void MainWindow::AddViewCommand() {
    DocumentView* view = ActiveView();
    if (view == nullptr) {
        return;
    }
    bool ok = false;
    const QStringList kinds = {tr("Map"), tr("Text")};
    const QString kind =
        QInputDialog::getItem(this, tr("Add View"), tr("&View kind:"), kinds, 0, false, &ok);
    if (ok) {
        AddView(view->Entry(), kind == kinds[1] ? ViewKind::Text : ViewKind::Map);
    }
}

void MainWindow::ShowTextEditor(DocumentEntry& entry) {
    for (QMdiSubWindow* window : area_->subWindowList()) {
        DocumentView* view = ViewOf(window);
        if (view != nullptr && &view->Entry() == &entry && view->Kind() == ViewKind::Text) {
            area_->setActiveSubWindow(window);
            view->Widget()->setFocus();
            return;
        }
    }
    AddView(entry, ViewKind::Text);
}

void MainWindow::Tile(Qt::Orientation orientation) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (!window->isMinimized()) {
            windows.append(window);
        }
    }
    if (windows.isEmpty()) {
        return;
    }
    const QRect space = area_->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* window = windows[i];
        window->showNormal();
        if (orientation == Qt::Horizontal) {
            // Strips one above the other, each as wide as the area.
            const int top = space.height() * i / count;
            const int bottom = space.height() * (i + 1) / count;
            window->setGeometry(0, top, space.width(), bottom - top);
        } else {
            const int left = space.width() * i / count;
            const int right = space.width() * (i + 1) / count;
            window->setGeometry(left, 0, right - left, space.height());
        }
    }
}

void MainWindow::Cascade() {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (!window->isMinimized()) {
            windows.append(window);
        }
    }
    // Each a title bar's step down and right of the one before, all of them
    // inside the area however large they were before.
    const QRect space = area_->viewport()->rect();
    const int step =
        windows.isEmpty() ? 0 : windows.front()->height() - windows.front()->widget()->height();
    const int count = static_cast<int>(windows.size());
    const int width = std::max(200, space.width() - step * (count - 1));
    const int height = std::max(150, space.height() - step * (count - 1));
    for (int i = 0; i < count; ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(step * i, step * i, width, height);
        windows[i]->raise();
    }
}

void MainWindow::ArrangeIcons() {
    const QRect space = area_->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (window->isMinimized()) {
            const QSize size = window->size();
            window->move(x, space.height() - size.height());
            x += size.width();
        }
    }
}

void MainWindow::ShowAll(Qt::WindowState state) {
    for (QMdiSubWindow* window : area_->subWindowList()) {
        switch (state) {
        case Qt::WindowMinimized:
            window->showMinimized();
            break;
        case Qt::WindowMaximized:
            window->showMaximized();
            break;
        default:
            window->showNormal();
            break;
        }
    }
}

QPrinter& MainWindow::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

std::optional<DoubleSize> MainWindow::ApplyOrientation(int pageOrientation) {
    QPrinter& printer = Printer();
    printer.setPageOrientation(pageOrientation == kPortrait ? QPageLayout::Portrait
                                                            : QPageLayout::Landscape);
    const QRectF page = printer.pageLayout().fullRect(QPageLayout::Millimeter);
    if (!(page.width() > 0) || !(page.height() > 0)) {
        return std::nullopt;
    }
    return DoubleSize{page.width() * 10.0, page.height() * 10.0};
}

void MainWindow::Print() {
    if (auto* map = dynamic_cast<MapView*>(ActiveView())) {
        PrintViews({map}, QStringLiteral("Demla %1").arg(map->Entry().Title()));
    }
}

std::vector<DocumentView*> MainWindow::ShownMapViews() {
    std::vector<DocumentView*> views;
    for (QMdiSubWindow* window : area_->subWindowList(QMdiArea::CreationOrder)) {
        DocumentView* view = ViewOf(window);
        if (view != nullptr && view->Kind() == ViewKind::Map && !window->isMinimized()) {
            views.push_back(view);
        }
    }
    return views;
}

void MainWindow::PrintActiveWindows() {
    constexpr std::size_t kMostWindows = 31;
    std::vector<MapView*> maps;
    for (DocumentView* view : ShownMapViews()) {
        maps.push_back(static_cast<MapView*>(view));
    }
    if (maps.size() > kMostWindows) {
        QtPrompt(this).Show("Alert", "Number of the active windows cannot exceed 31");
        maps.resize(kMostWindows);
    }
    if (!maps.empty()) {
        PrintViews(maps, QStringLiteral("Demla"));
    }
}

void MainWindow::PrintViews(const std::vector<MapView*>& views, const QString& title) {
    QPrinter& printer = Printer();
    ApplyOrientation(views.front()->Entry().Document().PageOrientation);
    printer.setDocName(title);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print"));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        QtPrompt(this).Show("Error", "The printer could not start the print job.",
                            PromptIcon::Exclamation);
        return;
    }
    // Every map maps its whole page onto the sheet: several maps lie on one
    // another, as they were composed.
    std::vector<std::string> failures;
    {
        QtSurface surface(painter, DeviceTechnology::RasterPrinter);
        for (MapView* map : views) {
            if (!map->Entry().IsLoaded()) {
                continue;
            }
            if (std::optional<std::string> failure =
                    map->State().Paint(surface, map->Entry().Document(), true)) {
                failures.push_back(*failure);
            }
        }
    }
    painter.end();
    for (const std::string& failure : failures) {
        QtPrompt(this).Show(kApplicationName, failure, PromptIcon::Exclamation);
    }
    for (MapView* map : views) {
        map->Redraw();
    }
}

void MainWindow::PrintSetup() {
    QPrinter& printer = Printer();
    DocumentView* view = ActiveView();
    if (view != nullptr) {
        ApplyOrientation(view->Entry().Document().PageOrientation);
    }
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted || view == nullptr) {
        return;
    }
    DocumentEntry& entry = view->Entry();
    ChartDocument& document = entry.Document();
    const int orientation =
        printer.pageLayout().orientation() == QPageLayout::Portrait ? kPortrait : kLandscape;
    if (orientation != document.PageOrientation) {
        document.PageOrientation = orientation;
        entry.ChangedOutsideUndo();
    }
    // A new orientation or paper size: every view of the document lays its
    // page out again.
    for (DocumentView* other : entry.Views()) {
        other->PageChanged();
    }
    CommandsChanged();
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
