#include "cli/CliPrompt.h"

#include <ostream>

PromptAnswer CliPrompt::Ask(const std::string& caption, const std::string& text,
                            PromptButtons buttons, PromptIcon) {
    std::optional<PromptAnswer> answer;
    switch (buttons) {
    case PromptButtons::Ok:
        break;
    case PromptButtons::OkCancel:
        answer = cancel_ ? PromptAnswer::Cancel : PromptAnswer::Ok;
        break;
    case PromptButtons::YesNo:
        answer = cancel_ ? PromptAnswer::No : PromptAnswer::Yes;
        break;
    case PromptButtons::YesNoCancel:
        answer = cancel_ ? PromptAnswer::Cancel : PromptAnswer::Yes;
        break;
    }
    // Messages use Windows line ends; a terminal wants bare line feeds.
    std::string shown;
    for (const char c : text) {
        if (c != '\r') {
            shown += c;
        }
    }
    output_ << caption << ": " << shown << '\n';
    output_.flush();
    messages_.push_back({caption, text, answer});
    return answer.value_or(PromptAnswer::Ok);
}
