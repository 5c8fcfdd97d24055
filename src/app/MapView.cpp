#include "app/MapView.h"

#include "app/Commands.h"
#include "app/Shell.h"
#include "document/ChartDocument.h"
#include "platform/QtSurface.h"
#include "platform/QtText.h"
#include "scale/MapScale.h"
#include "view/HelpTopics.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
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
    : QWidget(parent), entry_(entry), shell_(shell) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(tr("Map"));
    setAccessibleDescription(tr("Map of %1").arg(entry.Title()));
    setMinimumSize(120, 90);
    entry_.AddView(this);
    state_.justOpened = true;
    ApplyScreen();
}

MapView::~MapView() {
    entry_.RemoveView(this);
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
    if (!entry_.Document().Save()) {
        return false;
    }
    SetModified(false);
    return true;
}

void MapView::DocumentReloaded() {
    SetModified(false);
    Redraw();
}

void MapView::PageChanged() {
    state_.RecomputePage(shell_.ApplyOrientation(entry_.Document().PageOrientation));
    Redraw();
}

void MapView::SetModified(bool modified) {
    if (state_.modified != modified) {
        state_.modified = modified;
        emit ModifiedChanged();
    }
}

void MapView::Redraw() {
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

void MapView::AfterViewChange() {
    Redraw();
    shell_.CommandsChanged();
}

bool MapView::IsEnabled(int command) const {
    switch (command) {
    case Cmd::SmartScale: {
        const DMAT& data = entry_.Document().DataMatrix;
        return entry_.IsLoaded() && data.GetRows() > 0 && data.GetColumns() > 0;
    }
    case Cmd::FitPage:
    case Cmd::FitPlotArea:
    case Cmd::MoveUp:
    case Cmd::MoveDown:
    case Cmd::MoveLeft:
    case Cmd::MoveRight:
    case Cmd::ZoomIn:
    case Cmd::ZoomOut:
    case Cmd::CenterHere:
    case Cmd::ShowPlot:
    case Cmd::TextEditor:
        return true;
    case Cmd::ShowScale:
        return entry_.IsLoaded();
    default:
        return false;
    }
}

std::optional<bool> MapView::IsChecked(int command) const {
    switch (command) {
    case Cmd::FitPlotArea:
        return state_.IsFitPlotArea();
    case Cmd::ShowScale:
        return entry_.Document().Legend.IsVisible();
    case Cmd::ShowPlot:
        return state_.showMap;
    default:
        return std::nullopt;
    }
}

bool MapView::Execute(int command) {
    if (!IsEnabled(command) || entry_.IsBusy()) {
        return false;
    }
    ChartDocument& document = entry_.Document();
    switch (command) {
    case Cmd::FitPage:
        state_.FitPage();
        break;
    case Cmd::FitPlotArea:
        state_.ToggleFitPlotArea(document.Frame);
        break;
    case Cmd::MoveUp:
        state_.Move(MoveDirection::Up);
        break;
    case Cmd::MoveDown:
        state_.Move(MoveDirection::Down);
        break;
    case Cmd::MoveLeft:
        state_.Move(MoveDirection::Left);
        break;
    case Cmd::MoveRight:
        state_.Move(MoveDirection::Right);
        break;
    case Cmd::ZoomIn:
    case Cmd::ZoomOut:
    case Cmd::CenterHere: {
        if (command == Cmd::ZoomIn) {
            state_.ZoomIn();
        } else if (command == Cmd::ZoomOut) {
            state_.ZoomOut();
        } else {
            state_.CenterHere();
        }
        const IntPoint centre = state_.ViewportCentre();
        if (underMouse()) {
            QCursor::setPos(mapToGlobal(QPoint(centre.x, centre.y)));
        }
        break;
    }
    case Cmd::ShowScale:
        document.Legend.SetVisible(!document.Legend.IsVisible());
        SetModified(true);
        RedrawDocument();
        break;
    case Cmd::ShowPlot:
        state_.showMap = !state_.showMap;
        break;
    case Cmd::SmartScale:
        if (SmartScale(document.DataMatrix, document.ScaleValues, entry_.Prompt())) {
            ClassifyLevels(document.DataMatrix, document.ScaleValues, document.LevelMatrix);
            document.Legend.SyncWithScale(document.ScaleValues);
            SetModified(true);
            RedrawDocument();
        }
        break;
    case Cmd::TextEditor:
        shell_.ShowTextEditor(entry_);
        return true;
    default:
        return false;
    }
    AfterViewChange();
    return true;
}

void MapView::RenderPicture() {
    const QSize size = this->size();
    if (picture_.size() != size) {
        picture_ = QImage(size, QImage::Format_RGB32);
    }
    picture_.fill(Qt::white);
    if (!entry_.IsLoaded()) {
        pictureValid_ = true;
        return;
    }
    QPainter painter(&picture_);
    std::optional<std::string> failure;
    {
        QtSurface surface(painter, DeviceTechnology::RasterDisplay);
        failure = state_.Paint(surface, entry_.Document(), false);
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
    Redraw();
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
    case Qt::Key_F1:
        shell_.OpenHelp(QString::fromLatin1(kMapViewTopic));
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        Execute(command);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void MapView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        state_.lastClick = IntPoint{at.x(), at.y()};
    }
    if (event->button() == Qt::LeftButton &&
        event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
        Execute(Cmd::FitPage);
        return;
    }
    QWidget::mousePressEvent(event);
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const DoublePoint page = state_.DeviceToPage(IntPoint{at.x(), at.y()});
    shell_.SetStatusPane(4, QString::number(at.x()));
    shell_.SetStatusPane(5, QString::number(at.y()));
    shell_.SetStatusPane(6, QString::number(static_cast<long long>(page.x)));
    shell_.SetStatusPane(7, QString::number(static_cast<long long>(page.y)));
    QWidget::mouseMoveEvent(event);
}

void MapView::contextMenuEvent(QContextMenuEvent* event) {
    state_.lastClick = IntPoint{event->pos().x(), event->pos().y()};
    QMenu menu(this);
    const auto add = [&](int command) {
        const CommandInfo* info = FindCommand(command);
        QAction* action = menu.addAction(tr(info->text), [this, command] { Execute(command); });
        action->setEnabled(IsEnabled(command));
    };
    add(Cmd::ZoomIn);
    add(Cmd::ZoomOut);
    add(Cmd::CenterHere);
    menu.addSeparator();
    add(Cmd::FitPage);
    menu.exec(event->globalPos());
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
    shell_.ClearStatusPanes();
}
