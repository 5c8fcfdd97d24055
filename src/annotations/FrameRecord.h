#pragma once

#include <cstdint>

// The six settings of a rectangle's outline and fill, as setup files keep
// them for the frame of a text and for each rectangle annotation.
struct FrameRecord {
    double borderWidth = 0.0;    // page units; negative: no outline
    std::int32_t penStyle = 0;   // a PenStyle number
    std::uint32_t penColor = 0;  // 0x00BBGGRR
    std::uint32_t fillStyle = 0; // a BrushStyle number: solid, hollow, hatched
    std::uint32_t fillColor = 0; // 0x00BBGGRR
    std::int32_t hatchStyle = 0; // a HatchStyle number
    friend bool operator==(const FrameRecord&, const FrameRecord&) = default;
};
