#include "document/LoadSteps.h"

#include "core/NumberText.h"
#include "core/Prompt.h"
#include "datafiles/AsciiMatrix.h"
#include "datafiles/GaussMatrix.h"
#include "document/ChartDocument.h"
#include "document/DocumentReaders.h"
#include "document/GaussFile.h"
#include "document/NewSetup.h"
#include "document/SafeFile.h"
#include "document/SetupValues.h"
#include "scale/MapScale.h"
#include "scale/ScaleLimits.h"
#include "setup/DemlaSetup.h"
#include "setup/SetupText.h"

#include <array>
#include <cctype>
#include <cmath>
#include <optional>

namespace {

// [SYSTEM] texts keep this many characters, as does the orientation word.
constexpr std::size_t kMaxWordLength = 63;

// Scale elements are read into a buffer of this size.
constexpr std::size_t kScaleElementBuffer = 256;

constexpr std::array<std::string_view, 3> kFormatNames = {kGaussFormatName, kAsciiFormatName,
                                                          kLexisTableFormatName};
constexpr std::array<std::string_view, 4> kExtensions = {"FMT", "DAT", "ASC", "TXT"};

std::string FirstCharacters(const char* text, std::size_t count) {
    return std::string(text).substr(0, count);
}

// Element k of the loaded item in reading order, as GetElement indexes it.
void ElementPosition(const DemlaSetup& reader, std::uint32_t k, std::uint32_t& row,
                     std::uint32_t& column) {
    if (reader.GetContainerType() == ctMatrix && reader.GetColumns() > 0) {
        row = k / reader.GetColumns();
        column = k % reader.GetColumns();
    } else {
        row = 0;
        column = k;
    }
}

const char* LiteralAt(DemlaSetup& reader, std::uint32_t k) {
    std::uint32_t row = 0;
    std::uint32_t column = 0;
    ElementPosition(reader, k, row, column);
    return reader.GetLiteral(row, column);
}

const char* StringAt(DemlaSetup& reader, std::uint32_t k) {
    std::uint32_t row = 0;
    std::uint32_t column = 0;
    ElementPosition(reader, k, row, column);
    return reader.GetString(row, column);
}

} // namespace

void ReadAsciiFormat(DemlaSetup& reader, AsciiFormat& format) {
    std::uint32_t k = 0;
    const char* word = LiteralAt(reader, k++);
    const std::string field = word != nullptr ? word : "";
    if (field == "comma") {
        format.fieldKind = AsciiFormat::Field::Comma;
    } else if (field == "spaces") {
        format.fieldKind = AsciiFormat::Field::Spaces;
    } else if (field == "custom") {
        format.fieldKind = AsciiFormat::Field::Custom;
        const char* text = StringAt(reader, k++);
        if (text != nullptr && text[0] != '\0') {
            format.customField = text[0];
        }
    }
    word = LiteralAt(reader, k++);
    const std::string record = word != nullptr ? word : "";
    if (record == "crlf") {
        format.recordKind = AsciiFormat::Record::Crlf;
    } else if (record == "custom") {
        format.recordKind = AsciiFormat::Record::Custom;
        const char* text = StringAt(reader, k++);
        if (text != nullptr && text[0] != '\0') {
            format.customRecord = text[0];
        }
    }
}

int FormatFromExtension(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : extension) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return FindInList(kExtensions, extension) == 0 ? kGaussFormat : kAsciiFormat;
}

