#include "document/SetupValues.h"

#include "core/NumberText.h"
#include "setup/CharClasses.h"
#include "setup/DemlaSetup.h"
#include "setup/SetupText.h"

#include <cmath>

std::string SetupStringText(std::string_view text) {
    return QuotedSetupString(std::string(text));
}

std::string SetupByteText(char byte) {
    return SetupStringText(std::string_view(&byte, 1));
}

std::string FileNameValueText(const std::string& name, bool quoted) {
    const bool needsQuotes =
        name.find_first_of("[];") != std::string::npos ||
        (!name.empty() && (IsSetupSpace(static_cast<unsigned char>(name.front())) ||
                           IsSetupSpace(static_cast<unsigned char>(name.back()))));
    return quoted || needsQuotes ? '"' + name + '"' : name;
}

std::uint32_t ColorFromDouble(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 0) {
        return value >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
    }
    return static_cast<std::uint32_t>(TruncateToInt32(value));
}

std::string ReadFileNameValue(DemlaSetup& reader, bool* quoted) {
    if (quoted != nullptr) {
        *quoted = false;
    }
    const char* raw = reader.GetValueText();
    if (raw == nullptr) {
        // No ";" closes the value: the reader's own rules decide.
        const char* value = reader.GetQuotedValue(quoted);
        return value != nullptr ? value : "";
    }
    std::string text(raw);
    const std::size_t open = text.find('"');
    if (open == std::string::npos) {
        TrimSpaces(text);
        return text;
    }
    const std::size_t close = text.find('"', open + 1);
    if (close == std::string::npos) {
        throw DemlaSetupException(reader.GetSectionName(), reader.GetItemName(), 22);
    }
    if (quoted != nullptr) {
        *quoted = true;
    }
    return text.substr(open + 1, close - open - 1);
}
