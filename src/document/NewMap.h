#pragma once

#include "datafiles/AsciiFormat.h"
#include "datafiles/LexisTable.h"
#include "document/DerivedSetup.h"
#include "document/NewSetup.h"
#include "map/CohortLines.h"

#include <optional>
#include <string>

class ChartDocument;

// What File New and `demla new` are asked to make: the map of a data file,
// kept in a setup file.
struct NewMapRequest {
    std::string dataPath;
    int format = kAsciiFormat;
    AsciiFormat delimiters;
    // The value column of a database table; empty for its default.
    std::string valueColumn;
    std::string setupPath;
    // Write only the generated lines that name the data, for scripts that
    // fill in the rest; otherwise the whole setup of the new map.
    bool minimal = false;
};

// What a new map shows beyond its data: a derived surface, cohort lines.
struct NewMapExtras {
    // The surface the map shows instead of the data as they are; a second
    // matrix's name in it is written as given (absolute, as the data path).
    std::optional<DerivedSetup> derived;
    // Cohort lines every this many years (none: no lines), starting at a
    // multiple of the step.
    std::optional<double> cohortStep;
};

// Cohort lines for a map that has none: every step years, at multiples of
// the step from the first one at or before the earliest cohort of its
// plot, thin and dark grey.
CohortLineSettings NewCohortLines(const ChartDocument& document, double step);

enum class NewMapResult {
    // The map loaded and its setup file was written.
    Written,
    // The map loaded only up to an error that the user accepted: it is
    // open, but its setup file was not written, so nothing that stood there
    // is lost to a map that is not what the data hold.
    OpenedWithErrors,
    // No map: a message said why, and no file was touched.
    Failed,
};

// Makes the new map in document, whose prompt tells every message. The data
// are read and checked first, from a private copy of the generated lines;
// only a map that loads is written to request.setupPath (after a backup of
// a file that stood there), so a data file that cannot be read never costs
// the user a setup file. The destination is checked before anything is
// written: a file that may not be written, or that is not a regular file,
// is refused. The document then belongs to request.setupPath.
NewMapResult CreateNewMap(ChartDocument& document, const NewMapRequest& request,
                          const NewMapExtras& extras = {});

// How a data file whose format is not said is read: a .fmt file is a Gauss
// file, a file whose head names the columns of a mortality or fertility
// database table is a table (its head given too), anything else ASCII.
struct DataFileGuess {
    int format = kAsciiFormat;
    std::optional<LexisTableHeader> table;
};
DataFileGuess GuessDataFormat(const std::string& path);
bool LooksLikeGaussFile(const std::string& path);
// The head of the database table at path; none, with error set, when the
// file does not begin like one.
std::optional<LexisTableHeader> TableHeaderAt(const std::string& path, std::string& error);

// What a derived map is asked for, by `demla new --derive` or in the window.
struct DerivationChoice {
    DeriveOperation operation = DeriveOperation::Ratio;
    // Ratio and difference: the data file of B; empty for another column
    // of the first matrix's own database table.
    std::string secondPath;
    // The column of a table that B is; empty for the table's default.
    std::string secondColumn;
    std::uint32_t lag = 1;
    std::uint32_t halfWidth = 1;

    friend bool operator==(const DerivationChoice&, const DerivationChoice&) = default;
};

// Which of a derivation's choices an operation reads (none: no derivation).
struct DerivationFields {
    bool second = false;
    bool lag = false;
    bool halfWidth = false;
};
DerivationFields FieldsOf(std::optional<DeriveOperation> operation);

// The derivation of choice for a map of data read as format with
// delimiters (table: the head of a first matrix that is a database table).
// B is read as A is: a table is recognised by its head, a .fmt file is a
// Gauss file, a text file takes A's delimiters; its name is made absolute.
// B as another column of A's own table (firstColumn is A's; empty for the
// table's default) is by default the first column that is not A's.
// None, with error set to the message to show, when B is not given, cannot
// be read, names a column it has not, or is A itself.
std::optional<DerivedSetup> MakeDerivation(const DerivationChoice& choice, int format,
                                           const AsciiFormat& delimiters,
                                           const std::optional<LexisTableHeader>& table,
                                           const std::string& firstColumn, std::string& error);

// The choice behind the document's derivation, B's file name resolved
// against the folder of the setup file; a ratio of the map's own table
// when it has none.
DerivationChoice ChoiceOfDocument(const ChartDocument& document);

// Where a new derived map of a data file is kept: beside it, named after
// it and the operation ("Mx_1x1-ratio.dml"), so that it never takes the
// place of the plain map of the same data.
std::string DerivedSetupPath(const std::string& dataPath, DeriveOperation operation);

// Gives the open map the derivation chosen (none: the data as they are),
// as Edit Derived Data does, and derives and classifies it again; with
// suitTitleAndScale, the map then takes the title and scale a new map of
// that derivation gets. A choice that is the map's own changes nothing
// (and reads nothing). False, after a message through the document's
// prompt and with the document as it was, when the choice cannot be made.
bool ApplyDerivationChoice(ChartDocument& document, const std::optional<DerivationChoice>& choice,
                           bool suitTitleAndScale);