bool ReadMatrixFile(const MatrixFileRequest& request, DMAT& matrix,
                    std::optional<LexisTable>* table) {
    Prompt& prompt = request.prompt;
    const std::string& fileName = request.fileName;
    if (request.format == kLexisTableFormat) {
        std::string bytes;
        std::string error = "the file cannot be read";
        LexisTable read;
        if (!ReadWholeFile(fileName, bytes) ||
            !ReadLexisTable(bytes, request.valueColumn, read, matrix, error)) {
            matrix.Clear();
            prompt.Show("Error", "Cannot read the table " + fileName + "\r\n" + error);
            return false;
        }
        if (table != nullptr) {
            *table = std::move(read);
        }
        return true;
    }
    if (request.format == kGaussFormat) {
        const GaussFileResult result = ReadGaussFile(fileName, matrix, true);
        if (result.code != gaussOk) {
            matrix.Clear();
            ReportGaussError(prompt, result.code);
            return false;
        }
        return true;
    }
    // A file that cannot be read holds no records, as an empty one.
    std::string bytes;
    ReadWholeFile(fileName, bytes);
    if (LoadAsciiMatrix(request.delimiters, matrix, std::string_view(bytes), prompt,
                        request.screen) == 1) {
        matrix.Clear();
        prompt.Show("Error", "Error reading ASCII file");
        return false;
    }
    return true;
}

namespace {

bool ReadDataFile(ChartDocument& document, const std::string& fileName) {
    const MatrixFileRequest request{document.GetPrompt(), fileName,
                                    document.DataFormat,  document.Delimiters,
                                    document.ValueColumn, document.Screen};
    return ReadMatrixFile(request, document.DataMatrix, &document.Table);
}

// The boundary count a LinearScale or MultiplicativeScale asks for, cut
// toward zero; none for a count that rejects the key (negative or not a
// number). A count beyond what a level matrix can tell apart is kept and
// cut where the boundaries are made, as a long MapScale is.
std::optional<double> SequenceCount(double value) {
    const double count = std::trunc(value);
    if (!(count >= 0)) {
        return std::nullopt;
    }
    return count;
}

// How many of count boundaries the scale keeps; a cut is reported when
// loading ends.
std::uint32_t KeptCount(ChartDocument& document, double count) {
    if (count > kMaxScaleBoundaries) {
        document.GetSources().scaleCut = true;
        return kMaxScaleBoundaries;
    }
    return static_cast<std::uint32_t>(count);
}

void SingleZeroBoundary(DMAT& scale) {
    scale.SetSize(1, 1);
    scale.Set(0, 0, 0.0);
}

void ReadMapScale(ChartDocument& document, DemlaSetup& reader) {
    const std::uint32_t size = reader.GetSize();
    const std::uint32_t kept = KeptCount(document, size);
    DMAT& scale = document.ScaleValues;
    scale.SetSize(kept, 1);
    scale.Fill(0.0);
    ElementReader elements(reader, kScaleElementBuffer);
    for (std::uint32_t i = 0; i < kept; ++i) {
        if (!elements.Next()) {
            document.GetPrompt().Show("Error", "Unable read scale", PromptIcon::Exclamation);
            break;
        }
        scale.Set(i, 0, elements.Number());
    }
}

// The count of a one-element sequence key, whose boundaries span the data:
// none when the key is rejected or a count of 0 has already made the
// single zero boundary.
std::optional<double> SpanningCount(DMAT& scale, DemlaSetup& reader) {
    const std::optional<double> n = SequenceCount(reader.GetDouble(0, 0));
    if (n && *n == 0) {
        SingleZeroBoundary(scale);
        return std::nullopt;
    }
    return n;
}

void ReadLinearScale(ChartDocument& document, DemlaSetup& reader) {
    DMAT& scale = document.ScaleValues;
    if (reader.GetSize() == 1) {
        const std::optional<double> n = SpanningCount(scale, reader);
        if (!n) {
            return;
        }
        const double low = document.DataMatrix.Min();
        const double high = document.DataMatrix.Max();
        const double step = (high - low) / (*n + 1);
        if (step > 0) {
            const std::uint32_t kept = KeptCount(document, *n);
            scale.SetSize(kept, 1);
            for (std::uint32_t i = 0; i < kept; ++i) {
                scale.Set(i, 0, (i + 1) * step + low);
            }
        }
    } else if (reader.GetSize() == 3) {
        const double start = reader.GetDouble(0, 0);
        const double increment = reader.GetDouble(0, 1);
        const std::optional<double> count = SequenceCount(reader.GetDouble(0, 2));
        if (increment > 0 && count && *count > 0) {
            MakeLinearScale(scale, start, increment, KeptCount(document, *count));
        }
    }
}

void ReadMultiplicativeScale(ChartDocument& document, DemlaSetup& reader) {
    DMAT& scale = document.ScaleValues;
    if (reader.GetSize() == 1) {
        const std::optional<double> n = SpanningCount(scale, reader);
        if (!n) {
            return;
        }
        const double low = document.DataMatrix.Min();
        const double high = document.DataMatrix.Max();
        if (low < high && low > 0) {
            const double factor = std::exp((std::log(high) - std::log(low)) / (*n + 1));
            MakeMultiplicativeScale(scale, low * factor, factor, KeptCount(document, *n));
        }
    } else if (reader.GetSize() == 3) {
        const double start = reader.GetDouble(0, 0);
        const double multiplier = reader.GetDouble(0, 1);
        const std::optional<double> count = SequenceCount(reader.GetDouble(0, 2));
        if (multiplier > 1 && start > 0 && count && *count > 0) {
            MakeMultiplicativeScale(scale, start, multiplier, KeptCount(document, *count));
        }
    }
}

} // namespace

