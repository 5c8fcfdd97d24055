#include "app/CliPrompt.h"
#include "app/CommandLine.h"
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
#include <string>
#include <vector>

namespace {

constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 720;
// Larger pictures are refused: their pixels alone would not fit in memory.
constexpr int kMaxSide = 20000;

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

} // namespace

// demla render FILE.dml -o OUT [--size WxH]: draws what a map view of that
// client size shows after Fit Page, without the page outline, as an export
// does, into a .png, .bmp, .svg, .pdf or .emf file.
int RunRender(std::span<const std::string> arguments) {
    std::string error;
    const std::optional<CommandArguments> parsed =
        CommandArguments::Parse(arguments, {"-o", "--size"}, {"--cancel"}, error);
    if (!parsed) {
        return UsageError(error);
    }
    if (parsed->Operands().size() != 1) {
        return UsageError("render takes one setup file");
    }
    const std::optional<std::string> output = parsed->Value("-o");
    if (!output) {
        return UsageError("render needs -o OUT");
    }
    std::pair<int, int> size{kDefaultWidth, kDefaultHeight};
    if (const std::optional<std::string> text = parsed->Value("--size")) {
        const std::optional<std::pair<int, int>> given = ParseSize(*text);
        if (!given) {
            return UsageError("--size takes WxH, each side from 1 to " + std::to_string(kMaxSide));
        }
        size = *given;
    }

    EnsureHeadlessGui();
    CliPrompt prompt(std::cerr, parsed->Has("--cancel"));
    ChartDocument document(prompt);
    if (!document.Open(parsed->Operands().front())) {
        return kExitFailure;
    }
    const int loaded = LoadStatus(document, prompt);
    // The picture never takes the place of a file the map is made from,
    // whatever name or link leads to it.
    std::vector<std::string> ownFiles = document.GetSources().readFiles;
    ownFiles.push_back(document.GetPath());
    for (const std::string& file : ownFiles) {
        if (SameFile(*output, file)) {
            prompt.Show("Error", "The picture would replace a file of the map: " + *output,
                        PromptIcon::Exclamation);
            return kExitFailure;
        }
    }

    const int width = size.first;
    const int height = size.second;
    MapPageOptions options;
    options.page = DefaultPageOf(document);
    options.pageOutline = false;
    const MapPageContent content = PageContentOf(document);
    ExportResult result;
    try {
        result = ExportPicture(*output, width, height, [&](Surface& surface) {
            PageCoordinateSystem view(0, options.page.width, 0, options.page.height, 0, width,
                                      height, 0);
            FitPage(view, options.page);
            PaintMapPage(surface, view, content, options);
        });
    } catch (const LException& e) {
        // A half-drawn map is not a picture of it: nothing is written.
        prompt.Show(kApplicationName, PaintExceptionText(e), PromptIcon::Exclamation);
        return kExitFailure;
    }
    if (!result) {
        prompt.Show("Error", result.message, PromptIcon::Exclamation);
        return kExitFailure;
    }
    return loaded;
}
