#pragma once

#include "gui/Commands.h"

#include <array>
#include <functional>
#include <map>
#include <optional>

// The commands one scope answers: for each, what it does, whether it may be
// done now and, for a command with a check mark, whether it is checked.
class CommandHandlers {
public:
    using Run = std::function<void()>;
    using Enabled = std::function<bool()>;
    using Checked = std::function<std::optional<bool>()>;

    // Without an enabler the command is always enabled.
    void Add(int command, Run run, Enabled enabled = {}, Checked checked = {});

    bool Handles(int command) const { return handlers_.contains(command); }
    bool IsEnabled(int command) const;
    // Nothing for a command without a check mark, or one not handled here.
    std::optional<bool> IsChecked(int command) const;
    // Runs the command when it is handled here and enabled; false otherwise.
    bool Execute(int command) const;

private:
    struct Handler {
        Run run;
        Enabled enabled;
        Checked checked;
    };
    std::map<int, Handler> handlers_;
};

// Sends each command to the handlers of its scope (see CommandScope): the
// window attaches its own for the program and the document, and the active
// view's for the view kinds. A scope with nothing attached disables its
// commands.
class CommandRouter {
public:
    // Null detaches. The handlers must outlive their attachment.
    void Attach(CommandScope scope, const CommandHandlers* handlers);
    // The active view changed: its scope gets its handlers, the other view
    // scopes none (null: no view is active).
    void AttachView(CommandScope scope, const CommandHandlers* handlers);

    bool IsEnabled(int command) const;
    std::optional<bool> IsChecked(int command) const;
    // Runs an enabled command; false when it is disabled or has no handler.
    bool Execute(int command) const;

private:
    const CommandHandlers* For(int command) const;

    std::array<const CommandHandlers*, 5> scopes_{};
};
