#pragma once

#include "map/ParallelogramMapPainter.h"

// Parallelograms rising one row from their left side to their right side;
// index y runs from 0 to the number of rows + 1.
class VTrapMapPainter final : public ParallelogramMapPainter<Shear::ColumnsRise> {};
