#pragma once

#include <string>

// Text operations shared by the setup reader, the document loader and the
// document writer. All work in place.

// Replaces every backslash-quote pair by a double quote.
void Unescape(std::string& text);

// Inserts a backslash before every double quote, so that the text can be
// written inside a setup string; Unescape reverses it.
void Escape(std::string& text);

// Removes white space (space, tab, line feed, vertical tab, form feed,
// carriage return) at both ends.
void TrimSpaces(std::string& text);
