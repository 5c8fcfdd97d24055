#pragma once

#include "annotations/FrameRecord.h"

#include <span>
#include <string>
#include <string_view>

class ChartDocument;
class DemlaSetup;
class Prompt;

// The pieces of document loading that others call on their own.

// The [COLORS] step: the level colours and the missing colour. Without the
// section, or without MapColors, every colour is white.
void ReadColors(ChartDocument& document, DemlaSetup& reader);

// The [MAP.ATTRIBUTES] step: contour lines and the map type, then the
// check that triangle maps have an even number of data columns.
void ReadMapAttributes(ChartDocument& document, DemlaSetup& reader);

// The six fields of a frame record from the loaded item, in order: line
// width, pen style, pen colour, fill mode ("trans", "hatched", else solid),
// fill colour, hatch style. Stops silently when the item has fewer.
void ReadFrameRecord(DemlaSetup& reader, FrameRecord& target);

// The value of a numbered TextFrame item that gives its text no frame.
inline constexpr const char* kNoTextFrame = "none";

// "Unable open file " and the name.
void ReportOpenError(Prompt& prompt, const std::string& name);

// The sections of a setup file this program reads and writes, in the order
// saving writes them.
inline constexpr std::string_view kKnownSetupSections[] = {
    "DATA",       "DATA.DERIVED", "PLOT.FRAME", "MAP.SCALE",     "COLORS",
    "ANNOTATION", "SYSTEM",       "PAGESETUP",  "MAP.ATTRIBUTES"};

// Whether the bytes of a file are not a setup file of this program at all:
// they hold text, but none of the sections above (a data table, notes, a
// setup file of another program). An empty file is an empty map.
bool IsForeignSetupText(std::string_view bytes);

// The index of text in list, compared exactly; -1 when it is not there.
int FindInList(std::span<const std::string_view> list, std::string_view text);