ElementReader::ElementReader(DemlaSetup& reader, std::size_t max) : reader_(reader), max_(max) {
    reader_.ItemIterator(nullptr);
}

bool ElementReader::Next() {
    return reader_.ItemIterator(&element_, max_);
}

double ElementReader::Number() const {
    reader_.CheckElementType(ttNumber);
    return Value();
}

double ElementReader::Value() const {
    return ParseDouble(element_.data(), element_.data() + element_.size());
}

std::int32_t ElementReader::Integer() const {
    return TruncateToInt32(Value());
}

bool ReadSystemSection(ChartDocument& document, DemlaSetup& reader) {
    std::string type = kSetupType;
    std::string version = "1.0";
    if (reader.FindSection(document.GetPath(), "SYSTEM")) {
        if (reader.FindItem("Type")) {
            if (const char* text = reader.GetLiteral()) {
                type = FirstCharacters(text, kMaxWordLength);
            }
        }
        if (reader.FindItem("Version")) {
            if (const char* text = reader.GetLiteral()) {
                version = FirstCharacters(text, kMaxWordLength);
            }
        }
    }
    Prompt& prompt = document.GetPrompt();
    if (version != kSetupVersion && version != "1.0") {
        prompt.Show(version, "Document of this version cannot be opened");
        return false;
    }
    if (type != kSetupType) {
        prompt.Show(type, "Document of this type cannot be opened");
        return false;
    }
    return true;
}

bool ReadDataSection(ChartDocument& document, DemlaSetup& reader) {
    if (!reader.FindSection(document.GetPath(), "DATA")) {
        return true;
    }
    Prompt& prompt = document.GetPrompt();
    document.DataFormat = 0;
    document.Delimiters.fieldKind = AsciiFormat::Field::Comma;
    document.Delimiters.recordKind = AsciiFormat::Record::Crlf;

    if (reader.FindItem("Format")) {
        const char* raw = reader.GetValueText();
        std::string text = raw != nullptr ? raw : "";
        TrimSpaces(text);
        const int index = FindInList(kFormatNames, text);
        if (index < 0) {
            prompt.Show("Error", "Format item has illegal value");
            return false;
        }
        document.DataFormat = index + 1;
    }
    if (document.DataFormat == kAsciiFormat && reader.FindItem("AsciiFormat")) {
        ReadAsciiFormat(reader, document.Delimiters);
    }
    if (document.DataFormat == kLexisTableFormat && reader.FindItem("ValueColumn")) {
        document.ValueColumn = ReadFileNameValue(reader);
    }
    if (!reader.FindItem("MapMatrix")) {
        return true;
    }
    ChartDocument::Sources& sources = document.GetSources();
    const std::string name = ReadFileNameValue(reader, &sources.dataNameQuoted);
    sources.dataName = name;
    if (document.DataFormat == 0) {
        document.DataFormat = FormatFromExtension(name);
    }
    if (name.empty()) {
        return true;
    }
    const std::optional<std::string> fileName = LocateDataFile(document, name);
    if (!fileName) {
        return false;
    }
    return ReadDataFile(document, *fileName);
}

