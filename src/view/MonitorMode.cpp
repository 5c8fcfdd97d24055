#include "view/MonitorMode.h"

#include <cctype>
#include <sys/stat.h>

MonitorPlaces& MonitorPlaces::Instance() {
    static MonitorPlaces places;
    return places;
}

std::optional<int> MonitorPlaces::Take() {
    for (int i = 0; i < kMonitorPlaces; ++i) {
        if (!taken_[i]) {
            taken_[i] = true;
            return i + 1;
        }
    }
    return std::nullopt;
}

void MonitorPlaces::Free(int place) {
    if (place >= 1 && place <= kMonitorPlaces) {
        taken_[place - 1] = false;
    }
}

bool MonitorPlaces::IsTaken(int place) const {
    return place >= 1 && place <= kMonitorPlaces && taken_[place - 1];
}

std::string SemaphoreFileName(int place) {
    return "~" + std::to_string(place) + ".TMP";
}

std::string LockFileName(const std::string& semaphore) {
    if (semaphore.empty()) {
        return semaphore;
    }
    return "$" + semaphore.substr(1);
}

namespace {

// Only existence counts: a file (not a folder) of that name.
bool FileIsThere(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

} // namespace

MonitorSignal CheckMonitorSignal(const std::string& semaphore, const std::string& lock) {
    if (FileIsThere(lock)) {
        return MonitorSignal::Writing;
    }
    return FileIsThere(semaphore) ? MonitorSignal::Ready : MonitorSignal::None;
}

std::uint64_t ParseMonitorInterval(const std::string& text) {
    std::uint64_t value = 0;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i) {
        if (value > UINT64_MAX / 10 - 10) {
            return UINT64_MAX;
        }
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    return value;
}
