#include "setup/SetupText.h"

#include "setup/CharClasses.h"

#include <utility>

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
    text = std::move(escaped);
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
