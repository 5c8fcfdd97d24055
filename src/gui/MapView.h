#pragma once

#include "gui/CellLayerCache.h"
#include "gui/Documents.h"
#include "view/MapHits.h"
#include "view/MapViewState.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

class Shell;
class Surface;
class QMenu;
class QRubberBand;
class QTimer;

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

    // The view's commands: done when it is one of them and enabled.
    bool Execute(int command);
    bool IsEnabled(int command) const;
    // Nothing for a command without a check mark.
    std::optional<bool> IsChecked(int command) const;

    // Draws the view's picture again at the next paint, after a change of
    // the document: the kept cells are painted again too.
    void Redraw();

    // The picture of the cells the view keeps between paints.
    const CellLayerCache& Cells() const { return cells_; }

    // The context-menu commands on the cell or legend level at the last
    // click point, run through the undo stack.
    bool RunCellCommand(int command);
    bool RunLegendCommand(int command);
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

    // Monitor mode: the view reloads its document whenever another program
    // signals through the semaphore file of its place. Entering with
    // unsaved edits asks whether to save or discard them first; false when
    // the view stays out.
    bool EnterMonitorMode();
    void LeaveMonitorMode();
    bool IsMonitoring() const { return monitorPlace_ != 0; }
    int MonitorPlace() const { return monitorPlace_; }
    const std::string& SemaphorePath() const { return semaphore_; }
    std::uint32_t MonitorInterval() const { return monitorInterval_; }
    // Takes the text of Set Monitor Delay: false when it asked and the
    // answer kept the old interval.
    bool SetMonitorInterval(const QString& text);
    // One poll of the semaphore file (the timer calls it). It asks nothing:
    // a reload that fails keeps the last good map and says why in the
    // status bar and the caption.
    void MonitorTick();
    // The line of the last reload that failed; empty once one loaded.
    const QString& MonitorFailure() const { return monitorFailure_; }
    // What the child window's caption adds to the document's name.
    QString TitleSuffix() const;

    // Paints what the window shows, without the page outline, on another
    // surface of the window's size: exports and copies.
    void PaintForExport(Surface& surface);
    // The picture of this view, or of every shown map view drawn over one
    // another, in a kind of MakePicture; nothing after a message.
    std::optional<std::string> Picture(std::string_view kind, bool composite);
    // Writes the picture to a file (the kind from its extension); false
    // after a message.
    bool ExportTo(const QString& path);
    // Puts the picture on the clipboard: as an image, or as a metafile
    // with an SVG copy beside it.
    bool CopyToClipboard(bool metafile, bool composite);

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
    void RenderPicture();
    void ShowPaintFailure(const std::string& text);
    void AfterViewChange();
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
    // The rectangle of a Ctrl-drag zoom.
    QRubberBand* band_ = nullptr;
    QPoint bandStart_;
    QPoint bandCurrent_;
    bool banding_ = false;
    int monitorPlace_ = 0;
    std::string semaphore_;
    std::uint32_t monitorInterval_ = 1000;
    QTimer* monitorTimer_ = nullptr;
    bool inTick_ = false;
    QString monitorFailure_;
    std::optional<ObjectUnderPoint> selected_;
};
