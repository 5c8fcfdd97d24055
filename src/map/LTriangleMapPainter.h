#pragma once

#include "map/SplitSquareMapPainter.h"

// Triangles cut by the falling diagonal: the even column of a pair is the
// lower left triangle of its square, the odd column the upper right one.
class LTriangleMapPainter final : public SplitSquareMapPainter<Diagonal::Falling> {};
