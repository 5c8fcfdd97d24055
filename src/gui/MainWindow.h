#pragma once

#include "datafiles/AsciiFormat.h"
#include "gui/CommandRouter.h"
#include "gui/Documents.h"
#include "gui/RecentFiles.h"
#include "gui/Shell.h"

#include <QMainWindow>
#include <QMap>

#include <array>
#include <initializer_list>
#include <memory>

class HelpWindow;
class MapView;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QToolBar;
class QUndoGroup;
class TextView;

// The program's main window: the menu bar, the tool bar and the status bar
// around an area of child windows, one per view of an open document.
class MainWindow : public QMainWindow, public Shell {
    Q_OBJECT
public:
    // The tool bar's button sets.
    enum ToolBarSet { FrameSet = 0, TextSet = 1, MapSet = 2 };

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens every setup file named on a command line (see LCmdLineIter).
    void OpenCommandLine(const QString& commandLine);
    // Opens a setup file in a new view of that kind; the view, or nothing
    // when it did not open. A file open already is not opened twice.
    DocumentView* OpenFile(const QString& path, ViewKind kind);
    // File New: a new map from a data file, its setup file written beside
    // it. The dialogs are the caller's: this takes their answers.
    struct NewMapChoice {
        QString dataPath;
        int format = 0;
        AsciiFormat delimiters;
        std::string valueColumn;
        QString setupPath;
        ViewKind kind = ViewKind::Map;
        // A derived surface, cohort lines.
        NewMapExtras extras;
    };
    DocumentView* CreateFromData(const NewMapChoice& choice);
    DocumentView* AddView(DocumentEntry& entry, ViewKind kind);

    DocumentView* ActiveView() const;
    QAction* Action(int command) const;
    // Undo and Redo of the active map's in-place edits.
    QAction* UndoMapAction() const { return undoMap_; }
    QAction* RedoMapAction() const { return redoMap_; }
    QMdiArea* Area() const { return area_; }
    DocumentManager& Documents() { return documents_; }
    RecentFiles& Recent() { return recent_; }
    int CurrentToolBarSet() const { return toolBarSet_; }
    QToolBar* ToolBar() const { return toolBar_; }
    QLabel* StatusPane(int pane) const;
    QPrinter& Printer();
    // The manual's window; null until help was asked for.
    HelpWindow* Help() const { return help_; }

    // Closes one child window, asking to save first where that would lose
    // changes; false when the user kept it open.
    bool CloseSubWindow(QMdiSubWindow* window);
    bool CloseAll();

    // Shell
    std::optional<DoubleSize> ApplyOrientation(int pageOrientation) override;
    void ViewFocused(DocumentView* view) override;
    void SetStatusPane(int pane, const QString& text) override;
    void ClearStatusPanes() override;
    void ShowStatusMessage(const QString& text) override;
    void OpenHelp(const QString& topic) override;
    // The manual's topic for the active view; none without one.
    QString ActiveHelpTopic() const;
    void ShowTextEditor(DocumentEntry& entry) override;
    void CommandsChanged() override;
    std::vector<DocumentView*> ShownMapViews() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateFileMenu();
    void CreateMapEditMenu();
    void CreateTextEditMenu();
    void CreateWindowMenu();
    // Adds the commands' actions to a menu in order; 0 is a separator.
    void AddActions(QMenu* menu, std::initializer_list<int> commands);
    void CreateToolBar();
    void CreateStatusBar();
    void RebuildMenuBar();
    void UpdateActions();
    void UpdateRecentMenu();
    void UpdateWindowMenu();
    void SetToolBarSet(int set);
    void SubWindowActivated(QMdiSubWindow* window);
    // The handlers of the commands the window itself does, for the program
    // and for the active view's document.
    void AddApplicationCommands();
    void AddDocumentCommands();
    // Routes the view commands to the active view.
    void AttachActiveView();
    void Run(int command);
    void UpdateTitle(QMdiSubWindow* window);

    void FileNew();
    void FileNewDerived();
    void FileOpen();
    void FileSave();
    void FileSaveAs();
    void FileClose();
    void OpenRecent(const QString& path);
    void Print();
    // Prints map views, all on one page.
    void PrintViews(const std::vector<MapView*>& views, const QString& title);
    void PrintActiveWindows();
    void PrintSetup();
    void AddViewCommand();
    void About();
    void Tile(Qt::Orientation orientation);
    void Cascade();
    void ArrangeIcons();
    void ShowAll(Qt::WindowState state);
    void ShowFindSectionMenu();

    // Asks whether to save a view's changes before it closes; false when
    // the user cancelled or the save failed.
    bool QuerySave(DocumentView& view);
    static DocumentView* ViewOf(QMdiSubWindow* window);

    QMdiArea* area_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QMap<int, QAction*> actions_;
    QMenu* fileMenu_ = nullptr;
    QMenu* exportMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QMenu* mapEditMenu_ = nullptr;
    QMenu* textEditMenu_ = nullptr;
    QMenu* findSectionMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QList<QAction*> windowListActions_;
    std::array<QLabel*, 8> panes_{};
    int toolBarSet_ = -1;
    int menuKind_ = -1;
    DocumentManager documents_;
    RecentFiles recent_;
    std::unique_ptr<QPrinter> printer_;
    // Undo and Redo of the map views follow the active map's document.
    QUndoGroup* undoGroup_ = nullptr;
    // The manual's window, made when help is first asked for.
    HelpWindow* help_ = nullptr;
    QAction* undoMap_ = nullptr;
    QAction* redoMap_ = nullptr;
    CommandRouter router_;
    CommandHandlers appCommands_;
    CommandHandlers documentCommands_;
    // The active text view's commands, made again when it changes.
    CommandHandlers textCommands_;
};
