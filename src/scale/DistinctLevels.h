#pragma once

#include "core/DMAT.h"

#include <cstdint>
#include <span>
#include <string>

// Keeps one of every run of equal neighbouring boundaries: an automatic
// scale of data with many equal values (a matrix of mostly zeros) would
// otherwise give several boundaries at one value and empty levels between
// them. At least one boundary stays. Returns the number of boundaries left.
std::uint32_t MergeRepeatedBoundaries(DMAT& scale);

// A number format code under which every two neighbouring values of a
// rising list print differently and no value other than zero prints as
// zero, so that a legend or an axis tells its labels apart. The current
// code is kept when it does that already; else the fewest fixed decimals
// ("F0" .. "F6") that do, and where fixed decimals cannot (values too small
// or too close for six decimals, or too large to print in full), the
// exponent form with the fewest decimals that does ("E1" ...).
std::string DistinctLabelFormat(std::span<const double> values, const std::string& current);

// The same for the boundaries of a scale, for its legend.
std::string DistinctLabelFormat(const DMAT& scale, const std::string& current);
