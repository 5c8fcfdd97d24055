#pragma once

#include "datafiles/AsciiFormat.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The setup file that File New writes for a data file: it names the data
// file and its format and leaves every other setting to the defaults of a
// generated setup.

// The data file formats, as DataFormat numbers them.
inline constexpr int kGaussFormat = 1;
inline constexpr int kAsciiFormat = 2;
// A long table of the Human Mortality or Human Fertility Database.
inline constexpr int kLexisTableFormat = 3;

inline constexpr const char* kGaussFormatName = "Gauss 3.2 DOS FMT";
inline constexpr const char* kAsciiFormatName = "ASCII";
inline constexpr const char* kLexisTableFormatName = "HMD";

// The name Format gives a DataFormat number; empty when it is not set.
inline std::string_view DataFormatName(int dataFormat) {
    switch (dataFormat) {
    case kGaussFormat:
        return kGaussFormatName;
    case kAsciiFormat:
        return kAsciiFormatName;
    case kLexisTableFormat:
        return kLexisTableFormatName;
    default:
        return {};
    }
}

// A kind of data file that File New offers, as one filter of its dialog.
struct DataFileKind {
    // The filter's text, its patterns in parentheses.
    std::string_view description;
    // The patterns alone, separated by ";".
    std::string_view patterns;
    int format;
    // The delimiters of an ASCII file are asked for in the ASCII format
    // dialog; otherwise they are comma and CR LF.
    bool asksDelimiters;
    // A table asks which of its value columns to show (the names come from
    // ReadLexisTableHeader).
    bool asksValueColumn;
};

// The kinds in the order of the dialog's filters; the first is preselected.
inline constexpr std::array<DataFileKind, 4> kDataFileKinds = {{
    {"Gauss format(*.FMT)", "*.FMT", kGaussFormat, false, false},
    {"ASCII(*.DAT;*.TXT;*.ASC)", "*.DAT;*.TXT;*.ASC", kAsciiFormat, true, false},
    {"Comma delimited (*.CSV)", "*.CSV", kAsciiFormat, false, false},
    {"Human Mortality/Fertility Database (*.txt)", "*.txt", kLexisTableFormat, false, true},
}};

// The setup path for a data file: the extension of the file name replaced
// by ".dml", or ".dml" appended when the file name has no extension.
std::string SetupPathForDataFile(const std::string& dataPath);

// The AsciiFormat value of the delimiters ("{ spaces, crlf }"), or nothing
// for the default pair (comma and CR LF), which needs no key.
std::optional<std::string> AsciiFormatValue(const AsciiFormat& format);

// A setup value that names a file or a column: bare when the setup syntax
// allows it, quoted when the text holds "[", "]", ";" or white space at
// either end. Nothing when it cannot be written at all (it holds a double
// quote, or a quoted text would end in a backslash); why then says why.
std::optional<std::string> SetupNameValue(const std::string& name, std::string* why = nullptr);

// The setup text, lines ended by line feeds; a table of the mortality and
// fertility databases names its value column too. Nothing when the data
// path or the column cannot be written; error then holds the message to
// show.
std::optional<std::string> GeneratedSetupText(const std::string& dataPath, int dataFormat,
                                              const AsciiFormat& format, std::string* error,
                                              const std::string& valueColumn = {});
