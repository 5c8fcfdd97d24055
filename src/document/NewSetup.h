#pragma once

#include "datafiles/AsciiFormat.h"

#include <optional>
#include <string>

// The setup file that File New writes for a data file: it names the data
// file and its format and leaves every other setting to the defaults of a
// generated setup.

// The data file formats, as DataFormat numbers them.
inline constexpr int kGaussFormat = 1;
inline constexpr int kAsciiFormat = 2;

inline constexpr const char* kGaussFormatName = "Gauss 3.2 DOS FMT";
inline constexpr const char* kAsciiFormatName = "ASCII";

// The setup path for a data file: the extension of the file name replaced
// by ".dml", or ".dml" appended when the file name has no extension.
std::string SetupPathForDataFile(const std::string& dataPath);

// The AsciiFormat value of the delimiters ("{ spaces, crlf }"), or nothing
// for the default pair (comma and CR LF), which needs no key.
std::optional<std::string> AsciiFormatValue(const AsciiFormat& format);

// The setup text, lines ended by line feeds. The data path is written bare
// unless it holds a character that would break the setup syntax ("[", "]",
// ";", white space at either end); then it is quoted. Nothing when the path
// cannot be written at all (it holds a double quote, or a quoted path would
// end in a backslash); error then holds the message to show.
std::optional<std::string> GeneratedSetupText(const std::string& dataPath, int dataFormat,
                                              const AsciiFormat& format, std::string* error);
