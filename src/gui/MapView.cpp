#include "gui/MapView.h"

#include "dialogs/AnnotationSheets.h"
#include "dialogs/ColorEditors.h"
#include "dialogs/ColorSchemeDialog.h"
#include "dialogs/MapAppearanceDialog.h"
#include "dialogs/PlotFrameSheet.h"
#include "dialogs/ScaleSheet.h"
#include "document/ChartDocument.h"
#include "gui/Commands.h"
#include "gui/MapEditCommand.h"
#include "gui/PointerActivation.h"
#include "gui/Shell.h"
#include "platform/PngWriter.h"
#include "platform/QtSurface.h"
#include "platform/QtText.h"
#include "platform/RenderToFile.h"
#include "scale/MapScale.h"
#include "view/HelpTopics.h"
#include "view/MapCommands.h"
#include "view/MonitorMode.h"
#include "view/StatusTexts.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScreen>
#include <QTimer>

#include <algorithm>
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
    // Nobody asks a view that is going for its caption.
    blockSignals(true);
    LeaveMonitorMode();
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

std::optional<std::string> MapView::Picture(std::string_view kind, bool composite) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<MapView*> views{this};
    if (composite) {
        views.clear();
        for (DocumentView* view : shell_.ShownMapViews()) {
            if (auto* map = dynamic_cast<MapView*>(view)) {
                views.push_back(map);
            }
        }
    }
    std::string cause;
    std::optional<std::string> bytes;
    try {
        // Later windows are drawn over earlier ones, each with its own page
        // window, on this window's size.
        bytes = MakePicture(
            kind, width(), height(),
            [&](Surface& surface) {
                for (MapView* view : views) {
                    view->PaintForExport(surface);
                }
            },
            &cause);
    } catch (const std::exception& e) {
        cause = e.what();
    }
    QApplication::restoreOverrideCursor();
    if (!bytes) {
        entry_.Prompt().Show(kApplicationName, "Unable write file\r\n" + cause,
                             PromptIcon::Exclamation);
    }
    return bytes;
}

bool MapView::ExportTo(const QString& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ExportResult result = ExportPicture(
        PathFromQt(path), width(), height(), [this](Surface& surface) { PaintForExport(surface); });
    QApplication::restoreOverrideCursor();
    if (!result) {
        entry_.Prompt().Show(kApplicationName, "Unable write file\r\n" + result.message,
                             PromptIcon::Exclamation);
    }
    return result.written;
}

bool MapView::CopyToClipboard(bool metafile, bool composite) {
    auto data = std::make_unique<QMimeData>();
    if (metafile) {
        const std::optional<std::string> emf = Picture("emf", composite);
        const std::optional<std::string> svg = emf ? Picture("svg", composite) : std::nullopt;
        if (!emf || !svg) {
            return false;
        }
        const QByteArray emfBytes = QByteArray::fromStdString(*emf);
        data->setData(QStringLiteral("image/x-emf"), emfBytes);
        data->setData(QStringLiteral("image/emf"), emfBytes);
        data->setData(QStringLiteral("image/svg+xml"), QByteArray::fromStdString(*svg));
    } else {
        // The map is painted once; the PNG copy is encoded from the same
        // picture.
        const std::optional<std::string> bmp = Picture("bmp", composite);
        if (!bmp) {
            return false;
        }
        const QByteArray bmpBytes = QByteArray::fromStdString(*bmp);
        QImage image;
        image.loadFromData(bmpBytes, "BMP");
        QByteArray pngBytes;
        QBuffer png(&pngBytes);
        png.open(QIODevice::WriteOnly);
        WritePng(image, png);
        data->setImageData(image);
        data->setData(QStringLiteral("image/png"), pngBytes);
        data->setData(QStringLiteral("image/bmp"), bmpBytes);
    }
    QGuiApplication::clipboard()->setMimeData(data.release());
    return true;
}

