#include "document/SetupValues.h"

#include "core/FormatNumber.h"
#include "core/NumberText.h"
#include "setup/CharClasses.h"
#include "setup/DemlaSetup.h"
#include "setup/SetupText.h"

#include <cmath>

namespace {

// Can the reader's tokenizer take text as one number token that converts
// whole? It starts with a digit, a sign or a point and runs on over
// letters, digits, "_", "." and a sign right after an exponent letter.
bool ReadsBackAsNumber(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    const auto first = static_cast<unsigned char>(text[0]);
    if (!IsSetupDigit(first) && first != '-' && first != '+' && first != '.') {
        return false;
    }
    for (std::size_t i = 1; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool signAfterExponent =
            (c == '+' || c == '-') && (text[i - 1] == 'E' || text[i - 1] == 'e');
        if (!IsSetupLetter(c) && !IsSetupDigit(c) && c != '_' && c != '.' && !signAfterExponent) {
            return false;
        }
    }
    double value = 0;
    return ParseWholeDouble(text.data(), text.data() + text.size(), value) && std::isfinite(value);
}

std::string NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "-nan";
    }
    return value > 0 ? "+inf" : "-inf";
}

} // namespace

std::string SetupStringText(std::string_view text) {
    std::string escaped(text);
    Escape(escaped);
    if (!escaped.empty() && escaped.back() == '\\') {
        escaped += ' ';
    }
    return '"' + escaped + '"';
}

std::string SetupByteText(char byte) {
    return SetupStringText(std::string_view(&byte, 1));
}

std::string ShortNumberText(double value) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    return FormatDoubleC("%g", value);
}

std::string FormattedNumberText(double value, const std::string& format) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    std::string text = FormatNumber(value, format);
    if (!ReadsBackAsNumber(text)) {
        text = FormatDoubleC("%.17g", value);
    }
    return text;
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
