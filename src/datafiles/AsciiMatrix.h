#pragma once

#include "datafiles/AsciiFormat.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string_view>

class DMAT;
class Prompt;

// The size of the display in pixels, for the plausibility question of the
// one-value-per-line layout. Without a display the question is not asked.
struct ScreenSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Reads a delimited text file into matrix: one pass counts records and
// fields, a second stores the numbers. Cells that receive no well-formed
// number are missing. Returns 0 on success (a file without records leaves
// matrix as it was) and 1 on failure or when the user cancelled; failures
// have been reported through prompt. A WMException from allocating the
// matrix propagates. Both delimiters custom and equal select the
// one-value-per-line layout (LoadLineMatrix).
int LoadAsciiMatrix(const AsciiFormat& format, DMAT& matrix, std::istream& input, Prompt& prompt,
                    std::optional<ScreenSize> screen = std::nullopt);
int LoadAsciiMatrix(const AsciiFormat& format, DMAT& matrix, std::string_view bytes, Prompt& prompt,
                    std::optional<ScreenSize> screen = std::nullopt);

// How LoadAsciiMatrix goes about its work; the matrix, the messages and
// their order do not depend on it. The second pass of a file of at least
// minimumBytes is split at record starts into threads stretches (0: one per
// core, at most 8), each read by its own thread. Records of plain bytes are
// taken a whole one at a time unless wholeRecords is off.
struct AsciiReading {
    std::size_t minimumBytes = std::size_t{1} << 20;
    unsigned threads = 0;
    bool wholeRecords = true;
};
int LoadAsciiMatrix(const AsciiFormat& format, DMAT& matrix, std::string_view bytes, Prompt& prompt,
                    std::optional<ScreenSize> screen, const AsciiReading& reading);

// The one-value-per-line layout: a row count, a column count, then the
// values row by row, one per line. Same results as LoadAsciiMatrix.
int LoadLineMatrix(DMAT& matrix, std::istream& input, Prompt& prompt,
                   std::optional<ScreenSize> screen = std::nullopt);
int LoadLineMatrix(DMAT& matrix, std::string_view bytes, Prompt& prompt,
                   std::optional<ScreenSize> screen = std::nullopt);
