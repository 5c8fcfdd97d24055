#pragma once

#include <string>

class ChartDocument;
class DMAT;

// What a map generated with a derivation shows at once: a title that says
// what the surface is ("Ratio of Male to Female, Mx_1x1"), and a scale
// suited to it: for a ratio, levels that multiply by one factor and lie
// symmetric about 1; for a difference or an improvement, equal steps
// symmetric about 0; both coloured with the diverging Blue-Red scheme and
// missing cells grey. A smoothed surface keeps the scale of its data.
// Runs on a generated document after its other defaults; leaves a
// document without a derivation as it is.
void ApplyDerivedDefaults(ChartDocument& document);

// The scale a new map of a smoothed surface gets, for a map whose
// derivation became a smoothing: the data's own kind of levels (doubling
// ones for a database table's rates, else Smart Scale's) in the Geography
// colours. Like the above, it leaves the classification to the caller.
void ApplySmoothedDefaults(ChartDocument& document);

// The title of a derived map.
std::string DerivedTitle(const ChartDocument& document);

// Symmetric scales of 2 * side + 1 boundaries whose outermost ones reach
// at least 80 % of the way to the bulk of the values (all but the most
// extreme tenth), in steps of 1, 2, 2.5 or 5 times a power of ten (a
// difference) or factors of a root of 2 (a ratio). False, leaving scale as
// it is, when no value counts.
bool MakeSymmetricRatioScale(const DMAT& data, DMAT& scale, unsigned side = 4);
bool MakeSymmetricDifferenceScale(const DMAT& data, DMAT& scale, unsigned side = 4);
