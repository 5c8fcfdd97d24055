#include "cli/CommandLine.h"
#include "gui/GuiMain.h"

#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

// The program's entry: a first argument that names a headless command runs
// it with the arguments after it; anything else opens the window, with the
// setup files named.
int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (arguments.empty()) {
        return RunGui(argc, argv);
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
        if (command == "--version") {
            std::cout << "demla " << DEMLA_VERSION << '\n';
            return kExitSuccess;
        }
    } catch (const std::exception& e) {
        std::cerr << "demla: " << e.what() << '\n';
        return kExitFailure;
    }
    if (command.starts_with("--")) {
        return UsageError("unknown option " + command);
    }
    return RunGui(argc, argv);
}
