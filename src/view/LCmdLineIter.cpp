#include "view/LCmdLineIter.h"

#include <cctype>

bool LCmdLineIter::Next() {
    current_.clear();
    if (ended_) {
        return false;
    }
    while (position_ < line_.size() && line_[position_] == ' ') {
        ++position_;
    }
    if (position_ >= line_.size()) {
        ended_ = true;
        return false;
    }
    if (line_[position_] == '"') {
        const std::size_t close = line_.find('"', position_ + 1);
        if (close == std::string::npos || close == position_ + 1) {
            ended_ = true;
            return false;
        }
        current_ = line_.substr(position_ + 1, close - position_ - 1);
        position_ = close + 1;
        return true;
    }
    std::size_t end = line_.find(' ', position_);
    if (end == std::string::npos) {
        end = line_.size();
    }
    current_ = line_.substr(position_, end - position_);
    position_ = end;
    return true;
}

std::string JoinCommandLine(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i] != nullptr ? argv[i] : "";
        if (!line.empty()) {
            line += ' ';
        }
        if (argument.empty() || argument.find(' ') != std::string_view::npos) {
            line += '"';
            line += argument;
            line += '"';
        } else {
            line += argument;
        }
    }
    return line;
}

bool IsSetupFileToken(std::string_view token) {
    constexpr std::string_view kExtension = ".dml";
    if (token.size() <= kExtension.size()) {
        return false;
    }
    const std::string_view tail = token.substr(token.size() - kExtension.size());
    for (std::size_t i = 0; i < kExtension.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != kExtension[i]) {
            return false;
        }
    }
    return true;
}