bool MapView::EnterMonitorMode() {
    if (IsMonitoring()) {
        return true;
    }
    // The first signal reads the files again: edits not saved would be
    // read over by what the files hold, so the user says what becomes of
    // them before.
    if (entry_.MapsDirty()) {
        const PromptAnswer answer = entry_.Prompt().AskWithDefault(
            kApplicationName,
            "The map has changes that are not saved. Monitor mode reads the map again from its "
            "files. Save the changes first?",
            PromptButtons::YesNoCancel, PromptIcon::Warning, PromptAnswer::Cancel);
        if (answer == PromptAnswer::Cancel) {
            return false;
        }
        if (answer == PromptAnswer::Yes && !entry_.Save(this)) {
            return false;
        }
        if (answer == PromptAnswer::No && !entry_.Revert()) {
            return false;
        }
    }
    const std::optional<int> place = MonitorPlaces::Instance().Take();
    if (!place) {
        entry_.Prompt().Show(kApplicationName,
                             "Cannot enter monitor mode\r\nNumber of monitor places exceeded");
        return false;
    }
    monitorPlace_ = *place;
    semaphore_ = SemaphoreFileName(*place);
    entry_.Prompt().Show("Warning",
                         "Entering monitor mode\r\nMonitor semaphore file: " + semaphore_);
    emit TitleChanged();
    // Signals left from an earlier run are not for this one.
    std::remove(semaphore_.c_str());
    std::remove(LockFileName(semaphore_).c_str());
    if (monitorTimer_ == nullptr) {
        monitorTimer_ = new QTimer(this);
        connect(monitorTimer_, &QTimer::timeout, this, &MapView::MonitorTick);
    }
    monitorTimer_->start(static_cast<int>(monitorInterval_));
    shell_.CommandsChanged();
    return true;
}

void MapView::LeaveMonitorMode() {
    if (!IsMonitoring()) {
        return;
    }
    MonitorPlaces::Instance().Free(monitorPlace_);
    monitorPlace_ = 0;
    semaphore_.clear();
    monitorFailure_.clear();
    if (monitorTimer_ != nullptr) {
        monitorTimer_->stop();
    }
    emit TitleChanged();
}

QString MapView::TitleSuffix() const {
    if (!IsMonitoring()) {
        return QString();
    }
    QString suffix = QStringLiteral(" Semaphore ") + QString::fromStdString(semaphore_);
    if (!monitorFailure_.isEmpty()) {
        suffix += QStringLiteral(" – ") + monitorFailure_;
    }
    return suffix;
}

bool MapView::SetMonitorInterval(const QString& text) {
    const std::uint64_t value = ParseMonitorInterval(text.toStdString());
    if (value > kMonitorIntervalHour &&
        !entry_.Prompt().Confirm("Warning", "Are you sure to set it more than one hour?",
                                 PromptButtons::OkCancel, PromptIcon::Warning)) {
        return false;
    }
    // The timer takes an int; a shorter interval would poll without rest.
    monitorInterval_ = static_cast<std::uint32_t>(
        std::clamp<std::uint64_t>(value, kMinimumMonitorInterval, INT32_MAX));
    if (IsMonitoring() && monitorTimer_ != nullptr) {
        monitorTimer_->start(static_cast<int>(monitorInterval_));
    }
    return true;
}

