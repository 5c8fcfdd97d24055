#include "scale/DistinctLevels.h"

#include "core/FormatNumber.h"
#include "scale/MapScale.h"

#include <cmath>
#include <vector>

namespace {

// Fixed decimals go this far; a label with more would be hard to read.
constexpr int kMaxFixedDecimals = 6;
// A fixed label longer than this (a value of a billion or more) reads
// better in exponent form.
constexpr std::size_t kMaxFixedLength = 12;
// Beyond this many decimals two neighbours are the same number for a
// reader anyway.
constexpr int kMaxExponentDecimals = 9;

// "F3", "E2": built by appending, which keeps GCC 12's false -Wrestrict
// warning on a concatenated temporary out of optimised builds.
std::string FormatCode(char letter, int decimals) {
    std::string code(1, letter);
    code += std::to_string(decimals);
    return code;
}

bool PrintsAsZero(const std::string& label) {
    for (const char c : label) {
        if (c >= '1' && c <= '9') {
            return false;
        }
        if (c == 'E' || c == 'e') {
            break;
        }
    }
    return true;
}

bool TellsApart(std::span<const double> values, const std::string& code, bool fixed) {
    std::string previous;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!std::isfinite(values[i])) {
            continue;
        }
        const std::string label = FormatNumber(values[i], code);
        if ((values[i] != 0 && PrintsAsZero(label)) || (fixed && label.size() > kMaxFixedLength)) {
            return false;
        }
        if (i > 0 && values[i] != values[i - 1] && label == previous) {
            return false;
        }
        previous = label;
    }
    return true;
}

} // namespace

std::uint32_t MergeRepeatedBoundaries(DMAT& scale) {
    const std::uint32_t count = BoundaryCount(scale);
    if (count < 2) {
        return count;
    }
    std::vector<double> kept;
    kept.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const double value = scale.Get(i, 0);
        if (kept.empty() || value != kept.back()) {
            kept.push_back(value);
        }
    }
    if (kept.size() == count) {
        return count;
    }
    DMAT merged(static_cast<std::uint32_t>(kept.size()), 1);
    for (std::uint32_t i = 0; i < kept.size(); ++i) {
        merged.Set(i, 0, kept[i]);
    }
    scale = merged;
    return static_cast<std::uint32_t>(kept.size());
}

std::string DistinctLabelFormat(std::span<const double> values, const std::string& current) {
    if (TellsApart(values, current, false)) {
        return current;
    }
    for (int decimals = 0; decimals <= kMaxFixedDecimals; ++decimals) {
        const std::string code = FormatCode('F', decimals);
        if (TellsApart(values, code, true)) {
            return code;
        }
    }
    for (int decimals = 1; decimals < kMaxExponentDecimals; ++decimals) {
        const std::string code = FormatCode('E', decimals);
        if (TellsApart(values, code, false)) {
            return code;
        }
    }
    return FormatCode('E', kMaxExponentDecimals);
}

std::string DistinctLabelFormat(const DMAT& scale, const std::string& current) {
    std::vector<double> boundaries(BoundaryCount(scale));
    for (std::uint32_t i = 0; i < boundaries.size(); ++i) {
        boundaries[i] = scale.Get(i, 0);
    }
    return DistinctLabelFormat(boundaries, current);
}
