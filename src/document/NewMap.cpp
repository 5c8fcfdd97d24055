#include "document/NewMap.h"

#include "core/Prompt.h"
#include "document/ChartDocument.h"
#include "document/DerivedDefaults.h"
#include "document/DocumentWriters.h"
#include "document/SafeFile.h"
#include "document/SetupFileWrite.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// The lines before a table's rows fit in this many bytes of its start.
constexpr std::size_t kTableHeadBytes = 1 << 16;

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

} // namespace

CohortLineSettings NewCohortLines(const ChartDocument& document, double step) {
    CohortLineSettings cohorts;
    cohorts.step = step;
    const PlotFrame& frame = document.Frame;
    const double earliest = std::min(frame.x1, frame.x2) - std::max(frame.y1, frame.y2);
    cohorts.first = std::floor(earliest / cohorts.step) * cohorts.step;
    cohorts.width = kNewCohortLineWidth;
    cohorts.color = kNewCohortLineColor;
    return cohorts;
}

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
        document.CohortLines = NewCohortLines(document, *extras.cohortStep);
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

bool LooksLikeGaussFile(const std::string& path) {
    const std::string name = FileNameOf(path);
    const std::size_t dot = name.find_last_of('.');
    return dot != std::string::npos && Lower(name.substr(dot + 1)) == "fmt";
}

std::optional<LexisTableHeader> TableHeaderAt(const std::string& path, std::string& error) {
    std::ifstream input(path, std::ios::binary);
    std::string head(kTableHeadBytes, '\0');
    input.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(input.gcount()));
    return ReadLexisTableHeader(head, error);
}

DataFileGuess GuessDataFormat(const std::string& path) {
    DataFileGuess guess;
    if (LooksLikeGaussFile(path)) {
        guess.format = kGaussFormat;
        return guess;
    }
    std::string ignored;
    guess.table = TableHeaderAt(path, ignored);
    guess.format = guess.table ? kLexisTableFormat : kAsciiFormat;
    return guess;
}

DerivationFields FieldsOf(std::optional<DeriveOperation> operation) {
    DerivationFields fields;
    if (operation) {
        fields.second = NeedsSecondMatrix(*operation);
        fields.lag = *operation == DeriveOperation::Improvement;
        fields.halfWidth = *operation == DeriveOperation::Smooth;
    }
    return fields;
}

std::optional<DerivedSetup> MakeDerivation(const DerivationChoice& choice, int format,
                                           const AsciiFormat& delimiters,
                                           const std::optional<LexisTableHeader>& table,
                                           const std::string& firstColumn, std::string& error) {
    DerivedSetup setup;
    setup.operation = choice.operation;
    if (choice.operation == DeriveOperation::Improvement) {
        setup.lag = std::clamp<std::uint32_t>(choice.lag, 1, kMaxDeriveWidth);
    } else if (choice.operation == DeriveOperation::Smooth) {
        setup.halfWidth = std::min<std::uint32_t>(choice.halfWidth, kMaxDeriveWidth);
    }
    if (!NeedsSecondMatrix(choice.operation)) {
        return setup;
    }
    const std::string noun =
        choice.operation == DeriveOperation::Ratio ? "A ratio" : "A difference";
    std::optional<LexisTableHeader> secondTable = table;
    if (choice.secondPath.empty()) {
        if (format != kLexisTableFormat || !table) {
            error = noun + " needs a second data file, or a second column of the same "
                           "database table.";
            return std::nullopt;
        }
    } else {
        const std::string path = AbsolutePath(choice.secondPath);
        if (!IsReadableFile(path)) {
            error = "Cannot open data file: " + path;
            return std::nullopt;
        }
        const DataFileGuess guess = GuessDataFormat(path);
        secondTable = guess.table;
        setup.secondName = path;
        setup.secondFormat = guess.format;
        if (guess.format == kAsciiFormat && AsciiFormatValue(delimiters)) {
            setup.secondDelimiters = delimiters;
        }
    }
    if (!secondTable) {
        if (!choice.secondColumn.empty()) {
            error = "The second data file is not a mortality or fertility database table, so "
                    "it has no column " +
                    choice.secondColumn + ".";
            return std::nullopt;
        }
        return setup;
    }
    setup.secondColumn =
        choice.secondColumn.empty() ? secondTable->DefaultValueColumn() : choice.secondColumn;
    if (choice.secondPath.empty()) {
        // B is another column of A's own table: the same column would give a
        // map of ones or of zeros.
        const std::string first = firstColumn.empty() ? table->DefaultValueColumn() : firstColumn;
        if (choice.secondColumn.empty()) {
            for (const std::string& column : table->ValueColumns()) {
                if (column != first) {
                    setup.secondColumn = column;
                    break;
                }
            }
        }
        if (setup.secondColumn == first) {
            error = noun + " of " + first +
                    " to itself is the same in every cell: choose "
                    "another column of the table, or a second data "
                    "file.";
            return std::nullopt;
        }
    }
    if (std::string refusal = secondTable->CheckValueColumn(setup.secondColumn); !refusal.empty()) {
        error = std::move(refusal);
        return std::nullopt;
    }
    return setup;
}

DerivationChoice ChoiceOfDocument(const ChartDocument& document) {
    DerivationChoice choice;
    if (!document.Derived) {
        return choice;
    }
    const DerivedSetup& setup = *document.Derived;
    choice.operation = setup.operation;
    choice.lag = setup.lag;
    choice.halfWidth = setup.halfWidth;
    if (!NeedsSecondMatrix(setup.operation)) {
        return choice;
    }
    choice.secondColumn = setup.secondColumn;
    if (setup.secondName) {
        choice.secondPath = AbsolutePath(FindNamedFile(document.GetPath(), *setup.secondName));
    }
    return choice;
}

std::string DerivedSetupPath(const std::string& dataPath, DeriveOperation operation) {
    std::string path = SetupPathForDataFile(dataPath);
    const std::size_t dot = path.size() - 4;
    return path.substr(0, dot) + "-" + std::string(DeriveOperationName(operation)) + ".dml";
}

bool ApplyDerivationChoice(ChartDocument& document, const std::optional<DerivationChoice>& choice,
                           bool suitTitleAndScale) {
    std::optional<DerivedSetup> setup;
    if (choice && document.Derived && *choice == ChoiceOfDocument(document)) {
        // Kept as the setup file names it, relative names and all.
        setup = document.Derived;
    } else if (choice) {
        std::string error;
        const std::optional<LexisTableHeader> table =
            document.Table ? std::optional(document.Table->header) : std::nullopt;
        setup = MakeDerivation(*choice, document.DataFormat, document.Delimiters, table,
                               document.ValueColumn, error);
        if (!setup) {
            document.GetPrompt().Show("Error", error);
            return false;
        }
    }
    const bool same = setup.has_value() == document.Derived.has_value() &&
                      (!setup || setup->SameAs(*document.Derived));
    if (!same && !ChangeDerivation(document, setup)) {
        return false;
    }
    if (suitTitleAndScale && document.Derived) {
        ApplyDerivedDefaults(document);
        if (document.Derived->operation == DeriveOperation::Smooth) {
            ApplySmoothedDefaults(document);
        }
        // Classifies the map by the new scale and lets the legend follow.
        document.SetScale(document.ScaleValues, document.LevelColors);
    }
    return true;
}
