#pragma once

#include "datafiles/AsciiFormat.h"
#include "datafiles/DerivedData.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class ChartDocument;
class DemlaSetup;

// The section of a setup file that makes the map show a surface derived
// from its data matrix (A) rather than the matrix itself. Files without it
// show A as it is.
inline constexpr const char* kDerivedSection = "DATA.DERIVED";

// What the section says, as it says it: saving writes back what was read.
struct DerivedSetup {
    DeriveOperation operation = DeriveOperation::Ratio;
    // Ratio and difference: the data file of the second matrix (B) as the
    // setup file names it, and whether it was quoted; none for the first
    // matrix's own file (another column of the same database table).
    std::optional<std::string> secondName;
    bool secondQuoted = false;
    // B's format (a DataFormat number); 0 when the file gives none: then
    // A's format for A's own file, else the one its extension implies.
    int secondFormat = 0;
    // B's delimiters when the file gives them; else A's for A's own file,
    // comma and CR LF for another.
    std::optional<AsciiFormat> secondDelimiters;
    // The column of a database table that B is; empty for its default.
    std::string secondColumn;
    // Improvement: the lag in columns, 1 or more.
    std::uint32_t lag = 1;
    // Smoothing: the half-width of the window, 0 or more.
    std::uint32_t halfWidth = 1;

    // Equal in what the operation reads: a lag of a ratio does not count.
    bool SameAs(const DerivedSetup& other) const;
};

// Lags and half-widths above this are refused: a window or a lag wider
// than any matrix a map can show only makes every cell missing.
inline constexpr std::uint32_t kMaxDeriveWidth = 10000;

// Reads the section of the setup file, if there is one, reads B and
// replaces the document's DataMatrix by the derived matrix, keeping A in
// OriginalMatrix and B in SecondMatrix. Without the section the document
// has no derivation and both are empty. False, after a message, when the
// section cannot be read or B cannot be read or is not shaped like A: the
// load then ends.
bool ReadDerivedSection(ChartDocument& document, DemlaSetup& reader);

// Derives DataMatrix again from the data file's matrix A by the document's
// derivation and SecondMatrix, for a derivation changed in the window or
// put back by Undo: A moves to OriginalMatrix when there is a derivation
// and back to DataMatrix when there is none. A ratio or difference whose B
// is not there or not shaped like A leaves every cell missing. The levels
// are not classified again.
void RecomputeDerived(ChartDocument& document);

// Gives the document the derivation (none: the data as they are), reads
// its B unless the document holds it already, derives and classifies the
// map again with the scale it has. False, after a message and with the
// document as it was, when B cannot be read or is not shaped like A.
bool ChangeDerivation(ChartDocument& document, const std::optional<DerivedSetup>& setup);

// The section's text, "\r\n" line ends and an empty line after it; rebase
// rewrites a file name for the folder the text is written to. Keys that
// the operation does not read are left out.
std::string DerivedSectionText(const DerivedSetup& setup,
                               const std::function<std::string(const std::string&)>& rebase);

// The value of the cell of A (and of B, for ratio and difference; of
// A(t - k) for improvement) behind a derived cell, for the readout: the
// text in brackets, as "[0.0112 / 0.0061]". Empty without a derivation.
std::string DerivedSourceText(const ChartDocument& document, std::uint32_t row,
                              std::uint32_t column);
