#include "cli/CliPrompt.h"
#include "cli/CommandLine.h"
#include "cli/RenderBatch.h"
#include "core/ExceptionReports.h"
#include "core/LException.h"
#include "document/ChartDocument.h"
#include "document/SafeFile.h"
#include "map/MapPage.h"
#include "platform/HeadlessGui.h"
#include "platform/RenderToFile.h"
#include "view/DocumentPage.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 720;
// Larger pictures are refused: their pixels alone would not fit in memory.
constexpr int kMaxSide = 20000;
constexpr int kMaxJobs = 256;

// "WxH" with both sides from 1 to kMaxSide.
std::optional<std::pair<int, int>> ParseSize(const std::string& text) {
    int width = 0;
    int height = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &end) != 2 || width < 1 ||
        height < 1 || width > kMaxSide || height > kMaxSide) {
        return std::nullopt;
    }
    return std::make_pair(width, height);
}

std::optional<int> ParseJobs(const std::string& text) {
    int jobs = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%d%c", &jobs, &end) != 1 || jobs < 1 || jobs > kMaxJobs) {
        return std::nullopt;
    }
    return jobs;
}

} // namespace

RenderOutcome DrawMap(const RenderRequest& request, const MapOutput& output) {
    std::ostringstream messages;
    CliPrompt prompt(messages, request.cancel);
    ChartDocument document(prompt);
    const auto outcome = [&](int status) { return RenderOutcome{status, messages.str()}; };
    if (!document.Open(request.setupPath)) {
        return outcome(kExitFailure);
    }
    const int loaded = LoadStatus(document, prompt);
    // The picture never takes the place of a file the map is made from,
    // whatever name or link leads to it.
    std::vector<std::string> ownFiles = document.GetSources().readFiles;
    ownFiles.push_back(document.GetPath());
    for (const std::string& file : ownFiles) {
        if (SameFile(request.outputPath, file)) {
            prompt.Show("Error",
                        "The picture would replace a file of the map: " + request.outputPath,
                        PromptIcon::Exclamation);
            return outcome(kExitFailure);
        }
    }

    MapPageOptions options;
    options.page = DefaultPageOf(document);
    options.pageOutline = false;
    const MapPageContent content = PageContentOf(document);
    const int width = request.width;
    const int height = request.height;
    ExportResult result;
    try {
        result = output(document, [&](Surface& surface) {
            PageCoordinateSystem view(0, options.page.width, 0, options.page.height, 0, width,
                                      height, 0);
            FitPage(view, options.page);
            PaintMapPage(surface, view, content, options);
        });
    } catch (const LException& e) {
        // A half-drawn map is not a picture of it: nothing is written.
        prompt.Show(kApplicationName, PaintExceptionText(e), PromptIcon::Exclamation);
        return outcome(kExitFailure);
    }
    if (!result) {
        prompt.Show("Error", result.message, PromptIcon::Exclamation);
        return outcome(kExitFailure);
    }
    return outcome(loaded);
}

RenderOutcome RenderMap(const RenderRequest& request) {
    return DrawMap(
        request, [&request](const ChartDocument&, const std::function<void(Surface&)>& draw) {
            return ExportPicture(request.outputPath, request.width, request.height, draw);
        });
}

// demla render FILE.dml -o OUT [--size WxH]: draws what a map view of that
// client size shows after Fit Page, without the page outline, as an export
// does, into a .png, .bmp, .svg, .pdf or .emf file. With several setup
// files, or --out-dir, every map is drawn into that folder in one process.
int RunRender(std::span<const std::string> arguments) {
    std::string error;
    const std::optional<CommandArguments> parsed = CommandArguments::Parse(
        arguments, {"-o", "--size", "--out-dir", "--format", "--jobs"}, {"--cancel"}, error);
    if (!parsed) {
        return UsageError(error);
    }
    const std::vector<std::string>& setups = parsed->Operands();
    if (setups.empty()) {
        return UsageError("render takes a setup file");
    }
    std::pair<int, int> size{kDefaultWidth, kDefaultHeight};
    if (const std::optional<std::string> text = parsed->Value("--size")) {
        const std::optional<std::pair<int, int>> given = ParseSize(*text);
        if (!given) {
            return UsageError("--size takes WxH, each side from 1 to " + std::to_string(kMaxSide));
        }
        size = *given;
    }
    const std::optional<std::string> output = parsed->Value("-o");
    const std::optional<std::string> folder = parsed->Value("--out-dir");
    const bool cancel = parsed->Has("--cancel");

    if (!folder && output && setups.size() > 1) {
        if (!IsPdfName(*output)) {
            return UsageError("several setup files are drawn into one PDF file (-o ATLAS.pdf) "
                              "or into a folder (--out-dir DIR)");
        }
        if (parsed->Value("--format") || parsed->Value("--jobs")) {
            return UsageError("--format and --jobs go with --out-dir");
        }
        EnsureHeadlessGui();
        return RunRenderAtlas({setups, {}, "pdf", size.first, size.second, 1, cancel}, *output,
                              std::cerr);
    }
    if (!folder) {
        if (setups.size() != 1) {
            return UsageError("render draws several setup files into a folder: --out-dir DIR");
        }
        if (!output) {
            return UsageError("render needs -o OUT");
        }
        if (parsed->Value("--format") || parsed->Value("--jobs")) {
            return UsageError("--format and --jobs go with --out-dir");
        }
        EnsureHeadlessGui();
        const RenderOutcome outcome =
            RenderMap({setups.front(), *output, size.first, size.second, cancel});
        std::cerr << outcome.messages;
        return outcome.status;
    }
    if (output) {
        return UsageError("render takes -o OUT or --out-dir DIR, not both");
    }
    RenderBatch batch;
    batch.folder = *folder;
    batch.setupPaths = setups;
    batch.width = size.first;
    batch.height = size.second;
    batch.cancel = cancel;
    if (const std::optional<std::string> format = parsed->Value("--format")) {
        if (!IsBatchFormat(*format)) {
            return UsageError("--format is png, bmp, svg, pdf or emf");
        }
        batch.format = *format;
    }
    if (const std::optional<std::string> jobs = parsed->Value("--jobs")) {
        const std::optional<int> count = ParseJobs(*jobs);
        if (!count) {
            return UsageError("--jobs takes a number from 1 to " + std::to_string(kMaxJobs));
        }
        batch.jobs = *count;
    }
    EnsureHeadlessGui();
    return RunRenderBatch(batch, std::cerr);
}
