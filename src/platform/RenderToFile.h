#pragma once

#include "render/Surface.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What writing an exported file came to: whether the file was written and,
// when it was not, a message for the user that names the file and the
// cause.
struct ExportResult {
    bool written = false;
    std::string message;

    explicit operator bool() const { return written; }
};

// Draws a picture of width x height device pixels into a file whose format
// the extension names (any case):
//   .png, .bmp  an image on a white background (a raster display);
//   .svg        an SVG document of that size and view box (a raster display);
//   .pdf        one page exactly the picture's size at 96 pixels per inch
//               (a raster printer);
//   .emf        an enhanced metafile (see EmfSurface).
// The path is in the local 8-bit encoding. The file is whole or not there:
// it is made in memory and written as WriteExportFile writes it, so a file
// that stood at the path stays untouched unless the new one is complete.
// Fails when the extension is not one of these, the size is not positive
// or the file cannot be made or written. An exception from draw propagates,
// and nothing is written then.
ExportResult ExportPicture(const std::string& path, int width, int height,
                           const std::function<void(Surface&)>& draw);

// Writes the bytes of an exported file (a picture, a printed PDF) to path
// through a temporary file beside it: every write, the sync and the close
// are checked, and only then does the temporary file take the path's place.
// On any failure the temporary file is removed and a file that stood at the
// path stays as it was.
ExportResult WriteExportFile(const std::string& path, std::string_view bytes);

// The bytes of a picture of a kind ("png", "bmp", "svg", "pdf" or "emf"),
// made in memory, for the clipboard and for files; nothing, with the cause
// in *cause, when it cannot be made.
std::optional<std::string> MakePicture(std::string_view kind, int width, int height,
                                       const std::function<void(Surface&)>& draw,
                                       std::string* cause = nullptr);

// ExportPicture for callers that want a flag and the message in *error
// (when error is given).
bool RenderToFile(const std::string& path, int width, int height,
                  const std::function<void(Surface&)>& draw, std::string* error);
