#pragma once

#include <cstdint>
#include <optional>
#include <string>

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
