#include "setup/FontValue.h"

#include "core/NumberText.h"
#include "setup/DemlaSetup.h"
#include "setup/SetupText.h"

void ReadFontValue(DemlaSetup& reader, FontRecord& target) {
    for (int i = 0; i < FontRecord::kNumberCount; ++i) {
        target.SetNumber(i, TruncateToInt32(reader.GetDouble(static_cast<std::uint32_t>(i), 0)));
    }
    const char* face = reader.GetString(FontRecord::kNumberCount, 0);
    target.SetFaceName(face ? face : "");
}

std::string FontValueText(const FontRecord& font) {
    std::string text = "{";
    for (int i = 0; i < FontRecord::kNumberCount; ++i) {
        text += std::to_string(font.GetNumber(i));
        text += ' ';
    }
    // A quote in a face name would end the string early on reading back.
    text += QuotedSetupString(font.GetFaceName()) + "}";
    return text;
}
