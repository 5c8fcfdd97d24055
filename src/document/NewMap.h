#pragma once

#include "datafiles/AsciiFormat.h"
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
