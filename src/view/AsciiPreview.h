#pragma once

#include <string>
#include <string_view>
#include <vector>

// The first lines of a delimited data file as the ASCII format dialog
// shows them: at most five lines; a line ends at a line feed or once it has
// grown past 255 characters; a tab becomes eight blanks (none past column
// 255); carriage returns are left out.
std::vector<std::string> AsciiPreviewLines(std::string_view bytes);
