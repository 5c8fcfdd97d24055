#include "setup/SetupText.h"

#include "core/FormatNumber.h"
#include "core/NumberText.h"
#include "setup/CharClasses.h"

#include <charconv>
#include <cmath>
#include <utility>

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

// Setup numbers are decimal: an infinity is written as a decimal number too
// large for a double, which reads back as the infinity, and a NaN, which
// no decimal number gives, as the 0 that reading a non-number gives.
std::string NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "0";
    }
    return value > 0 ? "1e999" : "-1e999";
}

} // namespace

void Unescape(std::string& text) {
    std::size_t out = 0;
    for (std::size_t in = 0; in < text.size(); ++in) {
        if (text[in] == '\\' && in + 1 < text.size() && text[in + 1] == '"') {
            ++in;
        }
        text[out++] = text[in];
    }
    text.resize(out);
}

void Escape(std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '"') {
            escaped += '\\';
        }
        escaped += c;
    }
    if (!escaped.empty() && escaped.back() == '\\') {
        escaped += ' ';
    }
    text = std::move(escaped);
}

std::string QuotedSetupString(std::string text) {
    Escape(text);
    return '"' + text + '"';
}

void TrimSpaces(std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && IsSetupSpace(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    std::size_t begin = 0;
    while (begin < end && IsSetupSpace(static_cast<unsigned char>(text[begin]))) {
        ++begin;
    }
    text = text.substr(begin, end - begin);
}

std::string ShortNumberText(double value) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    // The shortest text that reads back as the same double: six digits
    // would move a text placed at 1234.567 to 1234.57 on every save.
    char text[32];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end.ptr);
}

std::string FormattedNumberText(double value, const std::string& format) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    std::string text = FormatNumber(value, format);
    if (!ReadsBackAsNumber(text)) {
        text = FormatDoubleC("%.17g", value);
    }
    // A fixed-point format makes hundreds of digits of a huge value, more
    // than the reader takes as one element: the shortest exact form reads
    // back instead.
    if (text.size() > kMaxNumberTextLength) {
        char shortest[32];
        const std::to_chars_result end = std::to_chars(shortest, shortest + sizeof shortest, value);
        text.assign(shortest, end.ptr);
    }
    return text;
}
