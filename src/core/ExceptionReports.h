#pragma once

#include "core/LException.h"
#include "core/Prompt.h"
#include "core/WMException.h"

#include <string>

// How the program entry shows an exception that ended the application:
// a box captioned "Exception" with an OK button.
void ReportLException(Prompt& prompt, const LException& e);
void ReportWMException(Prompt& prompt, const WMException& e);

// The text the map view shows when painting failed with an LException.
std::string PaintExceptionText(const LException& e);
