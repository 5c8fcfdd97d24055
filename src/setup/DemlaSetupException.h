#pragma once

#include <cstddef>
#include <optional>
#include <string>

class Prompt;

// A syntax error found while reading a setup file: its code (1 to
// kSetupErrorCodes), the names of the section and the item that were being
// read, and for a damaged file the line where the damage lies. A name that
// was never set is absent, which is not the same as an empty name: the
// report prints a "Section:" line for an empty name but none for an absent
// one.
class DemlaSetupException {
public:
    DemlaSetupException(std::optional<std::string> section, std::optional<std::string> item,
                        int code, std::optional<std::size_t> line = std::nullopt)
        : section_(std::move(section)), item_(std::move(item)), code_(code), line_(line) {}

    int GetCode() const { return code_; }
    const std::optional<std::string>& GetSection() const { return section_; }
    const std::optional<std::string>& GetItemName() const { return item_; }
    // The line of the file (from 1) where the error lies, when it is known.
    const std::optional<std::size_t>& GetLine() const { return line_; }

    // The message text of the code.
    const char* GetMessage() const;

private:
    std::optional<std::string> section_;
    std::optional<std::string> item_;
    int code_;
    std::optional<std::size_t> line_;
};

// The highest error code.
inline constexpr int kSetupErrorCodes = 24;
// A zero byte in the file: no text file holds one, a damaged file does.
inline constexpr int kSetupZeroByte = 23;
// A value whose "{" is never closed: the file was cut off within it.
inline constexpr int kSetupBraceNotClosed = 24;

// The message text of a setup error code; empty for a code that has none.
const char* SetupExceptionMessage(int code);

// The caption of the box that shows a setup error.
inline constexpr const char* kSetupExceptionCaption = "Demla Setup File Exception";

// The text of that box: the section, item and line lines, then the message.
std::string SetupExceptionText(const DemlaSetupException& exception);

// Shows the error in a box with an OK button.
void ReportSetupException(Prompt& prompt, const DemlaSetupException& exception);
