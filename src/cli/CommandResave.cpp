#include "cli/CliPrompt.h"
#include "cli/CommandLine.h"
#include "document/ChartDocument.h"
#include "document/SafeFile.h"

#include <iostream>

// demla resave FILE.dml [-o NEW.dml] [--force]: loads the file and saves it
// through the document's own saving, under a new name with -o, as Save As
// does. A file that loaded only up to an error would be saved as the part
// that was read: that takes --force.
int RunResave(std::span<const std::string> arguments) {
    std::string error;
    const std::optional<CommandArguments> parsed =
        CommandArguments::Parse(arguments, {"-o"}, {"--cancel", "--force"}, error);
    if (!parsed) {
        return UsageError(error);
    }
    if (parsed->Operands().size() != 1) {
        return UsageError("resave takes one setup file");
    }
    CliPrompt prompt(std::cerr, parsed->Has("--cancel"));
    ChartDocument document(prompt);
    if (!document.Open(parsed->Operands().front())) {
        return kExitFailure;
    }
    const int loaded = LoadStatus(document, prompt);
    if (document.OpenedWithErrors() && !parsed->Has("--force")) {
        prompt.Show("Error", "The map was opened with errors and is not saved: saving would "
                             "replace the file with what could be read. Use --force to save "
                             "it anyway.");
        return kExitFailure;
    }
    // Saving a copy elsewhere leaves the file alone; over itself it takes
    // --force.
    const std::optional<std::string> output = parsed->Value("-o");
    if (document.GetSources().notSetupFile && !parsed->Has("--force") &&
        (!output || SameFile(*output, document.GetPath()))) {
        prompt.Show("Error", "The file is not a setup file and is not saved: saving would "
                             "replace it with a setup file. Use --force to save it anyway.");
        return kExitFailure;
    }
    if (output) {
        document.SetPath(*output);
    }
    return document.Save() ? loaded : kExitFailure;
}
