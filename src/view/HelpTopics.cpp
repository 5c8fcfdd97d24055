#include "view/HelpTopics.h"

#include <algorithm>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::optional<std::string> HelpTopicForCaret(std::string_view line, std::size_t column) {
    std::size_t first = 0;
    std::size_t last = line.size();
    while (first < last && IsBlank(line[first])) {
        ++first;
    }
    while (last > first && IsBlank(line[last - 1])) {
        --last;
    }
    const std::string_view trimmed = line.substr(first, last - first);
    if (trimmed.empty()) {
        return std::nullopt;
    }
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
        return "section-" + std::string(trimmed.substr(1, trimmed.size() - 2));
    }
    column = std::min(column, line.size());
    std::size_t start = column;
    while (start > 0 && IsLetter(line[start - 1])) {
        --start;
    }
    std::size_t end = column;
    while (end < line.size() && IsLetter(line[end])) {
        ++end;
    }
    if (start == end) {
        return std::string(kMapViewTopic);
    }
    return "key-" + std::string(line.substr(start, end - start));
}
