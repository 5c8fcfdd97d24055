#include "gui/MonitorController.h"

#include "gui/CommandRouter.h"
#include "gui/MapView.h"
#include "gui/Shell.h"
#include "platform/QtText.h"
#include "view/MonitorMode.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>

MonitorController::MonitorController(MapView& view) : QObject(&view), view_(view) {}

MonitorController::~MonitorController() {
    Leave();
}

bool MonitorController::SettleUnsavedEdits() {
    DocumentEntry& entry = view_.Entry();
    // The first signal reads the files again: edits not saved would be
    // read over by what the files hold, so the user says what becomes of
    // them before.
    if (!entry.MapsDirty()) {
        return true;
    }
    const PromptAnswer answer = entry.Prompt().AskWithDefault(
        kApplicationName,
        "The map has changes that are not saved. Monitor mode reads the map again from its "
        "files. Save the changes first?",
        PromptButtons::YesNoCancel, PromptIcon::Warning, PromptAnswer::Cancel);
    if (answer == PromptAnswer::Cancel) {
        return false;
    }
    if (answer == PromptAnswer::Yes) {
        return entry.Save(&view_);
    }
    return entry.Revert();
}

bool MonitorController::Enter() {
    if (IsMonitoring()) {
        return true;
    }
    if (!SettleUnsavedEdits()) {
        return false;
    }
    DocumentEntry& entry = view_.Entry();
    const std::optional<int> place = MonitorPlaces::Instance().Take();
    if (!place) {
        entry.Prompt().Show(kApplicationName,
                            "Cannot enter monitor mode\r\nNumber of monitor places exceeded");
        return false;
    }
    place_ = *place;
    semaphore_ = SemaphoreFileName(*place);
    entry.Prompt().Show("Warning",
                        "Entering monitor mode\r\nMonitor semaphore file: " + semaphore_);
    emit TitleChanged();
    // Signals left from an earlier run are not for this one.
    std::remove(semaphore_.c_str());
    std::remove(LockFileName(semaphore_).c_str());
    if (timer_ == nullptr) {
        timer_ = new QTimer(this);
        connect(timer_, &QTimer::timeout, this, &MonitorController::Tick);
    }
    timer_->start(static_cast<int>(interval_));
    view_.Host().CommandsChanged();
    return true;
}

void MonitorController::Leave() {
    if (!IsMonitoring()) {
        return;
    }
    MonitorPlaces::Instance().Free(place_);
    place_ = 0;
    semaphore_.clear();
    failure_.clear();
    if (timer_ != nullptr) {
        timer_->stop();
    }
    emit TitleChanged();
}

QString MonitorController::TitleSuffix() const {
    if (!IsMonitoring()) {
        return QString();
    }
    QString suffix = QStringLiteral(" Semaphore ") + QString::fromStdString(semaphore_);
    if (!failure_.isEmpty()) {
        suffix += QStringLiteral(" – ") + failure_;
    }
    return suffix;
}

bool MonitorController::SetInterval(const QString& text) {
    const std::uint64_t value = ParseMonitorInterval(text.toStdString());
    if (value > kMonitorIntervalHour &&
        !view_.Entry().Prompt().Confirm("Warning", "Are you sure to set it more than one hour?",
                                        PromptButtons::OkCancel, PromptIcon::Warning)) {
        return false;
    }
    // The timer takes an int; a shorter interval would poll without rest.
    interval_ = static_cast<std::uint32_t>(
        std::clamp<std::uint64_t>(value, kMinimumMonitorInterval, INT32_MAX));
    if (IsMonitoring() && timer_ != nullptr) {
        timer_->start(static_cast<int>(interval_));
    }
    return true;
}

void MonitorController::Tick() {
    DocumentEntry& entry = view_.Entry();
    // A tick while a reload or a save is under way waits for the next one:
    // the signal stays until the reload it asked for is done. So does a
    // tick while a dialog is open, which may be editing this document.
    if (!IsMonitoring() || inTick_ || entry.IsBusy() ||
        QApplication::activeModalWidget() != nullptr) {
        return;
    }
    if (CheckMonitorSignal(semaphore_, LockFileName(semaphore_)) != MonitorSignal::Ready) {
        return;
    }
    inTick_ = true;
    const MonitorReload result = entry.ReloadForMonitor();
    inTick_ = false;
    Shell& shell = view_.Host();
    const QString failure = TextFromBytes(result.failure);
    if (failure != failure_) {
        const bool recovered = failure.isEmpty();
        failure_ = failure;
        emit TitleChanged();
        if (recovered) {
            shell.ShowStatusMessage(QString());
        }
    }
    if (!result.loaded) {
        shell.ShowStatusMessage(failure);
    } else if (!result.notes.empty()) {
        shell.ShowStatusMessage(TextFromBytes(result.notes.front()));
    }
    view_.repaint();
    if (!IsMonitoring()) {
        return;
    }
    if (std::remove(semaphore_.c_str()) != 0) {
        entry.Prompt().Show(kApplicationName,
                            "Unable delete semaphore file\r\nMonitor mode aborted");
        Leave();
        shell.CommandsChanged();
    }
}

void MonitorController::AskInterval() {
    QInputDialog dialog(&view_);
    dialog.setWindowTitle(tr("Time"));
    dialog.setLabelText(tr("Select monitor interval updating in ms"));
    dialog.setTextValue(QString::number(interval_));
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        edit->setMaxLength(31);
    }
    if (dialog.exec() == QDialog::Accepted) {
        SetInterval(dialog.textValue());
    }
}

void MonitorController::AddCommands(CommandHandlers& commands) {
    const auto idle = [this] { return !view_.Entry().IsBusy(); };
    commands.Add(
        Cmd::MonitorMode,
        [this] {
            if (IsMonitoring()) {
                Leave();
            } else {
                Enter();
            }
            view_.ViewChanged();
        },
        idle, [this] { return std::optional<bool>(IsMonitoring()); });
    commands.Add(
        Cmd::MonitorDelay, [this] { AskInterval(); }, idle);
}
