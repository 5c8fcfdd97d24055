#pragma once

#include <cstddef>
#include <string>

// Text operations shared by the setup reader, the document loader and the
// document writer. All work in place.

// Replaces every backslash-quote pair by a double quote.
void Unescape(std::string& text);

// Inserts a backslash before every double quote, so that the text can be
// written inside a setup string; Unescape reverses it. The reader takes any
// quote right after a backslash for part of the string, so a text ending
// in a backslash could never be closed: such a text gets one blank after
// its last backslash, which keeps the file readable and the backslash
// visible.
void Escape(std::string& text);

// The text escaped and in double quotes, ready to be written as a setup
// string.
std::string QuotedSetupString(std::string text);

// Removes white space (space, tab, line feed, vertical tab, form feed,
// carriage return) at both ends.
void TrimSpaces(std::string& text);

// A double in the shortest form that reads back as the same double, as
// annotations are written.
std::string ShortNumberText(double value);

// The longest number text that every reader of setup numbers takes (the
// scale's elements are read into buffers of 256 bytes).
inline constexpr std::size_t kMaxNumberTextLength = 255;

// A double through a number format code (the legend's format for the
// scale, "F2" for widths). Whatever the code makes of the value, the text
// written is one the reader takes as a number: a format that produces
// anything else falls back to the exact form, and infinities and NaN are
// written as "+inf", "-inf" and "-nan", which read back as such. A text
// longer than kMaxNumberTextLength is replaced by the shortest exact form.
std::string FormattedNumberText(double value, const std::string& format);
