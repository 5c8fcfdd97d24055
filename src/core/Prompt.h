#pragma once

#include <string>

// The program's name, used as the caption of boxes that have no caption of
// their own (the input validators' messages, for instance).
inline constexpr const char* kApplicationName = "Demla";

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptIcon { None, Information, Warning, Exclamation, Error, Question };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// Every message box and question that the logic raises goes through this
// interface, so the logic never depends on a window system. The GUI shows a
// real message box, the command line prints and answers by policy, and
// tests answer from a script and record what was asked.
class Prompt {
public:
    virtual ~Prompt() = default;

    virtual PromptAnswer Ask(const std::string& caption, const std::string& text,
                             PromptButtons buttons, PromptIcon icon) = 0;

    // A question whose default button (the one that Enter presses) gives
    // defaultAnswer, for questions where the careless answer loses data. A
    // prompt that has no default button asks as Ask does.
    virtual PromptAnswer AskWithDefault(const std::string& caption, const std::string& text,
                                        PromptButtons buttons, PromptIcon icon,
                                        PromptAnswer /*defaultAnswer*/) {
        return Ask(caption, text, buttons, icon);
    }

    // A box with an OK button only.
    void Show(const std::string& caption, const std::string& text,
              PromptIcon icon = PromptIcon::None) {
        Ask(caption, text, PromptButtons::Ok, icon);
    }

    // A question; true when the user chose OK or Yes.
    bool Confirm(const std::string& caption, const std::string& text,
                 PromptButtons buttons = PromptButtons::OkCancel,
                 PromptIcon icon = PromptIcon::None) {
        const PromptAnswer answer = Ask(caption, text, buttons, icon);
        return answer == PromptAnswer::Ok || answer == PromptAnswer::Yes;
    }
};
