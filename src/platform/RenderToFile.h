#pragma once

#include "render/Surface.h"

#include <functional>
#include <string>

// Draws a picture of width x height device pixels into a file whose format
// the extension names (any case):
//   .png, .bmp  an image on a white background (a raster display);
//   .svg        an SVG document of that size and view box (a raster display);
//   .pdf        one page exactly the picture's size at 96 pixels per inch
//               (a raster printer);
//   .emf        an enhanced metafile (see EmfSurface).
// The path is in the local 8-bit encoding. Returns false, with a message
// for the user in *error when error is given, when the extension is not one
// of these, the size is not positive or the file cannot be written.
bool RenderToFile(const std::string& path, int width, int height,
                  const std::function<void(Surface&)>& draw, std::string* error);
