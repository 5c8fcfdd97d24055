#include "cli/CliPrompt.h"
#include "cli/CommandLine.h"
#include "datafiles/LexisTable.h"
#include "document/ChartDocument.h"
#include "document/DerivedSetup.h"
#include "document/NewMap.h"
#include "document/NewSetup.h"
#include "document/SafeFile.h"

#include <filesystem>
#include <iostream>

namespace {

// The path as a file dialog would give it: absolute, so that the setup
// file names its data wherever it is written.
std::string SelectedPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// A whole number from low to high; none for anything else.
std::optional<std::uint32_t> WholeNumberOption(const std::string& text, std::uint32_t low,
                                               std::uint32_t high) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const std::uint32_t value = static_cast<std::uint32_t>(std::stoul(text));
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// The derivation that --derive and its options ask for, checked as far as
// the command line can; derived stays empty without --derive. The status
// to end with, or kExitSuccess.
int DerivationOf(const CommandArguments& parsed, int format, const AsciiFormat& delimiters,
                 const std::optional<LexisTableHeader>& table, const std::string& column,
                 std::optional<DerivedSetup>& derived, CliPrompt& prompt) {
    const std::optional<std::string> name = parsed.Value("--derive");
    const std::optional<std::string> second = parsed.Value("--second");
    const std::optional<std::string> secondColumn = parsed.Value("--second-column");
    const std::optional<std::string> lag = parsed.Value("--lag");
    const std::optional<std::string> halfWidth = parsed.Value("--half-width");
    if (!name) {
        if (second || secondColumn || lag || halfWidth) {
            return UsageError("--second, --second-column, --lag and --half-width go with --derive");
        }
        return kExitSuccess;
    }
    const std::optional<DeriveOperation> operation = FindDeriveOperation(*name);
    if (!operation) {
        return UsageError("--derive is ratio, difference, improvement or smooth");
    }
    DerivedSetup setup;
    setup.operation = *operation;
    if (!NeedsSecondMatrix(*operation) && (second || secondColumn)) {
        return UsageError("--second and --second-column go with --derive ratio or difference");
    }
    if (lag && *operation != DeriveOperation::Improvement) {
        return UsageError("--lag goes with --derive improvement");
    }
    if (halfWidth && *operation != DeriveOperation::Smooth) {
        return UsageError("--half-width goes with --derive smooth");
    }
    if (lag) {
        const std::optional<std::uint32_t> k = WholeNumberOption(*lag, 1, kMaxDeriveWidth);
        if (!k) {
            return UsageError("--lag is a whole number of columns from 1 to " +
                              std::to_string(kMaxDeriveWidth));
        }
        setup.lag = *k;
    }
    if (halfWidth) {
        const std::optional<std::uint32_t> h = WholeNumberOption(*halfWidth, 0, kMaxDeriveWidth);
        if (!h) {
            return UsageError("--half-width is a whole number of cells from 0 to " +
                              std::to_string(kMaxDeriveWidth));
        }
        setup.halfWidth = *h;
    }
    if (NeedsSecondMatrix(*operation)) {
        if (!second && !(secondColumn && format == kLexisTableFormat)) {
            return UsageError("--derive " + *name +
                              " needs --second DATA, or --second-column NAME for another "
                              "column of the same database table");
        }
        if (second) {
            const std::string path = SelectedPath(*second);
            if (!IsReadableFile(path)) {
                prompt.Show("Error", "Cannot open data file: " + path);
                return kExitFailure;
            }
            if (secondColumn && !GuessDataFormat(path).table) {
                return UsageError(
                    "--second-column names a column of a mortality or fertility database table");
            }
        }
    }
    const DerivationChoice choice{*operation, second.value_or(""), secondColumn.value_or(""),
                                  setup.lag, setup.halfWidth};
    std::string error;
    const std::optional<DerivedSetup> made =
        MakeDerivation(choice, format, delimiters, table, column, error);
    if (!made) {
        prompt.Show("Error", error);
        return kExitFailure;
    }
    setup = *made;
    derived = setup;
    return kExitSuccess;
}

// The format of the data file that --format, --field and --record give,
// or that its name suggests. The status to end with, or kExitSuccess.
int DataFormatOf(const CommandArguments& parsed, const std::string& dataPath, int& format,
                 AsciiFormat& delimiters) {
    format = LooksLikeGaussFile(dataPath) ? kGaussFormat : kAsciiFormat;
    const std::optional<std::string> formatName = parsed.Value("--format");
    if (formatName) {
        if (*formatName == "gauss") {
            format = kGaussFormat;
        } else if (*formatName == "ascii") {
            format = kAsciiFormat;
        } else if (*formatName == "hmd") {
            format = kLexisTableFormat;
        } else {
            return UsageError("--format is gauss, ascii or hmd");
        }
    }
    if (const std::optional<std::string> field = parsed.Value("--field")) {
        if (*field == "comma") {
            delimiters.fieldKind = AsciiFormat::Field::Comma;
        } else if (*field == "spaces") {
            delimiters.fieldKind = AsciiFormat::Field::Spaces;
        } else if (field->size() == 1) {
            delimiters.fieldKind = AsciiFormat::Field::Custom;
            delimiters.customField = field->front();
        } else {
            return UsageError("--field is comma, spaces or one character");
        }
    }
    if (const std::optional<std::string> record = parsed.Value("--record")) {
        if (*record == "crlf") {
            delimiters.recordKind = AsciiFormat::Record::Crlf;
        } else if (record->size() == 1) {
            delimiters.recordKind = AsciiFormat::Record::Custom;
            delimiters.customRecord = record->front();
        } else {
            return UsageError("--record is crlf or one character");
        }
    }
    if (format != kAsciiFormat && (parsed.Value("--field") || parsed.Value("--record"))) {
        return UsageError("--field and --record describe ASCII files only");
    }
    return kExitSuccess;
}

// A text file whose third line names a table's columns is a table, unless
// the command line says how to read it; its value column is --column or
// the table's own. The status to end with, or kExitSuccess.
int TableColumnOf(const CommandArguments& parsed, const std::string& dataPath, int& format,
                  std::optional<LexisTableHeader>& table, std::string& column, CliPrompt& prompt) {
    std::string tableError;
    if (format == kLexisTableFormat || (!parsed.Value("--format") && format == kAsciiFormat &&
                                        !parsed.Value("--field") && !parsed.Value("--record"))) {
        table = TableHeaderAt(dataPath, tableError);
        if (table) {
            format = kLexisTableFormat;
        }
    }
    if (parsed.Value("--column") && format != kLexisTableFormat) {
        return UsageError("--column names a column of a mortality or fertility database table");
    }
    if (format == kLexisTableFormat) {
        if (!table) {
            prompt.Show("Error", "Cannot read the table " + dataPath + "\r\n" + tableError);
            return kExitFailure;
        }
        column = parsed.Value("--column").value_or(table->DefaultValueColumn());
        if (const std::string refusal = table->CheckValueColumn(column); !refusal.empty()) {
            prompt.Show("Error", refusal);
            return kExitFailure;
        }
    }
    return kExitSuccess;
}

} // namespace

