#pragma once

#include "core/DMAT.h"

#include <cstdint>
#include <optional>

// The rules a scale keeps, for every editor of the boundaries: the context
// menus of the map, the scale sheet, the sequence generator.

// Whether boundary i of scale may take value: the boundaries must rise
// strictly, or cells would fall in the wrong levels. The neighbours below
// and above i (where there are any) bound value, both exclusive; NaN never
// fits.
bool BoundariesRise(const DMAT& scale, std::uint32_t i, double value);

// A request for a new scale of evenly added or multiplied boundaries.
struct SequenceRequest {
    bool multiplicative = false;
    // Each none when it is not a number.
    std::optional<double> start;
    std::optional<double> step; // the increment or the multiplier
    std::optional<double> levels;
};

enum class SequenceProblem {
    None,
    IncrementNotPositive,  // an additive step of 0 or less
    MultiplierNotAboveOne, // a multiplicative step of 1 or less
    StartNotPositive,      // a multiplicative start of 0 or less
    StartNotNumber,
    LevelsOutOfRange, // no whole boundary, or more than the map can tell apart
};

// The first problem of the request, in the order the sheet reports them.
SequenceProblem CheckSequence(const SequenceRequest& request);

// The number of boundaries of a request that passed CheckSequence.
std::uint32_t SequenceLevels(const SequenceRequest& request);

// Makes the boundaries of a request that passed CheckSequence.
void MakeSequenceScale(DMAT& scale, const SequenceRequest& request);
