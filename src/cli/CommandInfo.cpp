#include "cli/CliPrompt.h"
#include "cli/CommandLine.h"
#include "cli/DocumentJson.h"
#include "document/ChartDocument.h"

#include <iostream>

// demla info FILE.dml [--json]: loads the file as the program would and
// prints what it made of it. Writes no file.
int RunInfo(std::span<const std::string> arguments) {
    std::string error;
    const std::optional<CommandArguments> parsed =
        CommandArguments::Parse(arguments, {}, {"--json", "--cancel"}, error);
    if (!parsed) {
        return UsageError(error);
    }
    if (parsed->Operands().size() != 1) {
        return UsageError("info takes one setup file");
    }
    const std::string& path = parsed->Operands().front();
    CliPrompt prompt(std::cerr, parsed->Has("--cancel"));
    ChartDocument document(prompt);
    const bool opened = document.Open(path);
    if (parsed->Has("--json")) {
        std::cout << DocumentJson(path, opened, document, prompt);
    } else {
        std::cout << DocumentSummary(path, opened, document);
    }
    std::cout.flush();
    return opened ? LoadStatus(document, prompt) : kExitFailure;
}