std::optional<std::string> LocateDataFile(ChartDocument& document, const std::string& name) {
    std::string fileName = FindNamedFile(document.GetPath(), name);
    if (!IsReadableFile(fileName)) {
        if (!document.GetPrompt().Confirm(
                "Error", "Cannot open data file: " + name + "\r\n" +
                             "Would you try to load it from the same folder as the "
                             "Demla Setup File?")) {
            return std::nullopt;
        }
        fileName = FolderOf(document.GetPath()) + FileNameOf(name);
        if (!IsReadableFile(fileName)) {
            return std::nullopt;
        }
    }
    document.GetSources().readFiles.push_back(fileName);
    return fileName;
}

bool ReadScaleKeys(ChartDocument& document, DemlaSetup& reader) {
    if (!reader.FindSection(document.GetPath(), "MAP.SCALE")) {
        return false;
    }
    if (reader.FindItem("MapScale")) {
        ReadMapScale(document, reader);
    } else if (reader.FindItem("LinearScale")) {
        ReadLinearScale(document, reader);
    } else if (reader.FindItem("MultiplicativeScale")) {
        ReadMultiplicativeScale(document, reader);
    } else {
        return false;
    }
    return true;
}

void ReadPageSetup(ChartDocument& document, DemlaSetup& reader) {
    if (!reader.FindSection(document.GetPath(), "PAGESETUP")) {
        return;
    }
    std::string orientation = "Landscape";
    if (reader.FindItem("Orientation")) {
        if (const char* text = reader.GetLiteral()) {
            orientation = FirstCharacters(text, kMaxWordLength);
        }
    }
    document.PageOrientation = orientation == "Portrait" ? kPortrait : kLandscape;
}

void LimitScale(ChartDocument& document) {
    DMAT& scale = document.ScaleValues;
    if (BoundaryCount(scale) <= kMaxScaleBoundaries) {
        return;
    }
    document.GetSources().scaleCut = true;
    DMAT kept(kMaxScaleBoundaries, 1);
    for (std::uint32_t i = 0; i < kMaxScaleBoundaries; ++i) {
        kept.Set(i, 0, scale.Get(i, 0));
    }
    scale = std::move(kept);
}

void ReportScaleCut(ChartDocument& document) {
    if (document.GetSources().scaleCut) {
        document.GetPrompt().Ask("Scale Exception",
                                 "Too many elements in the Scale\r\n"
                                 "Scale reduced to the highest size supported",
                                 PromptButtons::OkCancel, PromptIcon::None);
    }
}

void ReportEmptyRanges(ChartDocument& document) {
    const PlotFrame& frame = document.Frame;
    const auto report = [&](const std::optional<EmptyRange>& empty, const char* axis,
                            const char* key, double low, double high) {
        if (!empty) {
            return;
        }
        document.GetPrompt().Show(
            "Warning", std::string("The ") + axis +
                           " axis range of the setup file holds no values (" + key + " from " +
                           ShortNumberText(empty->low) + " to " + ShortNumberText(empty->high) +
                           ")\r\nThe map is drawn with the range " + ShortNumberText(low) + " to " +
                           ShortNumberText(high));
    };
    report(frame.emptyXRange, "x", "xTicks", frame.x1, frame.x2);
    report(frame.emptyYRange, "y", "yTicks", frame.y1, frame.y2);
}
