#include "core/Picture.h"

#include "core/LException.h"

#include <cstddef>

namespace {

// The parsed picture: a sequence of items, each a digit, a literal, a
// repeated item, or a group (optional or not) of alternative sequences.
struct Item;
using Sequence = std::vector<Item>;

struct Item {
    enum Kind { Digit, Literal, Repeat, Group, Optional } kind;
    char literal = '\0';
    std::vector<Sequence> parts; // Repeat: one part of one item
};

[[noreturn]] void Malformed() {
    throw LException("Picture", "malformed picture");
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    Sequence ParseAll() {
        Sequence top = ParseSequence(false);
        if (pos_ != text_.size()) {
            Malformed();
        }
        return top;
    }

private:
    // Inside brackets, "," and the closing brackets end a sequence.
    Sequence ParseSequence(bool nested) {
        Sequence items;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ']' || c == '}' || (nested && c == ',')) {
                break;
            }
            items.push_back(ParseItem());
        }
        return items;
    }

    Item ParseItem() {
        const char c = text_[pos_++];
        switch (c) {
        case '#':
            return {Item::Digit, '\0', {}};
        case '*':
            if (pos_ >= text_.size()) {
                Malformed();
            }
            return {Item::Repeat, '\0', {Sequence{ParseItem()}}};
        case '[':
            return {Item::Optional, '\0', ParseAlternatives(']')};
        case '{':
            return {Item::Group, '\0', ParseAlternatives('}')};
        case ']':
        case '}':
            Malformed();
        default:
            return {Item::Literal, c, {}};
        }
    }

    std::vector<Sequence> ParseAlternatives(char close) {
        std::vector<Sequence> alternatives{ParseSequence(true)};
        while (pos_ < text_.size() && text_[pos_] == ',') {
            ++pos_;
            alternatives.push_back(ParseSequence(true));
        }
        if (pos_ >= text_.size() || text_[pos_] != close) {
            Malformed();
        }
        ++pos_;
        return alternatives;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

// Builds the automaton back to front: each item is compiled with the state
// that follows it already known, and returns its own entry state.
class PictureCompiler {
public:
    explicit PictureCompiler(Picture& picture) : p_(picture) {}

    int CompileSequence(const Sequence& items, int follow) {
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            follow = CompileItem(*it, follow);
        }
        return follow;
    }

private:
    int CompileItem(const Item& item, int follow) {
        switch (item.kind) {
        case Item::Digit:
        case Item::Literal: {
            const int s = p_.AddState(item.kind == Item::Digit ? Picture::State::Digit
                                                               : Picture::State::Literal,
                                      item.literal);
            p_.states_[s].next.push_back(follow);
            return s;
        }
        case Item::Repeat: {
            // A loop: either leave, or read the item once more and come back.
            const int loop = p_.AddState(Picture::State::Split);
            const int body = CompileSequence(item.parts.front(), loop);
            p_.states_[loop].next = {follow, body};
            return loop;
        }
        case Item::Group:
        case Item::Optional: {
            std::vector<int> entries;
            for (const Sequence& alternative : item.parts) {
                entries.push_back(CompileSequence(alternative, follow));
            }
            if (item.kind == Item::Optional) {
                entries.push_back(follow);
            }
            const int split = p_.AddState(Picture::State::Split);
            p_.states_[split].next = std::move(entries);
            return split;
        }
        }
        return follow;
    }

    Picture& p_;
};

Picture::Picture(std::string_view notation) : notation_(notation) {
    const Sequence items = Parser(notation).ParseAll();
    // The accepting state is state 0; Match relies on it.
    const int accept = AddState(State::Accept);
    start_ = PictureCompiler(*this).CompileSequence(items, accept);
}

int Picture::AddState(State::Kind kind, char literal) {
    states_.push_back({kind, literal, {}});
    return static_cast<int>(states_.size()) - 1;
}

// Adds state and every state reachable from it without reading a character.
void Picture::Close(int state, std::vector<char>& set) const {
    if (set[state]) {
        return;
    }
    set[state] = 1;
    if (states_[state].kind == State::Split) {
        for (int n : states_[state].next) {
            Close(n, set);
        }
    }
}

PictureMatch Picture::Match(std::string_view text) const {
    std::vector<char> current(states_.size(), 0);
    Close(start_, current);
    for (const char c : text) {
        std::vector<char> next(states_.size(), 0);
        bool any = false;
        for (std::size_t s = 0; s < states_.size(); ++s) {
            const State& state = states_[s];
            const bool reads = (state.kind == State::Digit && c >= '0' && c <= '9') ||
                               (state.kind == State::Literal && c == state.literal);
            if (current[s] && reads) {
                Close(state.next.front(), next);
                any = true;
            }
        }
        if (!any) {
            return PictureMatch::Impossible;
        }
        current.swap(next);
    }
    // Every state of the automaton leads on to the accepting one, so any
    // live state means the text can still be completed.
    return current[0] ? PictureMatch::Complete : PictureMatch::Prefix;
}
