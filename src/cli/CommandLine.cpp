#include "cli/CommandLine.h"

#include "cli/CliPrompt.h"
#include "document/ChartDocument.h"

#include <algorithm>
#include <iostream>

std::optional<CommandArguments>
CommandArguments::Parse(std::span<const std::string> arguments,
                        std::initializer_list<std::string_view> valueOptions,
                        std::initializer_list<std::string_view> flags, std::string& error) {
    CommandArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            parsed.operands_.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (std::find(valueOptions.begin(), valueOptions.end(), argument) != valueOptions.end()) {
            if (i + 1 >= arguments.size()) {
                error = "option " + argument + " needs a value";
                return std::nullopt;
            }
            parsed.values_[argument] = arguments[++i];
        } else if (std::find(flags.begin(), flags.end(), argument) != flags.end()) {
            parsed.flags_.insert(argument);
        } else {
            error = "unknown option " + argument;
            return std::nullopt;
        }
    }
    return parsed;
}

std::optional<std::string> CommandArguments::Value(std::string_view option) const {
    const auto found = values_.find(option);
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool CommandArguments::Has(std::string_view flag) const {
    return flags_.find(flag) != flags_.end();
}

void PrintUsage(std::ostream& output) {
    output << "usage: demla [FILE.dml ...] [-unregister]\n"
              "       demla info FILE.dml [--json] [--cancel]\n"
              "       demla resave FILE.dml [-o NEW.dml] [--force] [--cancel]\n"
              "       demla new DATA [--format gauss|ascii|hmd] [--field comma|spaces|CHAR]\n"
              "                      [--record crlf|CHAR] [--column NAME] [-o SETUP.dml]\n"
              "                      [--derive ratio|difference|improvement|smooth]\n"
              "                      [--second DATA] [--second-column NAME] [--lag K]\n"
              "                      [--half-width H] [--cohort-lines STEP]\n"
              "                      [--minimal] [--cancel]\n"
              "       demla render FILE.dml -o OUT.{png,bmp,svg,pdf,emf} [--size WxH] [--cancel]\n"
              "       demla render FILE.dml... --out-dir DIR [--format png|bmp|svg|pdf|emf]\n"
              "                    [--size WxH] [--jobs N] [--cancel]\n"
              "       demla render FILE.dml... -o ATLAS.pdf [--size WxH] [--cancel]\n"
              "       demla --version | --help\n"
              "Without a command, the program opens its window with the setup files named\n"
              "(and registers itself with the desktop, or removes that with -unregister).\n"
              "The commands need no display. Their messages are printed on standard error\n"
              "as \"Caption: text\"; every question is answered OK or Yes, or Cancel or No\n"
              "with --cancel.\n"
              "Exit status: 0 done; 1 failed, and no file was written; 2 wrong usage;\n"
              "3 done (the output still written where the command writes one), but the map\n"
              "opened with errors: loading it reported errors or warnings, so it may not be\n"
              "what its setup file asks for.\n";
}

int LoadStatus(const ChartDocument& document, const CliPrompt& prompt) {
    return document.OpenedWithErrors() || !prompt.Messages().empty() ? kExitOpenedWithErrors
                                                                     : kExitSuccess;
}

int UsageError(const std::string& message) {
    std::cerr << "demla: " << message << '\n';
    PrintUsage(std::cerr);
    return kExitUsage;
}
