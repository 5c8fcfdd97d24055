#include "app/CommandLine.h"

#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

// The program's entry: the first argument names a headless command, which
// gets the arguments after it.
int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (arguments.empty()) {
        return UsageError("no command given");
    }
    const std::string& command = arguments.front();
    const std::span<const std::string> rest(arguments.data() + 1, arguments.size() - 1);
    try {
        if (command == "info") {
            return RunInfo(rest);
        }
        if (command == "resave") {
            return RunResave(rest);
        }
        if (command == "new") {
            return RunNew(rest);
        }
        if (command == "render") {
            return RunRender(rest);
        }
        if (command == "--help" || command == "-h" || command == "help") {
            PrintUsage(std::cout);
            return kExitSuccess;
        }
    } catch (const std::exception& e) {
        std::cerr << "demla: " << e.what() << '\n';
        return kExitFailure;
    }
    return UsageError("unknown command " + command);
}