void MapView::MonitorTick() {
    // A tick while a reload or a save is under way waits for the next one:
    // the signal stays until the reload it asked for is done. So does a
    // tick while a dialog is open, which may be editing this document.
    if (!IsMonitoring() || inTick_ || entry_.IsBusy() ||
        QApplication::activeModalWidget() != nullptr) {
        return;
    }
    if (CheckMonitorSignal(semaphore_, LockFileName(semaphore_)) != MonitorSignal::Ready) {
        return;
    }
    inTick_ = true;
    const MonitorReload result = entry_.ReloadForMonitor();
    inTick_ = false;
    const QString failure = TextFromBytes(result.failure);
    if (failure != monitorFailure_) {
        const bool recovered = failure.isEmpty();
        monitorFailure_ = failure;
        emit TitleChanged();
        if (recovered) {
            shell_.ShowStatusMessage(QString());
        }
    }
    if (!result.loaded) {
        shell_.ShowStatusMessage(failure);
    } else if (!result.notes.empty()) {
        shell_.ShowStatusMessage(TextFromBytes(result.notes.front()));
    }
    repaint();
    if (!IsMonitoring()) {
        return;
    }
    if (std::remove(semaphore_.c_str()) != 0) {
        entry_.Prompt().Show(kApplicationName,
                             "Unable delete semaphore file\r\nMonitor mode aborted");
        LeaveMonitorMode();
        shell_.CommandsChanged();
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

void MapView::AfterViewChange() {
    Reframe();
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
    case Cmd::MapAppearance:
    case Cmd::ColorSchemes:
    case Cmd::MissingColor:
        return entry_.IsLoaded();
    case Cmd::ColorValue:
    case Cmd::Info:
    case Cmd::MonitorMode:
    case Cmd::MonitorDelay:
        return true;
    case Cmd::ExportBitmap:
    case Cmd::ExportMetafile:
    case Cmd::ExportPng:
    case Cmd::ExportSvg:
    case Cmd::ExportPdf:
    case Cmd::CopyBitmap:
    case Cmd::CopyMetafile:
    case Cmd::CopyBitmapKey:
    case Cmd::CopyMetafileKey:
        return entry_.IsLoaded();
    case Cmd::AnnotationText:
    case Cmd::AnnotationRectangle:
    case Cmd::AnnotationLine:
    case Cmd::PlotFrame:
    case Cmd::Scale:
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
    case Cmd::MonitorMode:
        return IsMonitoring();
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
        Edit(tr("Show Scale"), [&] {
            document.Legend.SetVisible(!document.Legend.IsVisible());
            return true;
        });
        break;
    case Cmd::ShowPlot:
        state_.showMap = !state_.showMap;
        break;
    case Cmd::SmartScale:
        Edit(tr("Smart Scale"), [&] { return SmartScaleLevels(document) == MapEdit::Changed; });
        break;
    case Cmd::TextEditor:
        shell_.ShowTextEditor(entry_);
        return true;
    case Cmd::MapAppearance:
        Edit(tr("Map Appearance"), [this] {
            MapAppearanceDialog dialog(entry_.Document(), this);
            return dialog.exec() == QDialog::Accepted;
        });
        break;
    case Cmd::ColorSchemes:
        Edit(tr("Color Scheme"), [this] {
            ColorSchemeDialog dialog(entry_.Document(), this);
            return dialog.exec() == QDialog::Accepted;
        });
        break;
    case Cmd::MissingColor:
        Edit(tr("Missing Color"), [this] { return EditMissingColor(this, entry_.Document()); });
        break;
    case Cmd::ColorValue:
        ShowColorValue(this);
        return true;
    case Cmd::ExportBitmap:
    case Cmd::ExportMetafile:
    case Cmd::ExportPng:
    case Cmd::ExportSvg:
    case Cmd::ExportPdf: {
        struct Kind {
            int command;
            const char* extension;
            const char* filter;
        };
        static constexpr Kind kKinds[] = {
            {Cmd::ExportBitmap, "bmp", "Windows Bitmap(*.bmp)"},
            {Cmd::ExportMetafile, "emf", "Enhanced metafile(*.emf)"},
            {Cmd::ExportPng, "png", "PNG image (*.png)"},
            {Cmd::ExportSvg, "svg", "SVG drawing (*.svg)"},
            {Cmd::ExportPdf, "pdf", "PDF document (*.pdf)"},
        };
        const Kind* kind = &kKinds[0];
        for (const Kind& k : kKinds) {
            if (k.command == command) {
                kind = &k;
            }
        }
        // The document's name with the picture's extension.
        QFileInfo info(entry_.Path());
        const QString proposed =
            info.dir().filePath(info.completeBaseName().isEmpty() ? info.fileName()
                                                                  : info.completeBaseName()) +
            QLatin1Char('.') + QLatin1String(kind->extension);
        QFileDialog dialog(this, tr("Export"), proposed);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(QString::fromLatin1(kind->filter));
        dialog.setDefaultSuffix(QString::fromLatin1(kind->extension));
        dialog.selectFile(proposed);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            ExportTo(dialog.selectedFiles().front());
        }
        return true;
    }
    case Cmd::CopyBitmap:
    case Cmd::CopyMetafile:
    case Cmd::CopyBitmapKey:
    case Cmd::CopyMetafileKey:
        CopyToClipboard(command == Cmd::CopyMetafile || command == Cmd::CopyMetafileKey,
                        command == Cmd::CopyBitmapKey || command == Cmd::CopyMetafileKey);
        return true;
    case Cmd::MonitorMode:
        if (IsMonitoring()) {
            LeaveMonitorMode();
        } else {
            EnterMonitorMode();
        }
        break;
    case Cmd::MonitorDelay: {
        QInputDialog dialog(this);
        dialog.setWindowTitle(tr("Time"));
        dialog.setLabelText(tr("Select monitor interval updating in ms"));
        dialog.setTextValue(QString::number(monitorInterval_));
        if (auto* edit = dialog.findChild<QLineEdit*>()) {
            edit->setMaxLength(31);
        }
        if (dialog.exec() == QDialog::Accepted) {
            SetMonitorInterval(dialog.textValue());
        }
        return true;
    }
    case Cmd::PlotFrame: {
        const std::vector<PlotFrameSheet::Page> all = PlotFrameSheet::AllPages();
        EditPlotFrame(std::vector<int>(all.begin(), all.end()));
        return true;
    }
    case Cmd::Scale:
        EditScale();
        return true;
    case Cmd::AnnotationText:
        EditAnnotation(ObjectUnderPoint::Kind::Text, std::nullopt);
        return true;
    case Cmd::AnnotationRectangle:
        EditAnnotation(ObjectUnderPoint::Kind::Rectangle, std::nullopt);
        return true;
    case Cmd::AnnotationLine:
        EditAnnotation(ObjectUnderPoint::Kind::Line, std::nullopt);
        return true;
    case Cmd::Info: {
        QMessageBox box(QMessageBox::NoIcon, tr("Info"),
                        QString::fromStdString(MapInfoText(document, width(), height())),
                        QMessageBox::Ok, this);
        box.exec();
        return true;
    }
    default:
        return false;
    }
    AfterViewChange();
    return true;
}

