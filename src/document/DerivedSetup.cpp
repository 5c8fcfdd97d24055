#include "document/DerivedSetup.h"

#include "core/FormatNumber.h"
#include "core/Prompt.h"
#include "document/ChartDocument.h"
#include "document/LoadSteps.h"
#include "document/NewSetup.h"
#include "document/SetupValues.h"
#include "setup/DemlaSetup.h"
#include "setup/SetupText.h"

#include <cmath>
#include <memory>

namespace {

int FindFormatName(std::string text) {
    TrimSpaces(text);
    for (const int format : {kGaussFormat, kAsciiFormat, kLexisTableFormat}) {
        if (DataFormatName(format) == text) {
            return format;
        }
    }
    return -1;
}

// A whole number from low to kMaxDeriveWidth; none otherwise.
std::optional<std::uint32_t> WholeNumber(double value, std::uint32_t low) {
    if (!(value >= low && value <= kMaxDeriveWidth) || value != std::floor(value)) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

bool IllegalValue(ChartDocument& document, const std::string& key, const std::string& rule) {
    document.GetPrompt().Show("Error", "[" + std::string(kDerivedSection) + "] " + key +
                                           " item has illegal value: " + rule);
    return false;
}

bool ReadKeys(ChartDocument& document, DemlaSetup& reader, DerivedSetup& setup) {
    if (!reader.FindItem("Operation")) {
        return IllegalValue(document, "Operation",
                            "it is missing; it is ratio, difference, improvement or smooth");
    }
    const char* word = reader.GetLiteral();
    const std::optional<DeriveOperation> operation =
        FindDeriveOperation(word != nullptr ? word : "");
    if (!operation) {
        return IllegalValue(document, "Operation",
                            "it is ratio, difference, improvement or smooth");
    }
    setup.operation = *operation;
    if (reader.FindItem("SecondMatrix")) {
        setup.secondName = ReadFileNameValue(reader, &setup.secondQuoted);
    }
    if (reader.FindItem("SecondFormat")) {
        const char* raw = reader.GetValueText();
        const int format = FindFormatName(raw != nullptr ? raw : "");
        if (format < 0) {
            return IllegalValue(document, "SecondFormat", "it is ASCII, HMD or Gauss 3.2 DOS FMT");
        }
        setup.secondFormat = format;
    }
    if (reader.FindItem("SecondAsciiFormat")) {
        AsciiFormat delimiters;
        ReadAsciiFormat(reader, delimiters);
        setup.secondDelimiters = delimiters;
    }
    if (reader.FindItem("SecondValueColumn")) {
        setup.secondColumn = ReadFileNameValue(reader);
    }
    if (reader.FindItem("Lag")) {
        const std::optional<std::uint32_t> lag = WholeNumber(reader.GetDouble(), 1);
        if (!lag) {
            return IllegalValue(document, "Lag",
                                "it is a whole number of columns from 1 to " +
                                    std::to_string(kMaxDeriveWidth));
        }
        setup.lag = *lag;
    }
    if (reader.FindItem("HalfWidth")) {
        const std::optional<std::uint32_t> width = WholeNumber(reader.GetDouble(), 0);
        if (!width) {
            return IllegalValue(document, "HalfWidth",
                                "it is a whole number of cells from 0 to " +
                                    std::to_string(kMaxDeriveWidth));
        }
        setup.halfWidth = *width;
    }
    return true;
}

// The years and ages a database table spans, for a message.
std::string SpanText(const LexisTable& table) {
    return table.header.PeriodName() + " " + std::to_string(table.firstPeriod) + "-" +
           std::to_string(table.lastPeriod) + ", ages " + std::to_string(table.firstAge) + "-" +
           std::to_string(table.lastAge);
}

const char* OperationNoun(DeriveOperation operation) {
    return operation == DeriveOperation::Ratio ? "a ratio" : "a difference";
}

// B of setup for the map whose matrix is a, or none after a message.
std::shared_ptr<const DMAT> ReadSecondMatrix(ChartDocument& document, const DerivedSetup& setup,
                                             const DMAT& a) {
    Prompt& prompt = document.GetPrompt();
    const ChartDocument::Sources& sources = document.GetSources();
    const bool ownFile = !setup.secondName;
    const std::string name = ownFile ? sources.dataName.value_or("") : *setup.secondName;
    if (name.empty()) {
        prompt.Show("Error", std::string("The second matrix of ") + OperationNoun(setup.operation) +
                                 " names no data file.");
        return nullptr;
    }
    const std::optional<std::string> fileName = ownFile && !sources.readFiles.empty()
                                                    ? std::optional(sources.readFiles.front())
                                                    : LocateDataFile(document, name);
    if (!fileName) {
        return nullptr;
    }
    MatrixFileRequest request{prompt,        *fileName,          setup.secondFormat,
                              AsciiFormat(), setup.secondColumn, document.Screen};
    if (request.format == 0) {
        request.format = ownFile ? document.DataFormat : FormatFromExtension(name);
    }
    if (setup.secondDelimiters) {
        request.delimiters = *setup.secondDelimiters;
    } else if (ownFile) {
        request.delimiters = document.Delimiters;
    }
    std::optional<LexisTable> table;
    auto second = std::make_shared<DMAT>();
    if (!ReadMatrixFile(request, *second, &table)) {
        return nullptr;
    }
    const DMAT& b = *second;
    if (a.GetRows() != b.GetRows() || a.GetColumns() != b.GetColumns()) {
        prompt.Show("Error", "The second matrix (" + name + ") has " + MatrixShapeText(b) +
                                 ", but the map's matrix has " + MatrixShapeText(a) + ": " +
                                 OperationNoun(setup.operation) +
                                 " needs two matrices of the same shape.");
        return nullptr;
    }
    // Two tables of the same shape may still be years apart: cell by cell
    // they must be the same years and ages.
    if (table && document.Table &&
        (table->firstPeriod != document.Table->firstPeriod ||
         table->firstAge != document.Table->firstAge)) {
        prompt.Show("Error", "The second matrix (" + name + ") covers " + SpanText(*table) +
                                 ", but the map's matrix covers " + SpanText(*document.Table) +
                                 ": " + OperationNoun(setup.operation) +
                                 " needs the same years and ages on both sides.");
        return nullptr;
    }
    return second;
}

void Derive(const DerivedSetup& setup, const DMAT& a, const DMAT* b, DMAT& result) {
    const bool twoOfAShape =
        b != nullptr && b->GetRows() == a.GetRows() && b->GetColumns() == a.GetColumns();
    if (NeedsSecondMatrix(setup.operation) && !twoOfAShape) {
        // Not read, or read for another matrix: nothing can be said of a cell.
        result.SetSize(a.GetRows(), a.GetColumns());
        result.Fill(DMAT::MissingValue());
        return;
    }
    switch (setup.operation) {
    case DeriveOperation::Ratio:
        DeriveRatio(a, *b, result);
        break;
    case DeriveOperation::Difference:
        DeriveDifference(a, *b, result);
        break;
    case DeriveOperation::Improvement:
        DeriveImprovement(a, setup.lag, result);
        break;
    case DeriveOperation::Smooth:
        DeriveSmooth(a, setup.halfWidth, result);
        break;
    }
}

std::string ValueText(const DMAT& matrix, std::uint32_t row, std::uint32_t column) {
    if (row >= matrix.GetRows() || column >= matrix.GetColumns() || matrix.IsEmpty() ||
        matrix.IsMissing(row, column)) {
        return "NA";
    }
    return FormatNumber(matrix.Get(row, column), "G3");
}

} // namespace

bool DerivedSetup::SameAs(const DerivedSetup& other) const {
    if (operation != other.operation) {
        return false;
    }
    switch (operation) {
    case DeriveOperation::Ratio:
    case DeriveOperation::Difference: {
        const auto delimitersEqual = [](const std::optional<AsciiFormat>& x,
                                        const std::optional<AsciiFormat>& y) {
            if (x.has_value() != y.has_value()) {
                return false;
            }
            return !x || (x->fieldKind == y->fieldKind && x->customField == y->customField &&
                          x->recordKind == y->recordKind && x->customRecord == y->customRecord);
        };
        return secondName == other.secondName && secondFormat == other.secondFormat &&
               secondColumn == other.secondColumn &&
               delimitersEqual(secondDelimiters, other.secondDelimiters);
    }
    case DeriveOperation::Improvement:
        return lag == other.lag;
    case DeriveOperation::Smooth:
        return halfWidth == other.halfWidth;
    }
    return true;
}

bool ReadDerivedSection(ChartDocument& document, DemlaSetup& reader) {
    document.Derived.reset();
    document.OriginalMatrix.Clear();
    document.SecondMatrix.reset();
    if (!reader.FindSection(document.GetPath(), kDerivedSection)) {
        return true;
    }
    DerivedSetup setup;
    if (!ReadKeys(document, reader, setup)) {
        return false;
    }
    document.Derived = setup;
    // A map without data (its file not named yet) has nothing to derive;
    // the section is kept for when it has.
    if (document.DataMatrix.IsEmpty()) {
        return true;
    }
    if (NeedsSecondMatrix(setup.operation)) {
        document.SecondMatrix = ReadSecondMatrix(document, setup, document.DataMatrix);
        if (!document.SecondMatrix) {
            return false;
        }
    }
    document.OriginalMatrix = std::move(document.DataMatrix);
    document.DataMatrix.Clear();
    Derive(setup, document.OriginalMatrix, document.SecondMatrix.get(), document.DataMatrix);
    return true;
}

const DMAT& FirstMatrix(const ChartDocument& document) {
    return document.OriginalMatrix.IsEmpty() ? document.DataMatrix : document.OriginalMatrix;
}

void RecomputeDerived(ChartDocument& document) {
    // A lives in OriginalMatrix while there is a derivation, in DataMatrix
    // otherwise.
    DMAT a = document.OriginalMatrix.IsEmpty() ? std::move(document.DataMatrix)
                                               : std::move(document.OriginalMatrix);
    document.OriginalMatrix.Clear();
    document.DataMatrix.Clear();
    if (!document.Derived || a.IsEmpty()) {
        document.DataMatrix = std::move(a);
        return;
    }
    document.OriginalMatrix = std::move(a);
    Derive(*document.Derived, document.OriginalMatrix, document.SecondMatrix.get(),
           document.DataMatrix);
}

bool ChangeDerivation(ChartDocument& document, const std::optional<DerivedSetup>& setup) {
    std::shared_ptr<const DMAT> second;
    if (setup && NeedsSecondMatrix(setup->operation)) {
        const bool sameSecond = document.Derived && document.SecondMatrix &&
                                NeedsSecondMatrix(document.Derived->operation) &&
                                document.Derived->SameAs(*setup);
        second = sameSecond ? document.SecondMatrix
                            : ReadSecondMatrix(document, *setup, FirstMatrix(document));
        if (!second) {
            return false;
        }
    }
    document.Derived = setup;
    document.SecondMatrix = std::move(second);
    RecomputeDerived(document);
    document.SetScale(document.ScaleValues, document.LevelColors);
    return true;
}

std::string DerivedSectionText(const DerivedSetup& setup,
                               const std::function<std::string(const std::string&)>& rebase) {
    std::string text = "[" + std::string(kDerivedSection) + "]\r\n";
    text += "Operation=" + std::string(DeriveOperationName(setup.operation)) + ";\r\n";
    if (NeedsSecondMatrix(setup.operation)) {
        if (setup.secondName) {
            text +=
                "SecondMatrix=" + FileNameValueText(rebase(*setup.secondName), setup.secondQuoted) +
                ";\r\n";
        }
        if (setup.secondFormat != 0) {
            text += "SecondFormat=" + std::string(DataFormatName(setup.secondFormat)) + ";\r\n";
        }
        if (setup.secondDelimiters) {
            text += "SecondAsciiFormat=" +
                    AsciiFormatValue(*setup.secondDelimiters).value_or("{ comma, crlf }") + ";\r\n";
        }
        // A name the syntax cannot hold was not read from a setup file.
        if (const std::optional<std::string> column = SetupNameValue(setup.secondColumn);
            !setup.secondColumn.empty() && column) {
            text += "SecondValueColumn=" + *column + ";\r\n";
        }
    } else if (setup.operation == DeriveOperation::Improvement) {
        text += "Lag=" + std::to_string(setup.lag) + ";\r\n";
    } else {
        text += "HalfWidth=" + std::to_string(setup.halfWidth) + ";\r\n";
    }
    text += "\r\n";
    return text;
}

std::string DerivedSourceText(const ChartDocument& document, std::uint32_t row,
                              std::uint32_t column) {
    if (!document.Derived || document.OriginalMatrix.IsEmpty()) {
        return std::string();
    }
    const DMAT& a = document.OriginalMatrix;
    const DMAT empty;
    const DMAT& b = document.SecondMatrix ? *document.SecondMatrix : empty;
    switch (document.Derived->operation) {
    case DeriveOperation::Ratio:
        return "[" + ValueText(a, row, column) + " / " + ValueText(b, row, column) + "]";
    case DeriveOperation::Difference:
        return "[" + ValueText(a, row, column) + " - " + ValueText(b, row, column) + "]";
    case DeriveOperation::Improvement: {
        const std::uint32_t lag = document.Derived->lag;
        return "[" + ValueText(a, row, column) + " / " +
               (column >= lag ? ValueText(a, row, column - lag) : std::string("NA")) + "]";
    }
    case DeriveOperation::Smooth:
        return "[" + ValueText(a, row, column) + "]";
    }
    return std::string();
}
