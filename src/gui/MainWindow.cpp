#include "gui/MainWindow.h"

#include "gui/Commands.h"
#include "gui/HelpWindow.h"
#include "gui/MapView.h"
#include "gui/MonitorController.h"
#include "gui/TextView.h"
#include "platform/QtText.h"
#include "view/LCmdLineIter.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <QUndoGroup>
#include <QUrl>

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
    AddApplicationCommands();
    AddDocumentCommands();
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

DocumentView* MainWindow::ViewOf(QMdiSubWindow* window) {
    if (window == nullptr) {
        return nullptr;
    }
    return dynamic_cast<DocumentView*>(window->widget());
}

DocumentView* MainWindow::ActiveView() const {
    return ViewOf(area_->activeSubWindow());
}

QAction* MainWindow::Action(int command) const {
    return actions_.value(command, nullptr);
}

void MainWindow::AddApplicationCommands() {
    const auto hasWindows = [this] { return !area_->subWindowList().isEmpty(); };
    const auto printable = [this] {
        auto* map = dynamic_cast<MapView*>(ActiveView());
        return map != nullptr && !map->Entry().IsBusy();
    };
    appCommands_.Add(Cmd::FileNew, [this] { FileNew(); });
    appCommands_.Add(Cmd::FileNewDerived, [this] { FileNewDerived(); });
    appCommands_.Add(Cmd::FileOpen, [this] { FileOpen(); });
    appCommands_.Add(Cmd::Exit, [this] { close(); });
    appCommands_.Add(Cmd::HelpContents, [this] { OpenHelp(QString()); });
    appCommands_.Add(Cmd::About, [this] { About(); });
    // Print needs a map to print; Print Setup only a window that is not a
    // text (printing always has a PDF file to print to).
    appCommands_.Add(
        Cmd::Print, [this] { Print(); }, printable);
    appCommands_.Add(
        Cmd::PrintActiveWindows, [this] { PrintActiveWindows(); }, printable);
    appCommands_.Add(
        Cmd::PrintSetup, [this] { PrintSetup(); },
        [this, hasWindows] {
            return hasWindows() && dynamic_cast<TextView*>(ActiveView()) == nullptr;
        });
    const std::pair<int, std::function<void()>> arrangements[] = {
        {Cmd::Cascade, [this] { Cascade(); }},
        {Cmd::TileHorizontal, [this] { Tile(Qt::Horizontal); }},
        {Cmd::TileVertical, [this] { Tile(Qt::Vertical); }},
        {Cmd::ArrangeIcons, [this] { ArrangeIcons(); }},
        {Cmd::MinimizeAll, [this] { ShowAll(Qt::WindowMinimized); }},
        {Cmd::MaximizeAll, [this] { ShowAll(Qt::WindowMaximized); }},
        {Cmd::RestoreAll, [this] { ShowAll(Qt::WindowNoState); }},
        {Cmd::CloseAll, [this] { CloseAll(); }},
    };
    for (const auto& [command, run] : arrangements) {
        appCommands_.Add(command, run, hasWindows);
    }
    router_.Attach(CommandScope::Application, &appCommands_);
}

void MainWindow::AddDocumentCommands() {
    const auto entry = [this]() -> DocumentEntry* {
        DocumentView* view = ActiveView();
        return view != nullptr ? &view->Entry() : nullptr;
    };
    const auto idle = [entry] { return entry() != nullptr && !entry()->IsBusy(); };
    documentCommands_.Add(
        Cmd::FileClose, [this] { FileClose(); }, idle);
    documentCommands_.Add(
        Cmd::FileSaveAs, [this] { FileSaveAs(); }, idle);
    documentCommands_.Add(
        Cmd::FileSave, [this] { FileSave(); },
        [entry, idle] { return idle() && entry()->IsDirty(); });
    documentCommands_.Add(
        Cmd::AddView, [this] { AddViewCommand(); }, [entry] { return entry() != nullptr; });
    router_.Attach(CommandScope::Document, &documentCommands_);
}

void MainWindow::AttachActiveView() {
    DocumentView* view = ActiveView();
    if (auto* map = dynamic_cast<MapView*>(view)) {
        router_.AttachView(CommandScope::MapView, &map->Commands());
        return;
    }
    auto* text = dynamic_cast<TextView*>(view);
    if (text == nullptr) {
        router_.AttachView(CommandScope::MapView, nullptr);
        return;
    }
    // The text view's commands are its editor's; Find Section is the
    // window's menu at the caret.
    textCommands_ = CommandHandlers();
    for (const CommandInfo& info : CommandTable()) {
        const int id = info.id;
        if (id == Cmd::FindSection) {
            textCommands_.Add(id, [this] { ShowFindSectionMenu(); });
        } else if (info.scope == CommandScope::TextView) {
            textCommands_.Add(
                id, [text, id] { text->Execute(id); }, [text, id] { return text->IsEnabled(id); });
        }
    }
    router_.AttachView(CommandScope::TextView, &textCommands_);
}

void MainWindow::UpdateActions() {
    AttachActiveView();
    for (auto it = actions_.begin(); it != actions_.end(); ++it) {
        QAction* action = it.value();
        if (const std::optional<bool> checked = router_.IsChecked(it.key())) {
            action->setChecked(*checked);
        } else if (action->isCheckable()) {
            action->setChecked(false);
        }
        action->setEnabled(router_.IsEnabled(it.key()));
    }
}

void MainWindow::Run(int command) {
    AttachActiveView();
    router_.Execute(command);
    UpdateActions();
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
        suffix = map->Monitor().TitleSuffix();
    }
    window->setWindowTitle(QStringLiteral("%1 – %2%3[*]").arg(view->Entry().Title(), kind, suffix));
    window->setWindowModified(view->IsDirty());
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
