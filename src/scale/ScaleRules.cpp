#include "scale/ScaleRules.h"

#include "scale/MapScale.h"
#include "scale/ScaleLimits.h"

#include <cmath>

bool BoundariesRise(const DMAT& scale, std::uint32_t i, double value) {
    const std::uint32_t count = BoundaryCount(scale);
    if (std::isnan(value)) {
        return false;
    }
    return (i == 0 || scale.Get(i - 1, 0) < value) &&
           (i + 1 >= count || value < scale.Get(i + 1, 0));
}

SequenceProblem CheckSequence(const SequenceRequest& request) {
    const auto& [multiplicative, start, step, levels] = request;
    if (!multiplicative && !(step && *step > 0)) {
        return SequenceProblem::IncrementNotPositive;
    }
    if (multiplicative && !(step && *step > 1)) {
        return SequenceProblem::MultiplierNotAboveOne;
    }
    if (multiplicative && !(start && *start > 0)) {
        return SequenceProblem::StartNotPositive;
    }
    if (!start) {
        return SequenceProblem::StartNotNumber;
    }
    // The map can tell at most kMaxScaleBoundaries boundaries apart.
    if (!levels || !(std::trunc(*levels) > 0) || *levels > kMaxScaleBoundaries) {
        return SequenceProblem::LevelsOutOfRange;
    }
    return SequenceProblem::None;
}

std::uint32_t SequenceLevels(const SequenceRequest& request) {
    return static_cast<std::uint32_t>(*request.levels);
}

void MakeSequenceScale(DMAT& scale, const SequenceRequest& request) {
    if (request.multiplicative) {
        MakeMultiplicativeScale(scale, *request.start, *request.step, SequenceLevels(request));
    } else {
        MakeLinearScale(scale, *request.start, *request.step, SequenceLevels(request));
    }
}
