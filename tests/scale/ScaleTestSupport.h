#pragma once

#include "core/DMAT.h"
#include "scale/LRGBColorVect.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// Scales and colour tables to and from plain vectors, for short tests.

inline DMAT Column(const std::vector<double>& values) {
    DMAT m;
    if (!values.empty()) {
        m.SetSize(static_cast<std::uint32_t>(values.size()), 1);
        std::copy(values.begin(), values.end(), m.Data());
    }
    return m;
}

inline std::vector<double> Values(const DMAT& m) {
    return m.IsEmpty() ? std::vector<double>{}
                       : std::vector<double>(m.Data(), m.Data() + m.GetRows() * m.GetColumns());
}

inline LRGBColorVect Colours(const std::vector<LRGBColor>& values) {
    LRGBColorVect colours(static_cast<std::uint32_t>(values.size()));
    for (std::uint32_t i = 0; i < values.size(); ++i) {
        colours[i] = values[i];
    }
    return colours;
}

inline std::vector<LRGBColor> List(const MVector<LRGBColor>& colours) {
    std::vector<LRGBColor> values;
    for (std::uint32_t i = 0; i < colours.GetCount(); ++i) {
        values.push_back(colours[colours.GetLowerBound() + i]);
    }
    return values;
}
