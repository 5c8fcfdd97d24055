#include "setup/TextEncoding.h"

#include <array>
#include <cstdint>
#include <utility>

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; the undefined
// ones keep their own number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at position, moving past it; nothing for an
// invalid, overlong or surrogate sequence.
std::optional<char32_t> NextCodePoint(std::string_view bytes, std::size_t& position) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(position);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++position;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (position + length > bytes.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const std::uint8_t next = byte(position + i);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    position += length;
    return value;
}

// The Windows-1252 byte of a character; nothing when it has none.
std::optional<char> Windows1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t position = 0;
    while (position < bytes.size()) {
        if (!NextCodePoint(bytes, position)) {
            return false;
        }
    }
    return true;
}

TextEncoding DetectEncoding(std::string_view bytes) {
    return IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

std::string DecodeToUtf8(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char b : bytes) {
        const auto value = static_cast<std::uint8_t>(b);
        if (value < 0x80) {
            out += b;
        } else if (value < 0xA0) {
            AppendUtf8(out, kHighControls[value - 0x80]);
        } else {
            AppendUtf8(out, value);
        }
    }
    return out;
}

std::optional<std::string> EncodeFromUtf8(std::string_view text, TextEncoding encoding) {
    return TypedTextToFile(text, encoding, nullptr);
}

std::string TextToUtf8(std::string_view bytes, TextEncoding fileEncoding) {
    if (fileEncoding == TextEncoding::Utf8 && IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return DecodeToUtf8(bytes, TextEncoding::Windows1252);
}

std::optional<std::string> TypedTextToFile(std::string_view typed, TextEncoding fileEncoding,
                                           std::string* reason) {
    const auto refuse = [&](std::string why) -> std::optional<std::string> {
        if (reason != nullptr) {
            *reason = std::move(why);
        }
        return std::nullopt;
    };
    std::string out;
    out.reserve(typed.size());
    std::size_t position = 0;
    while (position < typed.size()) {
        const std::size_t start = position;
        const std::optional<char32_t> c = NextCodePoint(typed, position);
        if (!c) {
            return refuse("The text is not valid UTF-8.");
        }
        if (fileEncoding == TextEncoding::Utf8) {
            continue;
        }
        const std::optional<char> byte = Windows1252Byte(*c);
        if (!byte) {
            return refuse("The character \"" + std::string(typed.substr(start, position - start)) +
                          "\" cannot be written in this file's encoding (" +
                          EncodingName(fileEncoding) + "). Replace it with another character.");
        }
        out += *byte;
    }
    if (fileEncoding == TextEncoding::Utf8) {
        return std::string(typed);
    }
    return out;
}

const char* EncodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "UTF-8" : "Windows-1252";
}
