#pragma once

#include "cli/CliPrompt.h"

#include <string>

class ChartDocument;

// What loading made of a setup file, as one JSON object: the messages it
// showed and, when the document opened, its data, scale, map, page,
// legend, plot frame and annotations.
std::string DocumentJson(const std::string& path, bool opened, ChartDocument& document,
                         const CliPrompt& prompt);

// The same, shorter, as lines of text for a reader.
std::string DocumentSummary(const std::string& path, bool opened, ChartDocument& document);
