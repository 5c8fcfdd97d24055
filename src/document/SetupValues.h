#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class DemlaSetup;

// Reading and writing single setup values the way the document needs them,
// so that whatever the document holds is written in a form the reader
// takes back.

// text as a setup string, quotes included (see Escape).
std::string SetupStringText(std::string_view text);

// A single byte as a setup string ("|"), made safe the same way.
std::string SetupByteText(char byte);

// A file name as a setup value: in double quotes when it was quoted or
// holds a character that would break the setup syntax ("[", "]", ";",
// white space at either end), else bare.
std::string FileNameValueText(const std::string& name, bool quoted);

// A colour from a setup number: values from 0 to 0xFFFFFFFF as they are,
// negative ones as the 32-bit pattern of their integer part (so -1 is
// 0xFFFFFFFF), NaN as 0.
std::uint32_t ColorFromDouble(double value);

// The value of the loaded item as a file name: the text between the first
// two double quotes, or the bare text trimmed of white space. Unlike the
// reader's GetQuotedValue, a ";" inside the quotes belongs to the name.
// quoted tells whether the name was quoted. Raises "String not closed"
// for a single quote. Empty when no item is loaded.
std::string ReadFileNameValue(DemlaSetup& reader, bool* quoted = nullptr);
