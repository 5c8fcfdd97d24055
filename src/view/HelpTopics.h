#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where the manual opens: the anchor of a topic in its page.

// The topic of a map window.
inline constexpr const char* kMapViewTopic = "map-view";

// The topic for the caret of the text view, on a line at a byte column:
// a section header line ("[COLORS]", blanks around it allowed) gives
// "section-COLORS"; otherwise the run of letters around the caret names a
// key ("MapMatrix" gives "key-MapMatrix"); without one, the map view's
// topic. An empty line gives none.
std::optional<std::string> HelpTopicForCaret(std::string_view line, std::size_t column);
