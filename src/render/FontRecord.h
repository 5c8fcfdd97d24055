#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A font as the program stores it: the thirteen numbers of a Windows
// LOGFONT record and a face name of at most 31 bytes. Texts keep their
// height in typographic points (negative: the character height, as the
// font dialog gives it); a font selected into a surface carries a device
// height instead (see DeviceFont in Surface.h).
class FontRecord {
public:
    static constexpr int kNumberCount = 13;
    static constexpr std::size_t kMaxFaceName = 31;

    // The font a text uses when it has none of its own: 12-point Arial,
    // normal weight, proof quality.
    static FontRecord DefaultTextFont();

    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0; // tenths of a degree, counter-clockwise
    std::int32_t orientation = 0;
    std::int32_t weight = 0; // 400 normal, 700 bold
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;

    const std::string& GetFaceName() const { return faceName_; }
    // Keeps the first kMaxFaceName bytes.
    void SetFaceName(std::string_view name);

    // The numbers in record order (height first, pitch and family last), as
    // setup files list them. Indices outside 0..12 read 0 and write nothing;
    // the eight one-byte fields keep the low byte of what is written.
    std::int32_t GetNumber(int index) const;
    void SetNumber(int index, std::int32_t value);

    friend bool operator==(const FontRecord&, const FontRecord&) = default;

private:
    std::string faceName_;
};
