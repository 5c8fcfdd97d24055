#include "render/FontRecord.h"

FontRecord FontRecord::DefaultTextFont() {
    FontRecord font;
    font.height = -12;
    font.weight = 400;
    font.quality = 2; // PROOF_QUALITY
    font.SetFaceName("Arial");
    return font;
}

void FontRecord::SetFaceName(std::string_view name) {
    faceName_.assign(name.substr(0, kMaxFaceName));
}

std::int32_t FontRecord::GetNumber(int index) const {
    switch (index) {
    case 0:
        return height;
    case 1:
        return width;
    case 2:
        return escapement;
    case 3:
        return orientation;
    case 4:
        return weight;
    case 5:
        return italic;
    case 6:
        return underline;
    case 7:
        return strikeOut;
    case 8:
        return charSet;
    case 9:
        return outPrecision;
    case 10:
        return clipPrecision;
    case 11:
        return quality;
    case 12:
        return pitchAndFamily;
    default:
        return 0;
    }
}

void FontRecord::SetNumber(int index, std::int32_t value) {
    const auto low = static_cast<std::uint8_t>(value & 0xFF);
    switch (index) {
    case 0:
        height = value;
        break;
    case 1:
        width = value;
        break;
    case 2:
        escapement = value;
        break;
    case 3:
        orientation = value;
        break;
    case 4:
        weight = value;
        break;
    case 5:
        italic = low;
        break;
    case 6:
        underline = low;
        break;
    case 7:
        strikeOut = low;
        break;
    case 8:
        charSet = low;
        break;
    case 9:
        outPrecision = low;
        break;
    case 10:
        clipPrecision = low;
        break;
    case 11:
        quality = low;
        break;
    case 12:
        pitchAndFamily = low;
        break;
    default:
        break;
    }
}
