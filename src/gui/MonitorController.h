#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <string>

class CommandHandlers;
class MapView;
class QTimer;

// Monitor mode of one map view: the view reloads its document whenever
// another program signals through the semaphore file of its place. This
// keeps the place, the timer and the files; the rules of the signal live in
// view/MonitorMode.
class MonitorController : public QObject {
    Q_OBJECT
public:
    explicit MonitorController(MapView& view);
    ~MonitorController() override;

    // Entering with unsaved edits asks whether to save or discard them
    // first; false when the view stays out.
    bool Enter();
    void Leave();
    bool IsMonitoring() const { return place_ != 0; }
    int Place() const { return place_; }
    const std::string& SemaphorePath() const { return semaphore_; }
    std::uint32_t Interval() const { return interval_; }
    // Takes the text of Set Monitor Delay: false when it asked and the
    // answer kept the old interval.
    bool SetInterval(const QString& text);
    // One poll of the semaphore file (the timer calls it). It asks nothing:
    // a reload that fails keeps the last good map and says why in the
    // status bar and the caption.
    void Tick();
    // The line of the last reload that failed; empty once one loaded.
    const QString& Failure() const { return failure_; }
    // What the child window's caption adds to the document's name.
    QString TitleSuffix() const;

    // Monitor Mode and Set Monitor Delay.
    void AddCommands(CommandHandlers& commands);

signals:
    // The caption changes.
    void TitleChanged();

private:
    bool SettleUnsavedEdits();
    void AskInterval();

    MapView& view_;
    int place_ = 0;
    std::string semaphore_;
    std::uint32_t interval_ = 1000;
    QTimer* timer_ = nullptr;
    bool inTick_ = false;
    QString failure_;
};
