#pragma once

#include <initializer_list>
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Exit statuses of the headless commands.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// The command did its work, but loading the map reported errors or warnings:
// the map may not be what its setup file asks for.
inline constexpr int kExitOpenedWithErrors = 3;

class ChartDocument;
class CliPrompt;

// The status of a command after its document opened: kExitOpenedWithErrors
// when loading stopped at an accepted error or showed any message, else
// kExitSuccess. Call it right after Open, before anything else prompts.
int LoadStatus(const ChartDocument& document, const CliPrompt& prompt);

// The arguments of one command: its operands and its options. Options are
// words beginning with "-"; "--" ends them, so a file name may begin with
// "-" too.
class CommandArguments {
public:
    // valueOptions take the next argument as their value; flags stand
    // alone. Nothing, with error set, for an unknown option or an option
    // without its value.
    static std::optional<CommandArguments>
    Parse(std::span<const std::string> arguments,
          std::initializer_list<std::string_view> valueOptions,
          std::initializer_list<std::string_view> flags, std::string& error);

    const std::vector<std::string>& Operands() const { return operands_; }
    std::optional<std::string> Value(std::string_view option) const;
    bool Has(std::string_view flag) const;

private:
    std::vector<std::string> operands_;
    std::map<std::string, std::string, std::less<>> values_;
    std::set<std::string, std::less<>> flags_;
};

// The usage text of the headless commands.
void PrintUsage(std::ostream& output);

// Prints the usage error and the usage text to standard error; returns
// kExitUsage.
int UsageError(const std::string& message);

// The headless commands; arguments are those after the command's name.
int RunInfo(std::span<const std::string> arguments);
int RunResave(std::span<const std::string> arguments);
int RunNew(std::span<const std::string> arguments);
int RunRender(std::span<const std::string> arguments);
