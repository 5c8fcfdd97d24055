#pragma once

#include "core/Prompt.h"

#include <string>
#include <vector>

// A prompt that asks nobody: work that must not wait for a person (a
// reload in monitor mode) runs with it. Every question gets the answer
// that loses nothing (Cancel, or No where there is no Cancel), so a load
// that would ask whether to go on with damaged data stops instead; every
// text is kept for whoever reports the outcome.
class CollectingPrompt : public Prompt {
public:
    struct Message {
        std::string caption;
        std::string text;
    };

    PromptAnswer Ask(const std::string& caption, const std::string& text, PromptButtons buttons,
                     PromptIcon /*icon*/) override {
        messages_.push_back({caption, text});
        switch (buttons) {
        case PromptButtons::Ok:
            return PromptAnswer::Ok;
        case PromptButtons::YesNo:
            return PromptAnswer::No;
        case PromptButtons::OkCancel:
        case PromptButtons::YesNoCancel:
            break;
        }
        return PromptAnswer::Cancel;
    }

    const std::vector<Message>& Messages() const { return messages_; }

private:
    std::vector<Message> messages_;
};
