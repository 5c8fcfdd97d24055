#pragma once

#include "map/ParallelogramMapPainter.h"

// Parallelograms leaning one column to the left per row; index x runs from
// -1 to the number of columns.
class HLTrapMapPainter final : public ParallelogramMapPainter<Shear::RowsLeanLeft> {};