void MapView::Edit(const QString& name, const std::function<bool()>& edit, bool trusted) {
    if (entry_.IsBusy() || !entry_.IsLoaded()) {
        return;
    }
    MapEditState before = CaptureEditState(entry_.Document());
    const bool changed = edit();
    // The document may have been read again while a dialog was open: an
    // edit of the old one is not recorded.
    if (!entry_.IsLoaded()) {
        return;
    }
    MapEditState after = CaptureEditState(entry_.Document());
    if (!changed || (!trusted && after.SameAs(before))) {
        RedrawDocument();
        return;
    }
    entry_.UndoStack().push(new MapEditCommand(name, entry_, std::move(before), std::move(after)));
    entry_.MapsChanged(this);
    shell_.CommandsChanged();
}

void MapView::EditPlotFrame(const std::vector<int>& pages) {
    std::vector<PlotFrameSheet::Page> shown;
    for (const int page : pages) {
        shown.push_back(static_cast<PlotFrameSheet::Page>(page));
    }
    Edit(
        tr("Plot Frame"),
        [&] {
            PlotFrame& frame = entry_.Document().Frame;
            std::string before;
            frame.WriteSetup(before);
            PlotFrameSheet sheet(
                entry_.Document(), shown, [this] { entry_.RedrawMaps(); }, window());
            sheet.exec();
            std::string after;
            frame.WriteSetup(after);
            return after != before;
        },
        true);
}

void MapView::EditScale(std::optional<std::uint32_t> level) {
    Edit(
        tr("Scale"),
        [&] {
            ChartDocument& document = entry_.Document();
            const MapEditState before = CaptureEditState(document);
            std::string legendBefore;
            document.Legend.Write(legendBefore);
            ScaleSheet sheet(
                document, [this] { entry_.RedrawMaps(); }, window());
            if (level) {
                sheet.Levels()->Select({*level});
            }
            sheet.exec();
            std::string legendAfter;
            document.Legend.Write(legendAfter);
            return !CaptureEditState(document).SameAs(before) || legendAfter != legendBefore;
        },
        true);
}

