#pragma once

#include "map/SplitSquareMapPainter.h"

// Triangles cut by the rising diagonal: the even column of a pair is the
// lower right triangle of its square, the odd column the upper left one.
class TriangleMapPainter final : public SplitSquareMapPainter<Diagonal::Rising> {};
