#pragma once

#include <string>
#include <string_view>
#include <vector>

// How far a text agrees with a picture.
enum class PictureMatch {
    Complete,   // the text is a valid entry
    Prefix,     // not yet valid, but typing more can make it valid
    Impossible, // no continuation can make it valid
};

// An input picture: "#" one decimal digit, "*" repeats the following item
// zero or more times, "[ ]" encloses an optional part, "{ }" groups, ","
// separates the alternatives of a group or optional part; any other
// character stands for itself (case sensitive). For example
// "{F,E}#[#]" takes "F2" and "E10".
//
// The picture is compiled into a small automaton that follows every way of
// reading the text at once, so alternatives and repeats never need
// backtracking and a prefix is recognised as such.
class Picture {
public:
    // Throws LException for unbalanced brackets or a "*" with nothing to repeat.
    explicit Picture(std::string_view notation);

    PictureMatch Match(std::string_view text) const;

    const std::string& GetNotation() const { return notation_; }

private:
    struct State {
        enum Kind { Accept, Digit, Literal, Split } kind;
        char literal;
        std::vector<int> next; // Digit/Literal: one; Split: any number
    };

    int AddState(State::Kind kind, char literal = '\0');
    void Close(int state, std::vector<char>& set) const;

    friend class PictureCompiler;

    std::string notation_;
    std::vector<State> states_;
    int start_ = 0;
};
