#pragma once

#include "core/DMAT.h"
#include "core/Prompt.h"
#include "core/WMAT.h"
#include "scale/LRGBColorVect.h"

#include <cstdint>

// The map scale: a one-column DMAT of boundaries b[0] .. b[L-1]. L boundaries
// make L + 1 levels: level i holds the values v with b[i-1] < v <= b[i]
// (level 0: v <= b[0]), level L the values above b[L-1], and level L + 1 the
// missing cells. The level colour table that goes with it holds L + 2
// colours: levels 0 .. L, then the missing colour.
//
// The functions that change the number of boundaries (the Make... ones) do
// not know the legend: whoever calls them runs FitLevelColors and then the
// legend's SyncWithScale.

// The number of boundaries L of a scale (0 for an empty matrix).
std::uint32_t BoundaryCount(const DMAT& scale);

// Recomputes the level of every data cell into levels, resizing it to the
// data's shape when needed. Each value takes the first boundary, in stored
// order, that it does not exceed, so a scale that is not ascending still
// classifies; a NaN that is not the missing marker goes to level 0, +inf to
// level L. Does nothing when the data matrix is empty. Throws LException,
// leaving levels untouched, when the scale has more than kMaxScaleBoundaries
// boundaries: their levels would not fit in 16 bits.
void ClassifyLevels(const DMAT& data, const DMAT& scale, WMAT& levels);

// Replaces the boundaries by quantiles of the non-missing data, keeping L:
// with the N values sorted ascending and step = N div (L + 1), boundary i
// becomes the value at position (i + 1) * step. Returns false, leaving the
// scale unchanged, when the data are empty or all missing. A matrix error
// while working is shown as its code under "DMAT matrix exception" and
// also returns false.
bool SmartScale(const DMAT& data, DMAT& scale, Prompt& prompt);

// count boundaries from start, each the previous one plus increment (added
// up step by step, as the scale has always been built). A count of 0 leaves
// a scale without boundaries.
void MakeLinearScale(DMAT& scale, double start, double increment, std::uint32_t count);

// The same with each boundary the previous one times multiplier.
void MakeMultiplicativeScale(DMAT& scale, double start, double multiplier, std::uint32_t count);

// The scale of a document before its setup file says otherwise: the eight
// boundaries 0, 1/9, 2/9, ... 7/9.
void MakeDefaultScale(DMAT& scale);

// Makes the colour table boundaryCount + 2 long after the number of
// boundaries changed: the old level colours (without the old missing one)
// repeated from the start as often as needed, then missingColor. A table
// without level colours gives white levels.
void FitLevelColors(LRGBColorVect& levelColors, std::uint32_t boundaryCount,
                    LRGBColor missingColor);
