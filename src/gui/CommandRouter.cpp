#include "gui/CommandRouter.h"

void CommandHandlers::Add(int command, Run run, Enabled enabled, Checked checked) {
    handlers_[command] = Handler{std::move(run), std::move(enabled), std::move(checked)};
}

bool CommandHandlers::IsEnabled(int command) const {
    const auto found = handlers_.find(command);
    if (found == handlers_.end()) {
        return false;
    }
    return !found->second.enabled || found->second.enabled();
}

std::optional<bool> CommandHandlers::IsChecked(int command) const {
    const auto found = handlers_.find(command);
    if (found == handlers_.end() || !found->second.checked) {
        return std::nullopt;
    }
    return found->second.checked();
}

bool CommandHandlers::Execute(int command) const {
    if (!IsEnabled(command)) {
        return false;
    }
    // Copied: the command may replace the handlers that run it.
    const Run run = handlers_.at(command).run;
    run();
    return true;
}

void CommandRouter::Attach(CommandScope scope, const CommandHandlers* handlers) {
    scopes_[static_cast<std::size_t>(scope)] = handlers;
}

void CommandRouter::AttachView(CommandScope scope, const CommandHandlers* handlers) {
    Attach(CommandScope::MapView, nullptr);
    Attach(CommandScope::TextView, nullptr);
    if (handlers != nullptr) {
        Attach(scope, handlers);
    }
}

const CommandHandlers* CommandRouter::For(int command) const {
    const CommandInfo* info = FindCommand(command);
    if (info == nullptr) {
        return nullptr;
    }
    return scopes_[static_cast<std::size_t>(info->scope)];
}

bool CommandRouter::IsEnabled(int command) const {
    const CommandHandlers* handlers = For(command);
    return handlers != nullptr && handlers->IsEnabled(command);
}

std::optional<bool> CommandRouter::IsChecked(int command) const {
    const CommandHandlers* handlers = For(command);
    return handlers != nullptr ? handlers->IsChecked(command) : std::nullopt;
}

bool CommandRouter::Execute(int command) const {
    const CommandHandlers* handlers = For(command);
    return handlers != nullptr && handlers->Execute(command);
}