void MapView::EditAnnotation(ObjectUnderPoint::Kind kind, std::optional<std::uint32_t> index) {
    using Kind = ObjectUnderPoint::Kind;
    const auto run = [&](auto sheet) {
        const AnnotationSheetResult result = sheet(entry_.Document(), index, this);
        if (result == AnnotationSheetResult::Deleted) {
            selected_.reset();
        }
        return result != AnnotationSheetResult::Unchanged;
    };
    QString name;
    switch (kind) {
    case Kind::Text:
        name = index ? tr("Text") : tr("New Text");
        Edit(
            name, [&] { return run(EditTextAnnotation); }, true);
        break;
    case Kind::Rectangle:
        name = index ? tr("Rectangle") : tr("New Rectangle");
        Edit(
            name, [&] { return run(EditRectangleAnnotation); }, true);
        break;
    case Kind::Line:
        name = index ? tr("Line") : tr("New Line");
        Edit(
            name, [&] { return run(EditLineAnnotation); }, true);
        break;
    default:
        break;
    }
}

bool MapView::DeleteSelectedAnnotation() {
    if (!selected_ || entry_.IsBusy() || !entry_.IsLoaded()) {
        return false;
    }
    ChartDocument& document = entry_.Document();
    const ObjectUnderPoint target = *selected_;
    selected_.reset();
    bool removed = false;
    Edit(
        tr("Delete Annotation"),
        [&] {
            const auto removeAt = [&](auto& list) {
                if (target.index < list.GetCount()) {
                    list.GoHead();
                    for (std::uint32_t i = 0; i < target.index; ++i) {
                        list.GoNext();
                    }
                    list.RemoveCurrent();
                    removed = true;
                }
            };
            switch (target.kind) {
            case ObjectUnderPoint::Kind::Text:
                removeAt(document.Texts.List());
                break;
            case ObjectUnderPoint::Kind::Line:
                removeAt(document.Lines.List());
                break;
            case ObjectUnderPoint::Kind::Rectangle:
                removeAt(document.Rectangles.List());
                break;
            default:
                break;
            }
            return removed;
        },
        true);
    return removed;
}

bool MapView::RunCellCommand(int command) {
    if (entry_.IsBusy() || !entry_.IsLoaded()) {
        return false;
    }
    // The hit is taken now, on the document as it is after the menu.
    ChartDocument& document = entry_.Document();
    const std::optional<CellUnderPoint> cell =
        CellAt(document, state_.PageSystem(), state_.lastClick);
    const CellMenuState enabled = CellMenuEnablers(document, cell);
    switch (command) {
    case Cmd::PullUpperLine:
        if (enabled.pullUpper) {
            Edit(tr("Pull Upper Line"),
                 [&] { return PullUpperLine(document, *cell) == MapEdit::Changed; });
        }
        return enabled.pullUpper;
    case Cmd::PullLowerLine:
        if (enabled.pullLower) {
            Edit(tr("Pull Lower Line"),
                 [&] { return PullLowerLine(document, *cell) == MapEdit::Changed; });
        }
        return enabled.pullLower;
    case Cmd::InsertContourLine:
        if (enabled.insertContour) {
            Edit(tr("Insert Contour Line"),
                 [&] { return InsertContourLine(document, *cell) == MapEdit::Changed; });
        }
        return enabled.insertContour;
    case Cmd::DeleteRegion:
        if (enabled.deleteRegion) {
            Edit(tr("Delete Region"),
                 [&] { return DeleteRegion(document, *cell) == MapEdit::Changed; });
        }
        return enabled.deleteRegion;
    case Cmd::CellColor:
        if (!enabled.changeColor || !cell) {
            return false;
        }
        if (cell->missing) {
            Edit(tr("Missing Color"), [&] { return EditMissingColor(this, document); });
        } else {
            Edit(tr("Change Color"), [&] { return EditLevelColors(this, document, cell->level); });
        }
        return true;
    default:
        return false;
    }
}

