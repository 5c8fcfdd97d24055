#pragma once

#include <string>
#include <string_view>

// Walks a command line the way the program has always read it: tokens are
// separated by blanks; a token that begins with a double quote runs to the
// next double quote, without the quotes; an unclosed quote or an empty
// quoted token ends the walk.
class LCmdLineIter {
public:
    explicit LCmdLineIter(std::string_view commandLine) : line_(commandLine) {}

    // Moves to the next token; false when there is none.
    bool Next();
    const std::string& Current() const { return current_; }

private:
    std::string line_;
    std::size_t position_ = 0;
    bool ended_ = false;
    std::string current_;
};

// The command line of a program started with argv, as one text: every
// argument that holds a blank (or is empty) is quoted.
std::string JoinCommandLine(int argc, const char* const* argv);

// True for a token that names a setup file: longer than ".dml" and ending
// in it, in any case.
bool IsSetupFileToken(std::string_view token);
