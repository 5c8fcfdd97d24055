#include "gui/MapView.h"

#include "dialogs/AnnotationSheets.h"
#include "dialogs/ColorEditors.h"
#include "dialogs/ColorSchemeDialog.h"
#include "dialogs/DerivedDataDialog.h"
#include "dialogs/MapAppearanceDialog.h"
#include "dialogs/PlotFrameSheet.h"
#include "dialogs/ScaleSheet.h"
#include "document/ChartDocument.h"
#include "gui/Commands.h"
#include "gui/MapEditCommand.h"
#include "gui/Shell.h"
#include "view/MapCommands.h"

#include <QCursor>
#include <QMenu>
#include <QMessageBox>

// The map view's commands: those of the menus and buttons, the cell and
// legend commands of its context menus, and the edits they make through the
// undo stack.

void MapView::AddViewCommands() {
    const auto idle = [this] { return !entry_.IsBusy(); };
    const auto moved = [this](auto change) {
        return [this, change] {
            change();
            ViewChanged();
        };
    };
    commands_.Add(Cmd::FitPage, moved([this] { state_.FitPage(); }), idle);
    commands_.Add(Cmd::FitPlotArea,
                  moved([this] { state_.ToggleFitPlotArea(entry_.Document().Frame); }), idle,
                  [this] { return std::optional<bool>(state_.IsFitPlotArea()); });
    const std::pair<int, MoveDirection> moves[] = {{Cmd::MoveUp, MoveDirection::Up},
                                                   {Cmd::MoveDown, MoveDirection::Down},
                                                   {Cmd::MoveLeft, MoveDirection::Left},
                                                   {Cmd::MoveRight, MoveDirection::Right}};
    for (const auto& [command, direction] : moves) {
        const MoveDirection towards = direction;
        commands_.Add(command, moved([this, towards] { state_.Move(towards); }), idle);
    }
    // From a key or the menu bar, zooming keeps the middle of the window in
    // place; the context menu zooms about its click.
    for (const int command : {Cmd::ZoomIn, Cmd::ZoomOut}) {
        commands_.Add(
            command, [this, command] { ZoomAbout(command, state_.ViewportCentre()); }, idle);
    }
    commands_.Add(
        Cmd::CenterHere, [this] { ZoomAbout(Cmd::CenterHere, state_.lastClick); }, idle);
    commands_.Add(Cmd::ShowPlot, moved([this] { state_.showMap = !state_.showMap; }), idle,
                  [this] { return std::optional<bool>(state_.showMap); });
    commands_.Add(
        Cmd::TextEditor, [this] { shell_.ShowTextEditor(entry_); }, idle);
    commands_.Add(
        Cmd::ColorValue, [this] { ShowColorValue(this); }, idle);
    commands_.Add(
        Cmd::Info, [this] { ShowInfo(); }, idle);
}

void MapView::AddEditCommands() {
    const auto loaded = [this] { return !entry_.IsBusy() && entry_.IsLoaded(); };
    const auto edit = [this](const char* name, auto change) {
        return [this, name, change] {
            Edit(tr(name), change);
            ViewChanged();
        };
    };
    commands_.Add(Cmd::ShowScale,
                  edit("Show Scale",
                       [this] {
                           MScale& legend = entry_.Document().Legend;
                           legend.SetVisible(!legend.IsVisible());
                           return true;
                       }),
                  loaded,
                  [this] { return std::optional<bool>(entry_.Document().Legend.IsVisible()); });
    commands_.Add(Cmd::SmartScale,
                  edit("Smart Scale",
                       [this] { return SmartScaleLevels(entry_.Document()) == MapEdit::Changed; }),
                  [this] {
                      const DMAT& data = entry_.Document().DataMatrix;
                      return !entry_.IsBusy() && entry_.IsLoaded() && data.GetRows() > 0 &&
                             data.GetColumns() > 0;
                  });
    commands_.Add(Cmd::MapAppearance,
                  edit("Map Appearance",
                       [this] {
                           MapAppearanceDialog dialog(entry_.Document(), this);
                           return dialog.exec() == QDialog::Accepted;
                       }),
                  loaded);
    commands_.Add(Cmd::DerivedData,
                  edit("Derived Data",
                       [this] {
                           DerivedDataDialog dialog(entry_.Document(), this);
                           return dialog.exec() == QDialog::Accepted;
                       }),
                  loaded);
    commands_.Add(Cmd::ColorSchemes,
                  edit("Color Scheme",
                       [this] {
                           ColorSchemeDialog dialog(entry_.Document(), this);
                           return dialog.exec() == QDialog::Accepted;
                       }),
                  loaded);
    commands_.Add(
        Cmd::MissingColor,
        edit("Missing Color", [this] { return EditMissingColor(this, entry_.Document()); }),
        loaded);
}

void MapView::AddSheetCommands() {
    const auto loaded = [this] { return !entry_.IsBusy() && entry_.IsLoaded(); };
    commands_.Add(
        Cmd::PlotFrame,
        [this] {
            const std::vector<PlotFrameSheet::Page> all = PlotFrameSheet::AllPages();
            EditPlotFrame(std::vector<int>(all.begin(), all.end()));
        },
        loaded);
    commands_.Add(
        Cmd::Scale, [this] { EditScale(); }, loaded);
    using Kind = ObjectUnderPoint::Kind;
    const std::pair<int, Kind> annotations[] = {{Cmd::AnnotationText, Kind::Text},
                                                {Cmd::AnnotationRectangle, Kind::Rectangle},
                                                {Cmd::AnnotationLine, Kind::Line}};
    for (const auto& [command, kind] : annotations) {
        const Kind made = kind;
        commands_.Add(
            command, [this, made] { EditAnnotation(made, std::nullopt); }, loaded);
    }
}

