#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Walks a section body and stops on every word that stands where an item
// name may stand: the first run of word characters at the start of the
// body or after a ";" outside a string. Words inside strings, inside
// comments ("/@" up to the next ";" outside a string) and further on in a
// value are passed over. The body ends at its zero byte.
class SetupWordIterator {
public:
    // The body must stay alive and unchanged while the iterator is used; a
    // null body has no words.
    explicit SetupWordIterator(const char* body) : body_(body) {}

    // Moves to the next candidate item name; false at the end of the body.
    bool Next();

    // Zero when the current word equals name as a whole; else the sign of
    // the first difference, as strcmp.
    int Compare(std::string_view name) const;

    // The same for the first n bytes only, as strncmp with the word
    // ending after its last character.
    int CompareN(std::string_view name, std::size_t n) const;

    // Copies the current word into buffer when it is shorter than max
    // bytes (so that it fits a buffer of max bytes with its zero byte).
    bool CopyWord(std::string& buffer, std::size_t max) const;

    const char* GetBody() const { return body_; }
    const char* GetWordStart() const { return body_ == nullptr ? nullptr : body_ + wordStart_; }
    std::size_t GetWordOffset() const { return wordStart_; }
    std::size_t GetWordLength() const { return wordLength_; }
    std::string_view GetWord() const {
        return body_ == nullptr ? std::string_view()
                                : std::string_view(body_ + wordStart_, wordLength_);
    }

private:
    const char* body_;
    std::size_t position_ = 0;
    std::size_t wordStart_ = 0;
    std::size_t wordLength_ = 0;
    bool expectName_ = true;
    bool inString_ = false;
    bool inComment_ = false;
};
