#pragma once

#include "core/Prompt.h"

#include <QPointer>
#include <QWidget>

class QMessageBox;

// Gives a message box the frame of a message: a title and a close button,
// without the minimise and maximise buttons that a window manager would
// give a window that owns no parent.
void UseMessageFrame(QMessageBox& box);

// The window's prompt: every message and question of the logic is a
// message box over the program's active window.
class QtPrompt : public Prompt {
public:
    explicit QtPrompt(QWidget* owner = nullptr) : owner_(owner) {}

    PromptAnswer Ask(const std::string& caption, const std::string& text, PromptButtons buttons,
                     PromptIcon icon) override;
    PromptAnswer AskWithDefault(const std::string& caption, const std::string& text,
                                PromptButtons buttons, PromptIcon icon,
                                PromptAnswer defaultAnswer) override;

    void SetOwner(QWidget* owner) { owner_ = owner; }

private:
    QPointer<QWidget> owner_;
};