void MapView::ZoomAbout(int command, IntPoint at) {
    state_.lastClick = at;
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
    ViewChanged();
}

void MapView::ShowInfo() {
    QMessageBox box(QMessageBox::NoIcon, tr("Info"),
                    QString::fromStdString(MapInfoText(entry_.Document(), width(), height())),
                    QMessageBox::Ok, this);
    box.exec();
}

bool MapView::RunCellCommand(int command, IntPoint at) {
    if (entry_.IsBusy() || !entry_.IsLoaded()) {
        return false;
    }
    // The hit is taken now, on the document as it is after the menu.
    ChartDocument& document = entry_.Document();
    const std::optional<CellUnderPoint> cell = CellAt(document, state_.PageSystem(), at);
    const CellMenuState enabled = CellMenuEnablers(document, cell);
    const auto boundaryEdit = [&](bool allowed, const char* name, auto edit) {
        if (allowed) {
            Edit(tr(name), [&] { return edit(document, *cell) == MapEdit::Changed; });
        }
        return allowed;
    };
    switch (command) {
    case Cmd::PullUpperLine:
        return boundaryEdit(enabled.pullUpper, "Pull Upper Line", PullUpperLine);
    case Cmd::PullLowerLine:
        return boundaryEdit(enabled.pullLower, "Pull Lower Line", PullLowerLine);
    case Cmd::InsertContourLine:
        return boundaryEdit(enabled.insertContour, "Insert Contour Line", InsertContourLine);
    case Cmd::DeleteRegion:
        return boundaryEdit(enabled.deleteRegion, "Delete Region", DeleteRegion);
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

bool MapView::RunLegendCommand(int command, IntPoint at) {
    if (entry_.IsBusy() || !entry_.IsLoaded()) {
        return false;
    }
    ChartDocument& document = entry_.Document();
    const std::optional<std::uint32_t> level = LegendLevelAt(document, state_.PageSystem(), at);
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
    const IntPoint at{point.x(), point.y()};
    auto menu = std::make_unique<QMenu>(parent);
    // Each item acts at the point of the click that opened the menu.
    const auto add = [&](int command, bool enabled, auto run) {
        const CommandInfo* info = FindCommand(command);
        QAction* action = menu->addAction(tr(info->text), this,
                                          [this, command, at, run] { (this->*run)(command, at); });
        action->setEnabled(enabled);
        action->setStatusTip(tr(info->hint));
    };
    if (modifiers & Qt::ControlModifier) {
        for (const int command : {Cmd::ZoomIn, Cmd::ZoomOut, Cmd::CenterHere, Cmd::FitPage}) {
            menu->addAction(tr(FindCommand(command)->text), this, [this, command, at] {
                if (command != Cmd::FitPage && commands_.IsEnabled(command)) {
                    ZoomAbout(command, at);
                } else {
                    commands_.Execute(command);
                }
            });
        }
        return menu.release();
    }
    if (!entry_.IsLoaded()) {
        return nullptr;
    }
    const ChartDocument& document = entry_.Document();
    const PlotFrame& frame = document.Frame;
    const std::optional<DoublePoint> data = DataPointAt(document, state_.PageSystem(), at);
    if (data && frame.x1 <= data->x && data->x <= frame.x2 && frame.y1 <= data->y &&
        data->y <= frame.y2) {
        const CellMenuState enabled =
            CellMenuEnablers(document, CellAt(document, state_.PageSystem(), at));
        add(Cmd::PullUpperLine, enabled.pullUpper, &MapView::RunCellCommand);
        add(Cmd::PullLowerLine, enabled.pullLower, &MapView::RunCellCommand);
        add(Cmd::InsertContourLine, enabled.insertContour, &MapView::RunCellCommand);
        add(Cmd::DeleteRegion, enabled.deleteRegion, &MapView::RunCellCommand);
        menu->addSeparator();
        add(Cmd::CellColor, enabled.changeColor, &MapView::RunCellCommand);
        return menu.release();
    }
    if (document.BoundaryCount() > 0 && LegendLevelAt(document, state_.PageSystem(), at)) {
        for (const int command :
             {Cmd::ChangeLevel, Cmd::InsertLevel, Cmd::DeleteLevel, 0, Cmd::LegendColor,
              Cmd::ShiftColorsUp, Cmd::ShiftColorsDown, Cmd::ReverseColors}) {
            if (command == 0) {
                menu->addSeparator();
            } else {
                add(command, true, &MapView::RunLegendCommand);
            }
        }
        return menu.release();
    }
    return nullptr;
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
            const std::optional<CohortLineSettings> cohortsBefore = entry_.Document().CohortLines;
            PlotFrameSheet sheet(
                entry_.Document(), shown, [this] { entry_.RedrawMaps(); }, window());
            sheet.exec();
            std::string after;
            frame.WriteSetup(after);
            return after != before || entry_.Document().CohortLines != cohortsBefore;
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
