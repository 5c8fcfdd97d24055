#pragma once

#include "datafiles/DatafilesTestSupport.h"
#include "document/ChartDocument.h"
#include "support/TempFile.h"

#include <bit>
#include <cstring>

// Eight characters packed into one Gauss element, as character data is.
inline double PackedText(const char* text) {
    char bytes[8] = {};
    std::strncpy(bytes, text, 8);
    return std::bit_cast<double>(bytes);
}
