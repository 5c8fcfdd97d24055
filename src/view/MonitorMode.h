#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ChartDocument;

// Monitor mode: another program rewrites a map's data and signals through
// files in the current folder; the map view polls, reloads and answers by
// deleting the signal. Four views of the program can listen at a time,
// each on a place of its own.
//
// The other program keeps the lock file while it writes, then removes it
// and creates the semaphore file; it does not signal again before the
// view deleted the semaphore file.

inline constexpr int kMonitorPlaces = 4;
inline constexpr std::uint32_t kDefaultMonitorInterval = 1000;
// A shorter interval would poll the disk without rest.
inline constexpr std::uint32_t kMinimumMonitorInterval = 10;
// Longer intervals are asked about.
inline constexpr std::uint32_t kMonitorIntervalHour = 3600000;

// The process's table of places 1 to 4.
class MonitorPlaces {
public:
    static MonitorPlaces& Instance();
    // The first free place, now taken; none when all four are.
    std::optional<int> Take();
    void Free(int place);
    bool IsTaken(int place) const;

private:
    bool taken_[kMonitorPlaces] = {};
};

// "~1.TMP" for place 1 ... "~4.TMP" for place 4.
std::string SemaphoreFileName(int place);
// The semaphore's name with its first character replaced by "$".
std::string LockFileName(const std::string& semaphore);

enum class MonitorSignal {
    None,    // no semaphore file
    Writing, // the lock file is there: the data are not complete yet
    Ready,   // the semaphore file is there and the lock file is not
};
MonitorSignal CheckMonitorSignal(const std::string& semaphore, const std::string& lock);

// The interval typed in Set Monitor Delay: its leading decimal digits (0
// when there are none), saturating rather than wrapping.
std::uint64_t ParseMonitorInterval(const std::string& text);

// What a reload in monitor mode came to. It asks nobody: the other program
// may write again at any time, and a question would stop the watching until
// someone answers it.
struct MonitorReload {
    bool loaded = false;
    // When it did not load: one line naming the file and the cause.
    std::string failure;
    // What loading said although it loaded (a scale that was cut, say),
    // one line each.
    std::vector<std::string> notes;
};

// Reads the shown document's files again without a question. They load
// into a document of their own that starts with the shown one's settings,
// so that what the setup file does not say stays as it was; the shown
// document takes what was read only when it loaded, and otherwise keeps
// its data, levels and everything else. With keepEdits, the shown
// document's settings (scale, colours, legend, map appearance, plot frame,
// annotations, page orientation: everything its setup text would say) are
// put back over what the setup file says, so an edit not yet saved is not
// lost and only the data are new.
MonitorReload ReloadWithoutQuestions(ChartDocument& shown, bool keepEdits);

// The line for a reload that failed: "Cannot reload NAME: CAUSE", with the
// file's name without its folder and the cause on one line.
std::string MonitorFailureLine(const std::string& file, const std::string& cause);
