#pragma once

#include "render/Surface.h"

#include <string>
#include <vector>

// A fixed picture of width x height pixels, and the texts it writes.
struct Scene {
    std::string name;
    int width;
    int height;
    void (*draw)(Surface&);
    std::vector<std::string> texts = {};
};

// "shapes" (every brush, pen style, fill and the exclusive-or mode) and
// "annotations" (text, line and rectangle annotations).
const std::vector<Scene>& AllScenes();

// "map-<shape>": a map of 12 x 10 cells in each of the seven cell shapes.
const std::vector<Scene>& MapScenes();

// The same maps without contour lines, named by their shape alone; their
// plot area is x 20 .. 220, y 20 .. 180.
const std::vector<Scene>& MapScenesWithoutContours();
