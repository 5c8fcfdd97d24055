#pragma once

#include "core/DMAT.h"
#include "core/NumberText.h"
#include "datafiles/GaussMatrix.h"

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

// The matrix row by row: "1 2/3 4", a missing cell as ".".
inline std::string MatrixText(const DMAT& m) {
    std::string text;
    for (std::uint32_t r = 0; r < m.GetRows(); ++r) {
        for (std::uint32_t c = 0; c < m.GetColumns(); ++c) {
            text += c ? " " : (r ? "/" : "");
            text += m.IsMissing(r, c) ? "." : FormatDoubleC("%g", m.Get(r, c));
        }
    }
    return text;
}

// A Gauss matrix file: the header, then the elements row by row.
template <typename Header = GaussSmallHeader>
std::string GaussBytes(std::uint32_t rows, std::uint32_t columns,
                       const std::vector<double>& elements) {
    Header header;
    header.rows = static_cast<decltype(header.rows)>(rows);
    header.columns = static_cast<decltype(header.columns)>(columns);
    const auto head = header.Encode();
    std::string bytes(head.begin(), head.end());
    for (const double element : elements) {
        const auto bits = std::bit_cast<std::uint64_t>(element);
        for (int i = 0; i < 8; ++i) {
            bytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
        }
    }
    return bytes;
}
