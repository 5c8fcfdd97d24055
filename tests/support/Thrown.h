#pragma once

#include <string>

// What action throws as E: "place: description" or "code: message";
// "nothing" when it returns.
template <typename E, typename Action>
std::string Thrown(Action&& action) {
    try {
        action();
    } catch (const E& e) {
        if constexpr (requires { e.GetPlace(); }) {
            return e.GetPlace() + ": " + e.GetDescription();
        } else {
            return std::to_string(e.GetCode()) + ": " + e.GetMessage();
        }
    }
    return "nothing";
}
