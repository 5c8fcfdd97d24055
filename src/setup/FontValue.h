#pragma once

#include "render/FontRecord.h"

#include <string>

class DemlaSetup;

// A font in a setup file: a vector of the thirteen numbers of the record
// followed by the face name as a string, for example
// {-12 0 0 0 400 0 0 0 0 0 0 2 0 "Arial"}.

// Reads the font value of the item loaded in reader into target. The
// numbers are cut toward zero (the one-byte fields keep their low byte) and
// the face name keeps its first 31 bytes. An item with fewer elements
// raises the reader's element error.
void ReadFontValue(DemlaSetup& reader, FontRecord& target);

// The written form of a font value, braces included, without the ";".
std::string FontValueText(const FontRecord& font);
