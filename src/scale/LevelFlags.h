#pragma once

#include "core/MVector.h"

#include <cstdint>

// The legend's flags, one per scale boundary: bit 1 hides the label, bit 2
// the tick and bit 4 the internal line of that boundary; 0 shows all three.
using LevelFlags = MVector<std::uint32_t>;
