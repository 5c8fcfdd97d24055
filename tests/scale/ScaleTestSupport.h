#pragma once

#include "core/DMAT.h"
#include "core/NumberText.h"
#include "scale/LRGBColorVect.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Scales and colour tables from plain vectors and as short texts, for short tests.

inline DMAT Column(const std::vector<double>& values) {
    DMAT m;
    if (!values.empty()) {
        m.SetSize(static_cast<std::uint32_t>(values.size()), 1);
        std::copy(values.begin(), values.end(), m.Data());
    }
    return m;
}

inline LRGBColorVect Colours(const std::vector<LRGBColor>& values) {
    LRGBColorVect colours(static_cast<std::uint32_t>(values.size()));
    for (std::uint32_t i = 0; i < values.size(); ++i) {
        colours[i] = values[i];
    }
    return colours;
}

// The elements of a scale or a level matrix, "%g" each, blank-separated.
template <typename Matrix>
std::string Text(const Matrix& m) {
    std::string text;
    for (std::uint32_t i = 0; i < m.GetRows() * m.GetColumns(); ++i) {
        text += (i == 0 ? "" : " ") + FormatDoubleC("%g", m.Data()[i]);
    }
    return text;
}

// The entries of a colour table or of level flags in hexadecimal, blank-separated.
inline std::string Hex(const MVector<std::uint32_t>& entries) {
    std::string text;
    char word[12];
    for (std::uint32_t i = 0; i < entries.GetCount(); ++i) {
        std::snprintf(word, sizeof word, i == 0 ? "%X" : " %X",
                      entries[entries.GetLowerBound() + i]);
        text += word;
    }
    return text;
}
