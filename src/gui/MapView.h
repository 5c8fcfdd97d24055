#pragma once

#include "gui/CellLayerCache.h"
#include "gui/CommandRouter.h"
#include "gui/Documents.h"
#include "gui/MapExport.h"
#include "gui/MonitorController.h"
#include "gui/ZoomRectangleTool.h"
#include "view/MapHits.h"
#include "view/MapViewState.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class Shell;
class Surface;
class QMenu;

// A map window: shows a document's page, zoomed and moved as the user
// asks. What it shows and every zoom rule live in MapViewState; this
// widget turns events into its calls and keeps the last picture, which it
// paints again until the view or the document changes.
class MapView : public QWidget, public DocumentView {
    Q_OBJECT
public:
    MapView(DocumentEntry& entry, Shell& shell, QWidget* parent = nullptr);
    ~MapView() override;

    ViewKind Kind() const override { return ViewKind::Map; }
    QWidget* Widget() override { return this; }
    DocumentEntry& Entry() const override { return entry_; }
    bool Commit() override;
    bool IsDirty() const override { return entry_.MapsModified(); }
    void FileWritten() override {}
    void DocumentReloaded() override;
    void PageChanged() override;
    void AppearanceChanged() override { Redraw(); }

    MapViewState& State() { return state_; }
    const MapViewState& State() const { return state_; }

    // The view's commands, with their enablers: the window routes the map
    // commands of its menus, buttons and keys here while the view is active.
    const CommandHandlers& Commands() const { return commands_; }
    // The window the view lives in.
    Shell& Host() const { return shell_; }

    // Draws the view's picture again at the next paint, after a change of
    // the document: the kept cells are painted again too.
    void Redraw();

    // The picture of the cells the view keeps between paints.
    const CellLayerCache& Cells() const { return cells_; }

    // The context-menu commands on the cell or the legend level at a device
    // point, run through the undo stack; false when the command does not
    // apply there.
    bool RunCellCommand(int command, IntPoint at);
    bool RunLegendCommand(int command, IntPoint at);
    // The menu a right click at a device point opens, with its commands
    // enabled as they are now: empty when none.
    QMenu* ContextMenuAt(QPoint point, Qt::KeyboardModifiers modifiers, QWidget* parent);

    // Makes an in-place edit of the document through the undo stack. The
    // edit answers whether it changed anything; unless trusted, an answer
    // yes that left scale, colours and appearance as they were records
    // nothing.
    void Edit(const QString& name, const std::function<bool()>& edit, bool trusted = false);

    // The annotation a left click selected last: the Delete key removes it.
    std::optional<ObjectUnderPoint> SelectedAnnotation() const { return selected_; }
    // Opens the sheet of an annotation (or of a new one, without index)
    // through the undo stack.
    void EditAnnotation(ObjectUnderPoint::Kind kind, std::optional<std::uint32_t> index);
    bool DeleteSelectedAnnotation();
    // The plot frame sheet with some of its pages (its PlotFrameSheet::Page
    // numbers), through the undo stack.
    void EditPlotFrame(const std::vector<int>& pages);
    // The scale sheet, on the levels page with a level selected.
    void EditScale(std::optional<std::uint32_t> level = std::nullopt);

    // Monitor mode, exports and copies of this view.
    MonitorController& Monitor() { return *monitor_; }
    const MonitorController& Monitor() const { return *monitor_; }
    MapExport& Export() { return *export_; }

    // The view moved, zoomed or changed what it shows: it is drawn again
    // and the window's commands follow.
    void ViewChanged();

    // Paints what the window shows, without the page outline, on another
    // surface of the window's size: exports and copies.
    void PaintForExport(Surface& surface);
    QSize sizeHint() const override { return {800, 560}; }

signals:
    // The child window's caption changes (monitor mode).
    void TitleChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The commands of the view, by the part of the menu they come from.
    void AddViewCommands();
    void AddEditCommands();
    void AddSheetCommands();
    // Zoom In, Zoom Out and Center Here about a device point.
    void ZoomAbout(int command, IntPoint at);
    // The editor a left click on the map opens.
    void OpenEditorAt(IntPoint at);
    void ShowInfo();
    void RenderPicture();
    void ShowPaintFailure(const std::string& text);
    // The view moved, zoomed or changed size: the picture is made again,
    // from the kept cells where they still fit.
    void Reframe();
    void ApplyScreen();
    // Every map view of the document draws again.
    void RedrawDocument();

    DocumentEntry& entry_;
    Shell& shell_;
    MapViewState state_;
    QImage picture_;
    bool pictureValid_ = false;
    CellLayerCache cells_;
    // Counts the changes of the document this view was told of; the kept
    // cells belong to one count.
    std::uint64_t revision_ = 0;
    // The message of the last failed paint, shown once.
    std::string shownFailure_;
    CommandHandlers commands_;
    ZoomRectangleTool zoom_;
    MonitorController* monitor_ = nullptr;
    std::unique_ptr<MapExport> export_;
    std::optional<ObjectUnderPoint> selected_;
};