bool MapView::RunLegendCommand(int command) {
    if (entry_.IsBusy() || !entry_.IsLoaded()) {
        return false;
    }
    ChartDocument& document = entry_.Document();
    const std::optional<std::uint32_t> level =
        LegendLevelAt(document, state_.PageSystem(), state_.lastClick);
    if (!level) {
        return false;
    }
    const std::uint32_t k = *level;
    switch (command) {
    case Cmd::ChangeLevel:
        if (k < document.BoundaryCount()) {
            EditScale(k);
        }
        return true;
    case Cmd::InsertLevel:
        Edit(tr("Insert Level"), [&] { return InsertLevel(document, k) == MapEdit::Changed; });
        return true;
    case Cmd::DeleteLevel:
        Edit(tr("Delete Level"), [&] { return DeleteLevel(document, k) == MapEdit::Changed; });
        return true;
    case Cmd::LegendColor:
        Edit(tr("Change Color"), [&] { return EditLevelColors(this, document, k); });
        return true;
    case Cmd::ShiftColorsUp:
    case Cmd::ShiftColorsDown:
    case Cmd::ReverseColors: {
        const ColorShift shift = command == Cmd::ShiftColorsUp     ? ColorShift::Up
                                 : command == Cmd::ShiftColorsDown ? ColorShift::Down
                                                                   : ColorShift::Reverse;
        const QString name = command == Cmd::ShiftColorsUp     ? tr("Shift Colors Up")
                             : command == Cmd::ShiftColorsDown ? tr("Shift Colors Down")
                                                               : tr("Reverse Colors");
        Edit(name, [&] {
            ShiftLevelColors(document, shift);
            return true;
        });
        return true;
    }
    default:
        return false;
    }
}

