#pragma once

#include "map/ParallelogramMapPainter.h"

// Parallelograms leaning one column to the right per row, along the cohort
// diagonal; index x runs from 0 to the number of columns + 1.
class HTrapMapPainter final : public ParallelogramMapPainter<Shear::RowsLeanRight> {};
