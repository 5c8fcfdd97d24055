#include "setup/DemlaSetupException.h"

#include "core/Prompt.h"

#include <array>

namespace {

// Message of code n at index n - 1.
constexpr std::array<const char*, kSetupErrorCodes> kMessages = {
    "Token too long",
    "Unable open setup file",
    "Impossible exception",
    "String too long",
    "Bad expression",
    "Wrong matrix syntax",
    "Out of range",
    "Not a double",
    "Wrong braces",
    "Brackets are not balanced",
    "Syntax error: Equal sign expected after item",
    "Matrix reading error: the number of elements in the current and previous rows are "
    "different\nCheck if all rows have the row delimiter character at the end",
    "Invalid call of ItemIterator(): no item is loaded",
    "Invalid call of GetItem(): Vector operation on scalar type\nCheck if this item can be a "
    "scalar type",
    "Invalid call of InspectContainerType(): no item is loaded",
    "Unexpected element type",
    "GetElement(): trying to get an element from the matrix at invalid index\nCheck if all rows "
    "or columns are specified for this item",
    "Invalid number of columns\nConsult help file",
    "Expected numeric value: -123.5E+01",
    "Expected string: \"Text\"",
    "Expected literal: fname.ext",
    "String not closed",
    "Zero byte in the file: the setup file is damaged",
    "Closing brace missing: the setup file is cut off or damaged",
};

// The box shows at most this many characters of the message.
constexpr std::size_t kMaxMessageLength = 255;

} // namespace

const char* SetupExceptionMessage(int code) {
    if (code < 1 || code > static_cast<int>(kMessages.size())) {
        return "";
    }
    return kMessages[static_cast<std::size_t>(code - 1)];
}

const char* DemlaSetupException::GetMessage() const {
    return SetupExceptionMessage(code_);
}

std::string SetupExceptionText(const DemlaSetupException& exception) {
    std::string text;
    if (exception.GetSection()) {
        text += "Section: " + *exception.GetSection() + "\r\n";
    }
    if (exception.GetItemName()) {
        text += "Item: " + *exception.GetItemName() + "\r\n";
    }
    if (exception.GetLine()) {
        text += "Line: " + std::to_string(*exception.GetLine()) + "\r\n";
    }
    text += std::string(exception.GetMessage()).substr(0, kMaxMessageLength);
    return text;
}

void ReportSetupException(Prompt& prompt, const DemlaSetupException& exception) {
    prompt.Show(kSetupExceptionCaption, SetupExceptionText(exception));
}
