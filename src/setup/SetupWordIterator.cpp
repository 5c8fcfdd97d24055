#include "setup/SetupWordIterator.h"

#include "setup/CharClasses.h"

#include <algorithm>

bool SetupWordIterator::Next() {
    if (body_ == nullptr) {
        return false;
    }
    while (body_[position_] != '\0') {
        const auto c = static_cast<unsigned char>(body_[position_]);
        if (inString_) {
            // The opening quote stands before, so position_ - 1 is valid.
            if (c == '"' && body_[position_ - 1] != '\\') {
                inString_ = false;
            }
            ++position_;
        } else if (c == '"') {
            inString_ = true;
            ++position_;
        } else if (c == ';') {
            expectName_ = true;
            inComment_ = false;
            ++position_;
        } else if (c == '/' && body_[position_ + 1] == '@') {
            inComment_ = true;
            position_ += 2;
        } else if (expectName_ && !inComment_ && IsSetupWordChar(c)) {
            wordStart_ = position_;
            while (IsSetupWordChar(static_cast<unsigned char>(body_[position_]))) {
                ++position_;
            }
            wordLength_ = position_ - wordStart_;
            expectName_ = false;
            return true;
        } else {
            ++position_;
        }
    }
    return false;
}

int SetupWordIterator::Compare(std::string_view name) const {
    const int order = GetWord().compare(name);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int SetupWordIterator::CompareN(std::string_view name, std::size_t n) const {
    const std::string_view word = GetWord();
    const int order =
        word.substr(0, std::min(n, word.size())).compare(name.substr(0, std::min(n, name.size())));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool SetupWordIterator::CopyWord(std::string& buffer, std::size_t max) const {
    if (body_ == nullptr || wordLength_ >= max) {
        return false;
    }
    buffer.assign(body_ + wordStart_, wordLength_);
    return true;
}