// demla new DATA [...]: makes the map of a data file as File New does and
// writes its whole setup file (with --minimal only the lines that name the
// data), after a backup of a setup file that was there. Nothing is written
// unless the data load.
int RunNew(std::span<const std::string> arguments) {
    std::string error;
    const std::optional<CommandArguments> parsed = CommandArguments::Parse(
        arguments,
        {"--format", "--field", "--record", "--column", "-o", "--derive", "--second",
         "--second-column", "--lag", "--half-width", "--cohort-lines"},
        {"--cancel", "--minimal"}, error);
    if (!parsed) {
        return UsageError(error);
    }
    if (parsed->Operands().size() != 1) {
        return UsageError("new takes one data file");
    }
    const std::string dataPath = SelectedPath(parsed->Operands().front());

    int format = kAsciiFormat;
    AsciiFormat delimiters;
    if (const int status = DataFormatOf(*parsed, dataPath, format, delimiters);
        status != kExitSuccess) {
        return status;
    }

    CliPrompt prompt(std::cerr, parsed->Has("--cancel"));
    // Only a regular file: a pipe or a device might never end.
    if (!IsReadableFile(dataPath)) {
        prompt.Show("Error", "Cannot open data file: " + dataPath);
        return kExitFailure;
    }
    std::optional<LexisTableHeader> table;
    std::string column;
    if (const int status = TableColumnOf(*parsed, dataPath, format, table, column, prompt);
        status != kExitSuccess) {
        return status;
    }
    std::optional<DerivedSetup> derived;
    if (const int status =
            DerivationOf(*parsed, format, delimiters, table, column, derived, prompt);
        status != kExitSuccess) {
        return status;
    }
    std::optional<double> cohortStep;
    if (const std::optional<std::string> step = parsed->Value("--cohort-lines")) {
        const std::optional<std::uint32_t> years = WholeNumberOption(*step, 1, 1000);
        if (!years) {
            return UsageError("--cohort-lines is a number of years from 1 to 1000");
        }
        cohortStep = *years;
    }
    const std::optional<std::string> output = parsed->Value("-o");
    const std::string setupPath = output ? *output : SetupPathForDataFile(dataPath);
    // File New lets the user confirm or change the name of a setup file
    // that is already there; here the name is confirmed or the command ends.
    if (!output && FileExists(setupPath) &&
        !prompt.Confirm("Open Data File",
                        "The setup file already exists:\r\n" + setupPath + "\r\nReplace it?",
                        PromptButtons::YesNo, PromptIcon::Question)) {
        return kExitFailure;
    }
    ChartDocument document(prompt);
    const NewMapRequest request{dataPath, format,    delimiters,
                                column,   setupPath, parsed->Has("--minimal")};
    const NewMapExtras extras{derived, cohortStep};
    const std::size_t asked = prompt.Messages().size();
    switch (CreateNewMap(document, request, extras)) {
    case NewMapResult::Written:
        break;
    case NewMapResult::OpenedWithErrors:
        prompt.Show("Error",
                    "The data file did not load, so the setup file is not written: " + setupPath);
        return kExitFailure;
    case NewMapResult::Failed:
        return kExitFailure;
    }
    std::cout << setupPath << '\n';
    // Data that loaded only after a question or a warning may not be what
    // the user meant.
    return prompt.Messages().size() > asked ? kExitOpenedWithErrors : kExitSuccess;
}
