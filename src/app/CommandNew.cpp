#include "app/CliPrompt.h"
#include "app/CommandLine.h"
#include "document/ChartDocument.h"
#include "document/NewSetup.h"
#include "document/SafeFile.h"

#include <cctype>
#include <filesystem>
#include <iostream>

namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// A Gauss file by its extension, as File New's first filter takes it.
bool LooksLikeGauss(const std::string& path) {
    const std::string name = FileNameOf(path);
    const std::size_t dot = name.find_last_of('.');
    return dot != std::string::npos && Lower(name.substr(dot + 1)) == "fmt";
}

// The path as a file dialog would give it: absolute, so that the setup
// file names its data wherever it is written.
std::string SelectedPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

} // namespace

// demla new DATA [...]: writes the setup file that File New writes for a
// data file, exactly that text, after a backup of a setup file that was
// there; then loads it as a new generated document to report what it
// makes of the data.
int RunNew(std::span<const std::string> arguments) {
    std::string error;
    const std::optional<CommandArguments> parsed = CommandArguments::Parse(
        arguments, {"--format", "--field", "--record", "-o"}, {"--cancel"}, error);
    if (!parsed) {
        return UsageError(error);
    }
    if (parsed->Operands().size() != 1) {
        return UsageError("new takes one data file");
    }
    const std::string dataPath = SelectedPath(parsed->Operands().front());

    int format = LooksLikeGauss(dataPath) ? kGaussFormat : kAsciiFormat;
    if (const std::optional<std::string> name = parsed->Value("--format")) {
        if (*name == "gauss") {
            format = kGaussFormat;
        } else if (*name == "ascii") {
            format = kAsciiFormat;
        } else {
            return UsageError("--format is gauss or ascii");
        }
    }
    AsciiFormat delimiters;
    if (const std::optional<std::string> field = parsed->Value("--field")) {
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
    if (const std::optional<std::string> record = parsed->Value("--record")) {
        if (*record == "crlf") {
            delimiters.recordKind = AsciiFormat::Record::Crlf;
        } else if (record->size() == 1) {
            delimiters.recordKind = AsciiFormat::Record::Custom;
            delimiters.customRecord = record->front();
        } else {
            return UsageError("--record is crlf or one character");
        }
    }
    if (format == kGaussFormat && (parsed->Value("--field") || parsed->Value("--record"))) {
        return UsageError("--field and --record describe ASCII files only");
    }

    CliPrompt prompt(std::cerr, parsed->Has("--cancel"));
    if (!IsReadableFile(dataPath)) {
        prompt.Show("Error", "Cannot open data file: " + dataPath);
        return kExitFailure;
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
    std::string refusal;
    const std::optional<std::string> text =
        GeneratedSetupText(dataPath, format, delimiters, &refusal);
    if (!text) {
        prompt.Show("Error", refusal);
        return kExitFailure;
    }
    if (SameFile(setupPath, dataPath)) {
        prompt.Show("Error", "The setup file would replace its own data file: " + setupPath);
        return kExitFailure;
    }
    std::string oldBytes;
    std::string reason;
    if (ReadWholeFile(setupPath, oldBytes)) {
        const std::string backup = BackupNameAvoiding(setupPath, std::span(&dataPath, 1));
        if (WriteBackup(backup, setupPath, oldBytes, &reason) != FileWriteResult::Written) {
            prompt.Show("Error", "Cannot open backup document\r\n" + backup + ": " + reason);
            return kExitFailure;
        }
    }
    if (WriteFileAtomically(setupPath, *text, {}, &reason) != FileWriteResult::Written) {
        prompt.Show("Error", "Unable open " + setupPath + "\r\n" + reason);
        return kExitFailure;
    }

    ChartDocument document(prompt);
    document.GeneratedSetup = true;
    const bool opened = document.Open(setupPath);
    document.GeneratedSetup = false;
    if (!opened) {
        return kExitFailure;
    }
    std::cout << setupPath << '\n';
    return kExitSuccess;
}
