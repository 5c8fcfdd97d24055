#pragma once

#include "core/Prompt.h"

#include <deque>
#include <string>
#include <vector>

// A prompt that answers from a script and records every box it was shown.
// When the script runs out it answers OK (or Yes for Yes/No questions).
class ScriptedPrompt : public Prompt {
public:
    struct Entry {
        std::string caption;
        std::string text;
        PromptButtons buttons;
        PromptIcon icon;
        PromptAnswer answer;
    };

    // Queues the answer to the next question.
    ScriptedPrompt& Then(PromptAnswer answer) {
        script_.push_back(answer);
        return *this;
    }

    PromptAnswer Ask(const std::string& caption, const std::string& text, PromptButtons buttons,
                     PromptIcon icon) override {
        PromptAnswer answer =
            buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel
                ? PromptAnswer::Yes
                : PromptAnswer::Ok;
        if (buttons != PromptButtons::Ok && !script_.empty()) {
            answer = script_.front();
            script_.pop_front();
        }
        entries_.push_back({caption, text, buttons, icon, answer});
        return answer;
    }

    const std::vector<Entry>& Entries() const { return entries_; }
    std::size_t Count() const { return entries_.size(); }
    const Entry& Last() const { return entries_.back(); }

private:
    std::deque<PromptAnswer> script_;
    std::vector<Entry> entries_;
};
