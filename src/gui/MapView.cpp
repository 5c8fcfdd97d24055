#include "gui/MapView.h"

#include "dialogs/ColorEditors.h"
#include "dialogs/PlotFrameSheet.h"
#include "document/ChartDocument.h"
#include "gui/Commands.h"
#include "gui/MapExport.h"
#include "gui/MonitorController.h"
#include "gui/PointerActivation.h"
#include "gui/Shell.h"
#include "platform/QtSurface.h"
#include "view/ClickEditor.h"
#include "view/HelpTopics.h"
#include "view/StatusTexts.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

// With DEMLA_FIRST_PAINT set, the first finished picture of a map is
// reported on standard error, and with DEMLA_FIRST_PAINT=exit the program
// then ends: the start-up benchmark times the whole way to a map.
void ReportFirstPaint() {
    static bool reported = false;
    if (reported || qEnvironmentVariableIsEmpty("DEMLA_FIRST_PAINT")) {
        return;
    }
    reported = true;
    std::fprintf(stderr, "demla: first map painted\n");
    if (qEnvironmentVariable("DEMLA_FIRST_PAINT") == QLatin1String("exit")) {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
}

} // namespace

MapView::MapView(DocumentEntry& entry, Shell& shell, QWidget* parent)
    : QWidget(parent), entry_(entry), shell_(shell), zoom_(*this),
      monitor_(new MonitorController(*this)), export_(std::make_unique<MapExport>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(tr("Map"));
    setAccessibleDescription(tr("Map of %1").arg(entry.Title()));
    setMinimumSize(120, 90);
    entry_.AddView(this);
    state_.justOpened = true;
    ApplyScreen();
    connect(monitor_, &MonitorController::TitleChanged, this, &MapView::TitleChanged);
    AddViewCommands();
    AddEditCommands();
    AddSheetCommands();
    export_->AddCommands(commands_);
    monitor_->AddCommands(commands_);
}

MapView::~MapView() {
    // Nobody asks a view that is going for its caption.
    blockSignals(true);
    monitor_->Leave();
    entry_.RemoveView(this);
}

void MapView::PaintForExport(Surface& surface) {
    if (!entry_.IsLoaded() || entry_.IsBusy()) {
        return;
    }
    // Exported pictures never show the border of the sheet.
    state_.pageOutline = false;
    const std::optional<std::string> failure = state_.Paint(surface, entry_.Document(), false);
    state_.pageOutline = true;
    if (failure) {
        ShowPaintFailure(*failure);
    }
}

void MapView::ApplyScreen() {
    // The zoom limits are those of the screen the window shows on.
    const QScreen* current = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (current != nullptr) {
        const QSize pixels = current->size() * current->devicePixelRatio();
        state_.SetScreen(IntSize{pixels.width(), pixels.height()});
    }
}

bool MapView::Commit() {
    if (!entry_.IsLoaded()) {
        entry_.Prompt().Show("Error",
                             "The map could not be read from its setup file, so there is "
                             "nothing to save. Correct the file in its text window.",
                             PromptIcon::Exclamation);
        return false;
    }
    if (state_.IsFitPlotArea()) {
        state_.LeaveFitPlotArea();
        Redraw();
    }
    // The view keeps its changes when the document could not be written.
    return entry_.Document().Save();
}

void MapView::DocumentReloaded() {
    Redraw();
}

void MapView::PageChanged() {
    state_.RecomputePage(shell_.ApplyOrientation(entry_.Document().PageOrientation));
    Redraw();
}

void MapView::Redraw() {
    ++revision_;
    Reframe();
}

void MapView::Reframe() {
    pictureValid_ = false;
    update();
}

void MapView::RedrawDocument() {
    for (DocumentView* view : entry_.Views()) {
        if (auto* map = dynamic_cast<MapView*>(view)) {
            map->Redraw();
        }
    }
}

void MapView::ViewChanged() {
    Reframe();
    shell_.CommandsChanged();
}

void MapView::RenderPicture() {
    const QSize size = this->size();
    if (!entry_.IsLoaded()) {
        // A reload that failed keeps the last good map on the screen.
        if (picture_.size() != size) {
            picture_ = QImage(size, QImage::Format_RGB32);
            picture_.fill(Qt::white);
        }
        pictureValid_ = true;
        return;
    }
    if (picture_.size() != size) {
        picture_ = QImage(size, QImage::Format_RGB32);
    }
    picture_.fill(Qt::white);
    QPainter painter(&picture_);
    std::optional<std::string> failure;
    {
        // The cells come from the picture kept of them when it still fits:
        // a move draws it shifted instead of painting every cell again.
        const IntSize window{size.width(), size.height()};
        const std::uint32_t mapType = entry_.Document().MapType;
        const MapCellsDrawer cells = [&](Surface&, const PageCoordinateSystem& page,
                                         const MapPaintInput& map) {
            cells_.Draw(painter, window, page, map, mapType, revision_);
        };
        QtSurface surface(painter, DeviceTechnology::RasterDisplay);
        failure = state_.Paint(surface, entry_.Document(), false, cells);
    }
    painter.end();
    pictureValid_ = true;
    ReportFirstPaint();
    if (failure) {
        ShowPaintFailure(*failure);
    } else {
        shownFailure_.clear();
    }
}

