#pragma once

#include "platform/RenderToFile.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// One map to draw: a setup file into a picture file of width x height
// pixels, questions answered as --cancel says.
struct RenderRequest {
    std::string setupPath;
    std::string outputPath;
    int width = 0;
    int height = 0;
    bool cancel = false;
};

// What drawing one map came to: its exit status (0, 1 or 3, as the single
// render command's) and the messages loading and drawing it gave, as the
// command line prints them.
struct RenderOutcome {
    int status = 0;
    std::string messages;
};

class ChartDocument;

// Where a loaded map is drawn: given the document and the drawing of its
// page, puts the drawing into the request's output.
using MapOutput =
    std::function<ExportResult(const ChartDocument&, const std::function<void(Surface&)>&)>;

// Loads the map and hands the drawing of its page to output; never draws
// over a file the map reads (request.outputPath names what is written).
RenderOutcome DrawMap(const RenderRequest& request, const MapOutput& output);

// Loads the map and draws it into the picture file the request names.
RenderOutcome RenderMap(const RenderRequest& request);

// Many maps drawn by one process: each setup file into
// folder/<its name without extension>.<format>.
struct RenderBatch {
    std::vector<std::string> setupPaths;
    std::string folder;
    std::string format = "png";
    int width = 0;
    int height = 0;
    // How many maps are loaded and drawn at once; 0 for one per core.
    int jobs = 0;
    bool cancel = false;
};

bool IsBatchFormat(std::string_view format);

// The picture file of each setup file, in their order; empty, with the
// message in *error, when two setup files would draw into one file (maps
// of one name from different folders), so nothing is written over.
std::vector<std::string> BatchOutputPaths(const RenderBatch& batch, std::string* error);

// Draws every map of the batch, each in one worker of batch.jobs, so that
// no more documents than workers are ever loaded. Each map's messages and
// then one line with its result go to log as the map is done; a failure
// does not stop the others. On a terminal (log is standard error and that
// is one) a progress line counts the maps done and the time taken. Returns
// the worst status of the maps: 1 over 3 over 0; 1 with nothing drawn when
// the outputs collide or the folder cannot be made.
int RunRenderBatch(const RenderBatch& batch, std::ostream& log);

// Whether a file name ends in ".pdf" (any case).
bool IsPdfName(const std::string& path);

// Draws every map of the batch, in its order, as one page of the PDF file
// at path, each page as a render of that map into a PDF of its own draws
// it; the document's outline names each page by its map's title, or its
// setup file's name. Maps are loaded one at a time; a map that does not
// load is left out with its line, as in a batch. The file is written whole
// or not at all (not when no map was drawn). Returns the worst status.
int RunRenderAtlas(const RenderBatch& batch, const std::string& path, std::ostream& log);
