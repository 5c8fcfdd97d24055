#include "view/MonitorMode.h"

#include "core/CollectingPrompt.h"
#include "document/ChartDocument.h"
#include "document/DerivedSetup.h"
#include "document/SafeFile.h"
#include "setup/DemlaSetupException.h"
#include "view/MapCommands.h"

#include <cctype>
#include <memory>
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

namespace {

// The text of a box on one line: its lines joined, without the question
// that asked whether to go on (nobody was there to answer it).
std::string OneLine(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    const auto flush = [&] {
        const std::size_t first = line.find_first_not_of(" \t");
        const std::size_t last = line.find_last_not_of(" \t");
        if (first != std::string::npos) {
            lines.push_back(line.substr(first, last - first + 1));
        }
        line.clear();
    };
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            flush();
        } else {
            line += c;
        }
    }
    flush();
    if (lines.size() > 1 && lines.back().back() == '?') {
        lines.pop_back();
    }
    std::string joined;
    for (const std::string& part : lines) {
        if (!joined.empty()) {
            joined += joined.back() == '.' || joined.back() == ':' ? " " : ". ";
        }
        joined += part;
    }
    return joined;
}

// The file a failed load stopped at. The reader's own errors are errors of
// the setup file; otherwise the last file loading began to read, when its
// reading failed (a data matrix left empty, a Gauss file of an annotation),
// or the data file that could not be found.
std::string FailedFile(const ChartDocument& failed,
                       const std::vector<CollectingPrompt::Message>& messages) {
    const std::string& setup = failed.GetPath();
    if (!messages.empty() && messages.front().caption == kSetupExceptionCaption) {
        return setup;
    }
    const ChartDocument::Sources& sources = failed.GetSources();
    if (sources.readFiles.size() > 1) {
        return sources.readFiles.back();
    }
    if (sources.readFiles.size() == 1) {
        return failed.DataMatrix.IsEmpty() ? sources.readFiles.front() : setup;
    }
    if (sources.dataName && !sources.dataName->empty()) {
        return *sources.dataName;
    }
    return setup;
}

// A derivation kept over a reload derives from the matrices the files hold
// now: the second matrix the reload read when the derivation is the file's
// own, else one read anew. False, after a message, when it cannot be read.
bool DeriveFromFiles(ChartDocument& loaded, const std::optional<DerivedSetup>& fileDerivation,
                     const std::shared_ptr<const DMAT>& fileSecond) {
    const bool same = loaded.Derived.has_value() == fileDerivation.has_value() &&
                      (!fileDerivation || loaded.Derived->SameAs(*fileDerivation));
    if (same) {
        loaded.SecondMatrix = fileSecond;
        RecomputeDerived(loaded);
        loaded.SetScale(loaded.ScaleValues, loaded.LevelColors);
        return true;
    }
    loaded.SecondMatrix.reset();
    return ChangeDerivation(loaded, loaded.Derived);
}

} // namespace

std::string MonitorFailureLine(const std::string& file, const std::string& cause) {
    const std::string name = FileNameOf(file);
    return "Cannot reload " + (name.empty() ? file : name) + ": " +
           (cause.empty() ? std::string("it could not be read") : cause);
}

MonitorReload ReloadWithoutQuestions(ChartDocument& shown, bool keepEdits) {
    CollectingPrompt quiet;
    ChartDocument loaded(quiet);
    loaded.RestorePaths(shown.GetPath(), shown.GetPreviousPath());
    const MapEditState settings = CaptureEditState(shown);
    RestoreEditState(loaded, settings);
    loaded.PageOrientation = shown.PageOrientation;
    loaded.DataFormat = shown.DataFormat;
    loaded.Delimiters = shown.Delimiters;
    loaded.ValueColumn = shown.ValueColumn;

    MonitorReload result;
    // A load error that a person could have accepted counts as a failure:
    // nobody chose to show half a document.
    if (!loaded.Open() || loaded.OpenedWithErrors()) {
        const std::vector<CollectingPrompt::Message>& messages = quiet.Messages();
        result.failure =
            MonitorFailureLine(FailedFile(loaded, messages),
                               messages.empty() ? std::string() : OneLine(messages.front().text));
        return result;
    }
    if (keepEdits) {
        const std::optional<DerivedSetup> fileDerivation = loaded.Derived;
        const std::shared_ptr<const DMAT> fileSecond = loaded.SecondMatrix;
        RestoreEditState(loaded, settings);
        loaded.PageOrientation = shown.PageOrientation;
        if (!DeriveFromFiles(loaded, fileDerivation, fileSecond)) {
            const std::vector<CollectingPrompt::Message>& messages = quiet.Messages();
            result.failure = MonitorFailureLine(
                loaded.GetPath(), messages.empty() ? std::string() : OneLine(messages.back().text));
            return result;
        }
    }
    for (const CollectingPrompt::Message& message : quiet.Messages()) {
        result.notes.push_back(FileNameOf(loaded.GetPath()) + ": " + OneLine(message.text));
    }
    shown.TakeLoaded(std::move(loaded));
    result.loaded = true;
    return result;
}
