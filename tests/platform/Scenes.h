#pragma once

#include "render/Surface.h"

#include <string>
#include <vector>

// Fixed pictures that use every kind of drawing a surface offers; the
// baseline, metafile and export tests draw them.
struct Scene {
    std::string name;
    int width;
    int height;
    void (*draw)(Surface&);
    std::vector<std::string> texts; // what it writes
};

// "shapes": rectangles with every brush, lines with every pen style and
// some widths, map cells as rectangles and triangles, a polygon filled by
// the winding rule, a polyline and exclusive-or lines.
// "annotations": text, line and rectangle annotations: the alignments on
// marked anchors, a framed text, a rotated one, hatched and fill-only
// rectangles.
const std::vector<Scene>& AllScenes();

// "map-<shape>": a small map of 12 x 10 cells in each of the seven cell
// shapes (map types 0 to 6), with two missing cells and contour lines.
const std::vector<Scene>& MapScenes();
