#pragma once

#include "core/DMAT.h"
#include "datafiles/AsciiFormat.h"
#include "datafiles/AsciiMatrix.h"
#include "datafiles/LexisTable.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class ChartDocument;
class DemlaSetup;
class Prompt;

// The sections of a setup file as document loading reads them, one
// function per step. The functions that can end the load return false
// after their message.

// [SYSTEM]: the type must be "Demla" and the version 1.1 or 1.0.
bool ReadSystemSection(ChartDocument& document, DemlaSetup& reader);

// [DATA] and the data file it names.
bool ReadDataSection(ChartDocument& document, DemlaSetup& reader);

// A data matrix file in one of the formats a setup file names, with its
// options.
struct MatrixFileRequest {
    Prompt& prompt;
    std::string fileName;
    int format = 0;
    AsciiFormat delimiters;
    std::string valueColumn;
    std::optional<ScreenSize> screen;
};

// Reads the file into matrix (and, for a database table, what the table
// holds besides into table when it is given). False after the message,
// with matrix empty.
bool ReadMatrixFile(const MatrixFileRequest& request, DMAT& matrix,
                    std::optional<LexisTable>* table);

// An AsciiFormat value of the loaded item: the field kind, then the record
// kind; "custom" takes the next element, a string, for its byte. Other
// words leave a kind as it is.
void ReadAsciiFormat(DemlaSetup& reader, AsciiFormat& format);

// The format a data file name implies: Gauss for ".FMT", else ASCII.
int FormatFromExtension(const std::string& name);

// The readable file a data file name of the setup file stands for: named
// from the setup file's folder, or, when the user agrees, the file of the
// same name in that folder. The file is noted among those loading read.
// None when there is none.
std::optional<std::string> LocateDataFile(ChartDocument& document, const std::string& name);

// The scale keys of [MAP.SCALE]; false when the file gives no scale.
bool ReadScaleKeys(ChartDocument& document, DemlaSetup& reader);

// [ANNOTATION]: texts, lines and rectangles.
void ReadAnnotations(ChartDocument& document, DemlaSetup& reader);

// [PAGESETUP]: the orientation.
void ReadPageSetup(ChartDocument& document, DemlaSetup& reader);

// Keeps the first kMaxScaleBoundaries boundaries of a longer scale and
// notes the cut for ReportScaleCut.
void LimitScale(ChartDocument& document);

// "Too many elements in the Scale", once, when loading ends, if a scale key
// or the loaded scale was cut.
void ReportScaleCut(ChartDocument& document);

// A warning for each axis whose range in [PLOT.FRAME] held no values and
// was left as the file would have it without the range.
void ReportEmptyRanges(ChartDocument& document);

// Reads the elements of the loaded item one after another, each at most
// max - 1 bytes long.
class ElementReader {
public:
    ElementReader(DemlaSetup& reader, std::size_t max);

    // The next element; false when the item has no more.
    bool Next();
    // The element as a number; raises "Expected numeric value" when it is
    // not a number token.
    double Number() const;
    // The element converted as far as it forms a number (0 when it does
    // not), for fields that tolerate words.
    double Value() const;
    std::int32_t Integer() const;
    const std::string& Text() const { return element_; }

private:
    DemlaSetup& reader_;
    std::size_t max_;
    std::string element_;
};
