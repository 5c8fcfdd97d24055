#include "view/AsciiPreview.h"

namespace {

constexpr std::size_t kPreviewLines = 5;
constexpr std::size_t kLineWidth = 255;
constexpr std::size_t kTabWidth = 8;

} // namespace

std::vector<std::string> AsciiPreviewLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (const char c : bytes) {
        if (lines.size() == kPreviewLines) {
            break;
        }
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            continue;
        }
        if (c == '\r') {
            continue;
        }
        if (c == '\t') {
            for (std::size_t i = 0; i < kTabWidth && line.size() < kLineWidth; ++i) {
                line += ' ';
            }
        } else {
            line += c;
        }
        if (line.size() > kLineWidth) {
            lines.push_back(line);
            line.clear();
        }
    }
    if (lines.size() < kPreviewLines && !line.empty()) {
        lines.push_back(line);
    }
    return lines;
}
