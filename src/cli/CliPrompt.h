#pragma once

#include "core/Prompt.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The prompt of the command line: every box is printed as "Caption: text"
// on standard error, and every question gets the same answer, OK or Yes,
// or Cancel or No when the user asked for that. What was shown is kept for
// the report of the info command.
class CliPrompt : public Prompt {
public:
    struct Message {
        std::string caption;
        std::string text;
        // The answer given to a question; none for a box with an OK button
        // only, which asks nothing.
        std::optional<PromptAnswer> answer;
    };

    CliPrompt(std::ostream& output, bool cancel) : output_(output), cancel_(cancel) {}

    PromptAnswer Ask(const std::string& caption, const std::string& text, PromptButtons buttons,
                     PromptIcon icon) override;

    const std::vector<Message>& Messages() const { return messages_; }

private:
    std::ostream& output_;
    bool cancel_;
    std::vector<Message> messages_;
};
