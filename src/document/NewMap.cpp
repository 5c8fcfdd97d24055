#include "document/NewMap.h"

#include "core/Prompt.h"
#include "document/ChartDocument.h"
#include "document/DocumentWriters.h"
#include "document/SafeFile.h"
#include "document/SetupFileWrite.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace {

// Cohort lines of a new map: thin and dark grey, seen over any colour
// without hiding the cells.
constexpr double kNewCohortLineWidth = 2.0;
constexpr LRGBColor kNewCohortLineColor = 0x404040;

// The generated lines in a file of their own in the temporary folder, for
// the document to load before anything of the user's is touched; removed
// with this object.
class PrivateSetupCopy {
public:
    explicit PrivateSetupCopy(std::string_view text) {
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
        std::string pattern =
            (error ? std::filesystem::path("/tmp") : folder) / "demla-new-XXXXXX.dml";
        const int descriptor = ::mkstemps(pattern.data(), 4);
        if (descriptor < 0) {
            return;
        }
        path_ = pattern;
        std::size_t written = 0;
        while (written < text.size()) {
            const ssize_t n = ::write(descriptor, text.data() + written, text.size() - written);
            if (n <= 0) {
                break;
            }
            written += static_cast<std::size_t>(n);
        }
        if (::close(descriptor) != 0 || written != text.size()) {
            ::unlink(path_.c_str());
            path_.clear();
        }
    }
    ~PrivateSetupCopy() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    PrivateSetupCopy(const PrivateSetupCopy&) = delete;
    PrivateSetupCopy& operator=(const PrivateSetupCopy&) = delete;

    // Empty when the copy could not be made.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

} // namespace

NewMapResult CreateNewMap(ChartDocument& document, const NewMapRequest& request,
                          const NewMapExtras& extras) {
    Prompt& prompt = document.GetPrompt();
    // The setup file names its data wherever it is loaded from.
    const std::string dataPath = AbsolutePath(request.dataPath);
    if (!IsReadableFile(dataPath)) {
        prompt.Show("Error", "Cannot open data file: " + dataPath);
        return NewMapResult::Failed;
    }
    if (SameFile(request.setupPath, dataPath)) {
        prompt.Show("Error",
                    "The setup file would replace its own data file: " + request.setupPath);
        return NewMapResult::Failed;
    }
    std::string reason;
    const std::optional<std::string> target = ResolveLinks(request.setupPath, &reason);
    if (!target || !MayWrite(*target, {}, &reason)) {
        ReportCannotOpenSetup(prompt, request.setupPath, reason);
        return NewMapResult::Failed;
    }
    std::optional<std::string> generated = GeneratedSetupText(
        dataPath, request.format, request.delimiters, &reason, request.valueColumn);
    if (!generated) {
        prompt.Show("Error", reason);
        return NewMapResult::Failed;
    }
    if (extras.derived) {
        // The generated lines end in line feeds; the section's own line
        // ends are kept, which the reader takes as well.
        *generated += "\n" + DerivedSectionText(*extras.derived,
                                                [](const std::string& name) { return name; });
    }

    const PrivateSetupCopy copy(*generated);
    if (copy.Path().empty()) {
        prompt.Show("Error", "Cannot make a temporary copy of the new setup file.");
        return NewMapResult::Failed;
    }
    document.GeneratedSetup = true;
    const bool opened = document.Open(copy.Path());
    document.GeneratedSetup = false;
    if (!opened) {
        return NewMapResult::Failed;
    }
    if (extras.cohortStep && *extras.cohortStep > 0) {
        // Lines at multiples of the step, from the first one at or before
        // the earliest cohort of the plot.
        CohortLineSettings cohorts;
        cohorts.step = *extras.cohortStep;
        const PlotFrame& frame = document.Frame;
        const double earliest = std::min(frame.x1, frame.x2) - std::max(frame.y1, frame.y2);
        cohorts.first = std::floor(earliest / cohorts.step) * cohorts.step;
        cohorts.width = kNewCohortLineWidth;
        cohorts.color = kNewCohortLineColor;
        document.CohortLines = cohorts;
    }
    std::optional<std::string> text = generated;
    if (!request.minimal) {
        // What saving the new map writes; the names in it are absolute, so
        // it reads the same from the setup file's own folder.
        text = SetupTextForSave(document, &reason);
    }
    document.RestorePaths(request.setupPath, request.setupPath);
    if (!text) {
        prompt.Show("Error", reason);
        return NewMapResult::Failed;
    }
    if (document.OpenedWithErrors()) {
        return NewMapResult::OpenedWithErrors;
    }
    const std::vector<std::string> avoid{dataPath};
    if (!WriteSetupFileWithBackup({request.setupPath, *target, avoid, false}, *text, prompt)) {
        return NewMapResult::Failed;
    }
    return NewMapResult::Written;
}
