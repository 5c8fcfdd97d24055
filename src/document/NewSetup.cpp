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

std::optional<std::string> GeneratedSetupText(const std::string& dataPath, int dataFormat,
                                              const AsciiFormat& format, std::string* error) {
    const auto refuse = [&](const char* why) -> std::optional<std::string> {
        if (error != nullptr) {
            *error = std::string("The data file cannot be named in a setup file: ") + why + "\r\n" +
                     dataPath;
        }
        return std::nullopt;
    };
    if (dataPath.find('"') != std::string::npos) {
        return refuse("its path holds a double quote");
    }
    std::string text = "[DATA]\n";
    const std::string name = FileNameValueText(dataPath, false);
    if (!dataPath.empty() && name.front() == '"' && dataPath.back() == '\\') {
        return refuse("its path ends in a backslash");
    }
    text += "MapMatrix=" + name + ";\n";
    const bool ascii = dataFormat == kAsciiFormat;
    text += std::string("Format=") + (ascii ? kAsciiFormatName : kGaussFormatName) + ";\n";
    if (ascii) {
        if (const std::optional<std::string> value = AsciiFormatValue(format)) {
            text += "AsciiFormat=" + *value + ";\n";
        }
    }
    return text;
}