void MapView::ShowPaintFailure(const std::string& text) {
    if (text == shownFailure_) {
        return;
    }
    shownFailure_ = text;
    // Never from inside the paint: the box's event loop would paint again.
    QTimer::singleShot(0, this, [this, text] {
        entry_.Prompt().Show(kApplicationName, text, PromptIcon::Exclamation);
    });
}

void MapView::paintEvent(QPaintEvent*) {
    // While the document loads or saves (a message box may be open), the
    // last picture stands in for it.
    if (!entry_.IsBusy() && (!pictureValid_ || picture_.size() != size())) {
        RenderPicture();
    }
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    painter.drawImage(0, 0, picture_);
    if (picture_.width() < width() || picture_.height() < height()) {
        painter.fillRect(picture_.width(), 0, width() - picture_.width(), height(), Qt::white);
        painter.fillRect(0, picture_.height(), picture_.width(), height() - picture_.height(),
                         Qt::white);
    }
}

void MapView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyScreen();
    if (!state_.Resize(width(), height())) {
        return;
    }
    if (state_.pageSetupPending) {
        state_.pageSetupPending = false;
        state_.RecomputePage(shell_.ApplyOrientation(entry_.Document().PageOrientation));
    }
    Reframe();
}

void MapView::keyPressEvent(QKeyEvent* event) {
    int command = 0;
    switch (event->key()) {
    case Qt::Key_Up:
        command = Cmd::MoveUp;
        break;
    case Qt::Key_Down:
        command = Cmd::MoveDown;
        break;
    case Qt::Key_Left:
        command = Cmd::MoveLeft;
        break;
    case Qt::Key_Right:
        command = Cmd::MoveRight;
        break;
    case Qt::Key_Escape:
        if (!zoom_.Cancel()) {
            QWidget::keyPressEvent(event);
        }
        return;
    case Qt::Key_F1:
        shell_.OpenHelp(QString::fromLatin1(kMapViewTopic));
        return;
    case Qt::Key_Delete:
        if (!DeleteSelectedAnnotation()) {
            QWidget::keyPressEvent(event);
        }
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        commands_.Execute(command);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void MapView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    state_.lastClick = IntPoint{at.x(), at.y()};
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::ControlModifier) && (modifiers & Qt::ShiftModifier)) {
        commands_.Execute(Cmd::FitPage);
        return;
    }
    if (modifiers & Qt::ControlModifier) {
        zoom_.Press(at);
        return;
    }
    // A click while a picture is being made, or on a document being read,
    // is not for anything under it.
    if (!state_.paintComplete || entry_.IsBusy() || !entry_.IsLoaded()) {
        return;
    }
    OpenEditorAt(IntPoint{at.x(), at.y()});
}

void MapView::OpenEditorAt(IntPoint at) {
    const ObjectUnderPoint hit =
        ObjectAt(entry_.Document(), state_.PageSystem(), at, state_.showMap);
    selected_.reset();
    const auto pages = [](const std::vector<PlotFrameSheet::Page>& list) {
        return std::vector<int>(list.begin(), list.end());
    };
    switch (EditorFor(hit)) {
    case ClickEditor::Annotation:
        selected_ = hit;
        EditAnnotation(hit.kind, hit.index);
        break;
    case ClickEditor::FrameXTicks:
        EditPlotFrame(pages(PlotFrameSheet::XTickPages()));
        break;
    case ClickEditor::FrameYTicks:
        EditPlotFrame(pages(PlotFrameSheet::YTickPages()));
        break;
    case ClickEditor::FrameTitle:
        EditPlotFrame({PlotFrameSheet::Title});
        break;
    case ClickEditor::FrameXLabel:
        EditPlotFrame({PlotFrameSheet::XLabel});
        break;
    case ClickEditor::FrameYLabel:
        EditPlotFrame({PlotFrameSheet::YLabel});
        break;
    case ClickEditor::Scale:
        EditScale();
        break;
    case ClickEditor::LevelColor: {
        const std::uint32_t k = hit.index;
        Edit(tr("Change Color"), [this, k] { return EditLevelColors(this, entry_.Document(), k); });
        break;
    }
    case ClickEditor::None:
        break;
    }
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    ActivateUnderPointer(*this);
    if (event->modifiers() & Qt::ControlModifier) {
        zoom_.Move(at);
        return;
    }
    if (!entry_.IsBusy() && entry_.IsLoaded()) {
        const StatusTexts texts =
            MapStatusAt(entry_.Document(), state_.PageSystem(), IntPoint{at.x(), at.y()});
        for (int pane = 1; pane <= 8; ++pane) {
            shell_.SetStatusPane(pane, QString::fromStdString(texts[pane]));
        }
    }
    QWidget::mouseMoveEvent(event);
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !zoom_.IsDragging()) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (zoom_.Release(event->position().toPoint(), state_)) {
        ViewChanged();
    }
}

void MapView::contextMenuEvent(QContextMenuEvent* event) {
    QPoint at = event->pos();
    if (event->reason() != QContextMenuEvent::Mouse) {
        // From the keyboard: the menu of the middle of the view.
        at = rect().center();
    }
    std::unique_ptr<QMenu> menu(ContextMenuAt(at, QGuiApplication::keyboardModifiers(), this));
    if (menu) {
        menu->exec(mapToGlobal(at));
    }
}

void MapView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (!state_.pageSetupPending) {
        shell_.ApplyOrientation(entry_.Document().PageOrientation);
    }
    shell_.ViewFocused(this);
}

void MapView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    zoom_.Cancel();
    shell_.ClearStatusPanes();
}
