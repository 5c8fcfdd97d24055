#include "document/NewSetup.h"

#include "document/SetupValues.h"

std::string SetupPathForDataFile(const std::string& dataPath) {
    const std::size_t slash = dataPath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = dataPath.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) {
        return dataPath + ".dml";
    }
    return dataPath.substr(0, dot) + ".dml";
}

std::optional<std::string> AsciiFormatValue(const AsciiFormat& format) {
    if (format.fieldKind == AsciiFormat::Field::Comma &&
        format.recordKind == AsciiFormat::Record::Crlf) {
        return std::nullopt;
    }
    std::string value = "{ ";
    switch (format.fieldKind) {
    case AsciiFormat::Field::Comma:
        value += "comma, ";
        break;
    case AsciiFormat::Field::Spaces:
        value += "spaces, ";
        break;
    case AsciiFormat::Field::Custom:
        value += "custom, " + SetupByteText(format.customField) + ",";
        break;
    }
    if (format.recordKind == AsciiFormat::Record::Crlf) {
        value += "crlf }";
    } else {
        value += "custom, " + SetupByteText(format.customRecord) + " }";
    }
    return value;
}

std::optional<std::string> SetupNameValue(const std::string& name, std::string* why) {
    const auto refuse = [&](const char* reason) -> std::optional<std::string> {
        if (why != nullptr) {
            *why = reason;
        }
        return std::nullopt;
    };
    if (name.find('"') != std::string::npos) {
        return refuse("holds a double quote");
    }
    const std::string value = FileNameValueText(name, false);
    if (!name.empty() && value.front() == '"' && name.back() == '\\') {
        return refuse("ends in a backslash");
    }
    return value;
}

std::optional<std::string> GeneratedSetupText(const std::string& dataPath, int dataFormat,
                                              const AsciiFormat& format, std::string* error,
                                              const std::string& valueColumn) {
    std::string why;
    const std::optional<std::string> path = SetupNameValue(dataPath, &why);
    if (!path) {
        if (error != nullptr) {
            *error = "The data file cannot be named in a setup file: its path " + why + "\r\n" +
                     dataPath;
        }
        return std::nullopt;
    }
    std::string text = "[DATA]\nMapMatrix=" + *path + ";\n";
    switch (dataFormat) {
    case kAsciiFormat:
        text += std::string("Format=") + kAsciiFormatName + ";\n";
        if (const std::optional<std::string> value = AsciiFormatValue(format)) {
            text += "AsciiFormat=" + *value + ";\n";
        }
        break;
    case kLexisTableFormat: {
        text += std::string("Format=") + kLexisTableFormatName + ";\n";
        const std::optional<std::string> column = SetupNameValue(valueColumn, &why);
        if (!column) {
            if (error != nullptr) {
                *error = "The value column cannot be named in a setup file: its name " + why +
                         "\r\n" + valueColumn;
            }
            return std::nullopt;
        }
        if (!valueColumn.empty()) {
            text += "ValueColumn=" + *column + ";\n";
        }
        break;
    }
    default:
        text += std::string("Format=") + kGaussFormatName + ";\n";
        break;
    }
    return text;
}