QMenu* MapView::ContextMenuAt(QPoint point, Qt::KeyboardModifiers modifiers, QWidget* parent) {
    state_.lastClick = IntPoint{point.x(), point.y()};
    auto* menu = new QMenu(parent);
    const auto add = [&](int command, bool enabled, auto run) {
        const CommandInfo* info = FindCommand(command);
        QAction* action =
            menu->addAction(tr(info->text), this, [this, command, run] { (this->*run)(command); });
        action->setEnabled(enabled);
        action->setStatusTip(tr(info->hint));
    };
    const auto view = [this](int command) { return Execute(command); };
    if (modifiers & Qt::ControlModifier) {
        for (const int command : {Cmd::ZoomIn, Cmd::ZoomOut, Cmd::CenterHere, Cmd::FitPage}) {
            const CommandInfo* info = FindCommand(command);
            menu->addAction(tr(info->text), this, [view, command] { view(command); });
        }
        return menu;
    }
    if (!entry_.IsLoaded()) {
        delete menu;
        return nullptr;
    }
    const ChartDocument& document = entry_.Document();
    const PlotFrame& frame = document.Frame;
    const std::optional<DoublePoint> data =
        DataPointAt(document, state_.PageSystem(), state_.lastClick);
    if (data && frame.x1 <= data->x && data->x <= frame.x2 && frame.y1 <= data->y &&
        data->y <= frame.y2) {
        const CellMenuState enabled =
            CellMenuEnablers(document, CellAt(document, state_.PageSystem(), state_.lastClick));
        add(Cmd::PullUpperLine, enabled.pullUpper, &MapView::RunCellCommand);
        add(Cmd::PullLowerLine, enabled.pullLower, &MapView::RunCellCommand);
        add(Cmd::InsertContourLine, enabled.insertContour, &MapView::RunCellCommand);
        add(Cmd::DeleteRegion, enabled.deleteRegion, &MapView::RunCellCommand);
        menu->addSeparator();
        add(Cmd::CellColor, enabled.changeColor, &MapView::RunCellCommand);
        return menu;
    }
    if (document.BoundaryCount() > 0 &&
        LegendLevelAt(document, state_.PageSystem(), state_.lastClick)) {
        add(Cmd::ChangeLevel, true, &MapView::RunLegendCommand);
        add(Cmd::InsertLevel, true, &MapView::RunLegendCommand);
        add(Cmd::DeleteLevel, true, &MapView::RunLegendCommand);
        menu->addSeparator();
        add(Cmd::LegendColor, true, &MapView::RunLegendCommand);
        add(Cmd::ShiftColorsUp, true, &MapView::RunLegendCommand);
        add(Cmd::ShiftColorsDown, true, &MapView::RunLegendCommand);
        add(Cmd::ReverseColors, true, &MapView::RunLegendCommand);
        return menu;
    }
    delete menu;
    return nullptr;
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
        Execute(command);
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
        Execute(Cmd::FitPage);
        return;
    }
    if (modifiers & Qt::ControlModifier) {
        if (band_ == nullptr) {
            band_ = new QRubberBand(QRubberBand::Rectangle, this);
        }
        bandStart_ = at;
        bandCurrent_ = at;
        banding_ = true;
        band_->setGeometry(QRect(at, QSize()));
        band_->show();
        return;
    }
    // A click while a picture is being made, or on a document being read,
    // is not for anything under it.
    if (!state_.paintComplete || entry_.IsBusy() || !entry_.IsLoaded()) {
        return;
    }
    const ObjectUnderPoint hit =
        ObjectAt(entry_.Document(), state_.PageSystem(), state_.lastClick, state_.showMap);
    using Kind = ObjectUnderPoint::Kind;
    selected_.reset();
    if (hit.kind == Kind::Text || hit.kind == Kind::Line || hit.kind == Kind::Rectangle) {
        selected_ = hit;
        EditAnnotation(hit.kind, hit.index);
        return;
    }
    const auto pages = [](const std::vector<PlotFrameSheet::Page>& list) {
        return std::vector<int>(list.begin(), list.end());
    };
    if (hit.kind == Kind::XTickMargin ||
        (hit.kind == Kind::FrameText &&
         (hit.frameTextKind == BottomXTickLabels || hit.frameTextKind == TopXTickLabels))) {
        EditPlotFrame(pages(PlotFrameSheet::XTickPages()));
        return;
    }
    if (hit.kind == Kind::YTickMargin ||
        (hit.kind == Kind::FrameText &&
         (hit.frameTextKind == LeftYTickLabels || hit.frameTextKind == RightYTickLabels))) {
        EditPlotFrame(pages(PlotFrameSheet::YTickPages()));
        return;
    }
    if (hit.kind == Kind::FrameText) {
        const PlotFrameSheet::Page page = hit.frameTextKind == TitleLines ? PlotFrameSheet::Title
                                          : hit.frameTextKind == XLabelLines
                                              ? PlotFrameSheet::XLabel
                                              : PlotFrameSheet::YLabel;
        EditPlotFrame({page});
        return;
    }
    if (hit.kind == Kind::LegendLabel || hit.kind == Kind::LegendTicks) {
        EditScale();
        return;
    }
    if (hit.kind == ObjectUnderPoint::Kind::LegendLevel) {
        const std::uint32_t k = hit.index;
        Edit(tr("Change Color"), [this, k] { return EditLevelColors(this, entry_.Document(), k); });
    }
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    ActivateUnderPointer(*this);
    if (event->modifiers() & Qt::ControlModifier) {
        if (banding_ && band_ != nullptr) {
            bandCurrent_ = at;
            band_->setGeometry(QRect(bandStart_, bandCurrent_).normalized());
        }
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
    if (event->button() != Qt::LeftButton || !banding_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    banding_ = false;
    if (band_ != nullptr) {
        band_->hide();
    }
    const QPoint end = event->position().toPoint();
    // The corner under the pointer belongs to the rectangle.
    const QPoint start = bandStart_;
    if (end.x() != start.x() && end.y() != start.y()) {
        const QPoint far(end.x() + (end.x() > start.x() ? 1 : 0),
                         end.y() + (end.y() > start.y() ? 1 : 0));
        const QPoint near(start.x() + (start.x() > end.x() ? 1 : 0),
                          start.y() + (start.y() > end.y() ? 1 : 0));
        if (state_.ZoomToDeviceRect({near.x(), near.y()}, {far.x(), far.y()})) {
            AfterViewChange();
        }
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
    shell_.ClearStatusPanes();
}
