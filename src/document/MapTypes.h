#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The cell shapes of a map, by their MapType numbers, with the names the
// setup key DemlaMapType uses.
enum MapTypeNumber : std::uint32_t {
    RectangleMap = 0,
    TriangleMap = 1,
    LTriangleMap = 2,
    HParallelogramMap = 3,
    HLParallelogramMap = 4,
    VParallelogramMap = 5,
    VLParallelogramMap = 6,
};

inline constexpr std::array<std::string_view, 7> kMapTypeNames = {
    "Rectangle",       "Triangle",       "LTriangle",       "HParallelogram",
    "HLParallelogram", "VParallelogram", "VLParallelogram",
};

// The name of a map type; numbers outside the list draw as rectangles and
// are named so.
inline std::string_view MapTypeName(std::uint32_t type) {
    return type < kMapTypeNames.size() ? kMapTypeNames[type] : kMapTypeNames[RectangleMap];
}

// The number of a map type name, compared exactly.
inline std::optional<std::uint32_t> FindMapType(std::string_view name) {
    for (std::size_t i = 0; i < kMapTypeNames.size(); ++i) {
        if (kMapTypeNames[i] == name) {
            return static_cast<std::uint32_t>(i);
        }
    }
    return std::nullopt;
}

// Triangle shapes take two matrix columns per year.
inline bool IsTriangleMap(std::uint32_t type) {
    return type == TriangleMap || type == LTriangleMap;
}
