#include "datafiles/AsciiMatrix.h"

#include "core/DMAT.h"
#include "core/LException.h"
#include "core/NumberText.h"
#include "core/Prompt.h"
#include "core/WMException.h"
#include "datafiles/ASCIIFile.h"
#include "setup/CharClasses.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <limits>
#include <string>

namespace {

constexpr const char* kLoadErrorCaption = "Loading ASCII file error";
constexpr const char* kRecordCounterText =
    "Current value of record counter is higher than the number of rows in the allocated "
    "matrix\r\nCheck ASCII file\r\nCheck if all records have record delimiter at the end";
constexpr const char* kFieldCounterText =
    "Current value of field counter is higher than the number of columns in the allocated "
    "matrix\r\nCheck ASCII file";
constexpr const char* kDifferentFieldsText =
    "Different text lines have different number of fields\r\nContinue?";
constexpr const char* kScreenText = "Matrix size exceeds resolution of screen\r\nContnue?";

using Result = ASCIIFile::Result;

std::string ReadAll(std::istream& input) {
    std::string bytes;
    const std::istream::pos_type start = input.tellg();
    if (start != std::istream::pos_type(-1) && input.seekg(0, std::ios::end)) {
        const std::istream::pos_type end = input.tellg();
        input.seekg(start);
        if (end != std::istream::pos_type(-1) && end > start) {
            bytes.reserve(static_cast<std::size_t>(end - start));
        }
    }
    input.clear();
    char chunk[1 << 16];
    while (input.read(chunk, sizeof chunk) || input.gcount() > 0) {
        bytes.append(chunk, static_cast<std::size_t>(input.gcount()));
    }
    return bytes;
}

// What the counting pass learns about the file.
struct FileShape {
    std::size_t records = 0;
    std::size_t widest = 0; // the most field delimiters in one record
    bool consistent = true;
};

// First pass: counts the records and the fields of each record. A record
// opened by anything but white space and not closed at the end of the file
// is counted as if its record delimiter were there, so that a last line
// without a line end is neither lost nor refused.
FileShape CountRecords(ASCIIFile& file) {
    const bool spaces = file.FieldDelimiterIsSpace();
    FileShape shape;
    std::size_t fields = 0;
    std::size_t values = 0;
    std::size_t last = 0;
    std::size_t results = 0;
    bool open = false;
    Result previous = ASCIIFile::afInvalid;

    const auto endRecord = [&] {
        // A delimiter at the end of a line opens no field.
        if (previous == ASCIIFile::afField) {
            --fields;
        }
        shape.widest = std::max(shape.widest, fields);
        if (shape.records > 0 && fields != last && (values > 0 || !spaces)) {
            shape.consistent = false;
        }
        last = fields;
        // Blank lines do not count.
        if (values > 0 || (!spaces && fields != 0)) {
            ++shape.records;
        }
        values = 0;
        fields = 0;
        open = false;
    };

    for (;;) {
        Result r = file.NextFieldUnconverted();
        switch (r) {
        case ASCIIFile::afEnd:
            if (open) {
                endRecord();
            }
            return shape;
        case ASCIIFile::afRecord:
            endRecord();
            break;
        case ASCIIFile::afField:
            // White space at the start of the file or of a line separates nothing.
            if (spaces && (results == 0 || previous == ASCIIFile::afRecord)) {
                r = ASCIIFile::afRecord;
            } else {
                ++fields;
                open = true;
            }
            break;
        case ASCIIFile::afNumber:
        case ASCIIFile::afBadNumber:
        case ASCIIFile::afInvalid:
            ++values;
            open = true;
            break;
        case ASCIIFile::afNothing:
            break;
        }
        ++results;
        previous = r;
    }
}

// A number too large for a double converts to an infinity, which no scale
// can classify: it is read as missing, and counted for the warning.
double FiniteOrMissing(double value, std::size_t& tooLarge) {
    if (std::isfinite(value)) {
        return value;
    }
    ++tooLarge;
    return DMAT::MissingValue();
}

// Once per file, after it was read.
void ReportTooLarge(Prompt& prompt, std::size_t count) {
    if (count == 0) {
        return;
    }
    prompt.Show("Warning",
                std::to_string(count) +
                    (count == 1 ? " number of the data file is" : " numbers of the data file are") +
                    " too large to be held and read as missing\r\nCheck ASCII file");
}

// The cells of the data matrix as the second pass writes them: record by
// record, each record's fields in increasing order. Every cell is written
// once, with its number or as missing, so the matrix needs no filling
// beforehand; whatever way the pass ends, the cells it did not reach are
// missing.
class RowWriter {
public:
    RowWriter(DMAT& matrix, std::size_t& tooLarge)
        : data_(matrix.Data()), rows_(matrix.GetRows()), columns_(matrix.GetColumns()),
          tooLarge_(tooLarge) {}
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;
    ~RowWriter() { FillRest(); }

    // Stores value at column of the current row; the columns passed over
    // since the last one stored become missing. Out of range is the matrix's
    // index error.
    void Store(std::size_t column, double value) {
        if (row_ >= rows_ || column >= columns_) {
            throw WMException(WMException::IndexOutOfRange);
        }
        for (; next_ < column; ++next_) {
            data_[next_ * rows_ + row_] = DMAT::MissingValue();
        }
        data_[column * rows_ + row_] = FiniteOrMissing(value, tooLarge_);
        next_ = column + 1;
    }

    // The rest of the current row becomes missing; the next row is current.
    void EndRow() {
        if (row_ < rows_) {
            for (; next_ < columns_; ++next_) {
                data_[next_ * rows_ + row_] = DMAT::MissingValue();
            }
        }
        ++row_;
        next_ = 0;
    }

private:
    void FillRest() {
        if (row_ >= rows_) {
            return;
        }
        EndRow();
        for (std::size_t c = 0; c < columns_; ++c) {
            std::fill(data_ + c * rows_ + row_, data_ + (c + 1) * rows_, DMAT::MissingValue());
        }
    }

    double* data_;
    std::size_t rows_;
    std::size_t columns_;
    std::size_t row_ = 0;
    std::size_t next_ = 0;
    std::size_t& tooLarge_;
};

// Second pass: stores every number that a delimiter follows directly
// (white space in between does not matter). The record counting mirrors
// the first pass exactly, so that every record lands in its own row.
int StoreValues(ASCIIFile& file, DMAT& matrix, Prompt& prompt, std::size_t& tooLarge) {
    const bool spaces = file.FieldDelimiterIsSpace();
    const std::size_t rows = matrix.GetRows();
    const std::size_t columns = matrix.GetColumns();
    RowWriter cells(matrix, tooLarge);
    std::size_t field = 0;
    std::size_t record = 0;
    std::size_t values = 0;
    std::size_t results = 0;
    bool open = false;
    // previous treats white space as transparent; raw does not, as the
    // first pass does not.
    Result previous = ASCIIFile::afEnd;
    Result raw = ASCIIFile::afEnd;

    const auto endRecord = [&] {
        if (previous == ASCIIFile::afNumber) {
            cells.Store(field, file.Value());
        }
        const std::size_t fields = raw == ASCIIFile::afField ? field - 1 : field;
        if (values > 0 || (!spaces && fields != 0)) {
            ++record;
            cells.EndRow();
        }
        field = 0;
        values = 0;
        open = false;
    };

    for (;;) {
        Result r = file.NextField();
        Result rawResult = r;
        switch (r) {
        case ASCIIFile::afEnd:
            if (open) {
                endRecord();
            }
            return 0;
        case ASCIIFile::afRecord:
            endRecord();
            break;
        case ASCIIFile::afField:
            if (spaces && (results == 0 || previous == ASCIIFile::afRecord)) {
                r = rawResult = ASCIIFile::afRecord;
                break;
            }
            ++field;
            open = true;
            if (previous == ASCIIFile::afNumber) {
                if (record >= rows) {
                    prompt.Show(kLoadErrorCaption, kRecordCounterText);
                    return 1;
                }
                if (field - 1 >= columns) {
                    prompt.Show(kLoadErrorCaption, kFieldCounterText);
                    return 1;
                }
                cells.Store(field - 1, file.Value());
            }
            break;
        case ASCIIFile::afNothing:
            r = previous;
            break;
        case ASCIIFile::afNumber:
        case ASCIIFile::afBadNumber:
        case ASCIIFile::afInvalid:
            ++values;
            open = true;
            break;
        }
        ++results;
        previous = r;
        raw = rawResult;
    }
}

// Reads lines the way a stream's getline into a 256-byte buffer does: at
// most 255 bytes, the line feed consumed; a longer line fails the stream
// and leaves its rest for the next read; a failed or exhausted stream gives
// nothing more.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

    // The next line, or nothing when the stream has failed or is exhausted.
    std::optional<std::string_view> Next() {
        if (fail_ || eof_ || pos_ == bytes_.size()) {
            fail_ = true;
            eof_ = eof_ || pos_ == bytes_.size();
            return std::nullopt;
        }
        const std::size_t start = pos_;
        while (pos_ != bytes_.size() && bytes_[pos_] != '\n' && pos_ - start < kLineLimit) {
            ++pos_;
        }
        const std::string_view line = bytes_.substr(start, pos_ - start);
        if (pos_ == bytes_.size()) {
            eof_ = true;
        } else if (bytes_[pos_] == '\n') {
            ++pos_;
        } else {
            fail_ = true;
        }
        return line;
    }

    bool Good() const { return !fail_ && !eof_; }
    bool Failed() const { return fail_; }
    // Bytes not read yet; every line read takes at least one of them.
    std::size_t Remaining() const { return bytes_.size() - pos_; }
    void Clear() { fail_ = eof_ = false; }

private:
    static constexpr std::size_t kLineLimit = 255;
    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool fail_ = false;
    bool eof_ = false;
};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSetupSpace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSetupSpace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

// An empty text counts as the whole text converted, giving 0.
bool ConvertsWhole(std::string_view text, double& value) {
    if (text.empty()) {
        value = 0;
        return true;
    }
    return ParseWholeDouble(text.data(), text.data() + text.size(), value);
}

// A row or column count: a whole number text whose value truncates to an
// unsigned 32-bit count. Negative, huge and not-a-number counts are refused
// rather than wrapped, with a message that names the line and what it holds.
bool ReadCount(LineReader& lines, std::uint32_t& count, const char* what, int lineNumber,
               Prompt& prompt) {
    const std::optional<std::string_view> line = lines.Next();
    const std::string_view text = Trim(line.value_or(std::string_view()));
    double value = 0;
    if (!line || !ConvertsWhole(text, value) || !(value > -1.0 && value < 4294967296.0)) {
        const std::string found =
            line ? "\"" + std::string(text) + "\"" : std::string("the end of the file");
        prompt.Show(kLoadErrorCaption, "Line " + std::to_string(lineNumber) +
                                           " should hold the number of " + what + ", but holds " +
                                           found + "\r\nCheck ASCII file");
        return false;
    }
    count = static_cast<std::uint32_t>(value);
    return true;
}

// The values left in the file: its lines from the reader's position on.
std::uint64_t CountValues(LineReader lines) {
    std::uint64_t count = 0;
    while (lines.Next()) {
        ++count;
    }
    return count;
}

// The counts announce more values than the file holds after them.
void ReportShortFile(Prompt& prompt, std::uint32_t rows, std::uint32_t columns,
                     std::uint64_t held) {
    prompt.Show(kLoadErrorCaption, "The counts announce " + std::to_string(rows) + " rows and " +
                                       std::to_string(columns) + " columns, " +
                                       std::to_string(static_cast<std::uint64_t>(rows) * columns) +
                                       " values, but the file holds " + std::to_string(held) +
                                       (held == 1 ? " value" : " values") +
                                       " after them\r\nCheck ASCII file");
}

} // namespace

int LoadAsciiMatrix(const AsciiFormat& format, DMAT& matrix, std::string_view bytes, Prompt& prompt,
                    std::optional<ScreenSize> screen) {
    if (format.IsLineLayout()) {
        return LoadLineMatrix(matrix, bytes, prompt, screen);
    }
    ASCIIFile file(bytes, format.FieldDelimiter(), format.RecordDelimiter());
    FileShape shape;
    try {
        shape = CountRecords(file);
    } catch (const LException& e) {
        prompt.Show(kLoadErrorCaption, e.GetDescription());
        return 1;
    }
    if (!shape.consistent && !prompt.Confirm("Warning", kDifferentFieldsText)) {
        return 1;
    }
    file.Rewind();
    if (shape.records == 0) {
        return 0;
    }
    const std::size_t columns = shape.widest + 1;
    constexpr std::size_t kLimit = std::numeric_limits<std::uint32_t>::max();
    if (shape.records > kLimit || columns > kLimit) {
        throw WMException(WMException::AllocationFailed);
    }
    matrix.SetSize(static_cast<std::uint32_t>(shape.records), static_cast<std::uint32_t>(columns));
    std::size_t tooLarge = 0;
    const int result = StoreValues(file, matrix, prompt, tooLarge);
    ReportTooLarge(prompt, tooLarge);
    return result;
}

int LoadAsciiMatrix(const AsciiFormat& format, DMAT& matrix, std::istream& input, Prompt& prompt,
                    std::optional<ScreenSize> screen) {
    const std::string bytes = ReadAll(input);
    return LoadAsciiMatrix(format, matrix, std::string_view(bytes), prompt, screen);
}

int LoadLineMatrix(DMAT& matrix, std::string_view bytes, Prompt& prompt,
                   std::optional<ScreenSize> screen) {
    LineReader lines(bytes);
    std::uint32_t rows = 0;
    std::uint32_t columns = 0;
    if (!ReadCount(lines, rows, "rows", 1, prompt) ||
        !ReadCount(lines, columns, "columns", 2, prompt)) {
        return 1;
    }
    if (!lines.Good()) {
        ReportShortFile(prompt, rows, columns, 0);
        return 1;
    }
    if (screen && (columns > screen->height || rows > screen->width) &&
        !prompt.Confirm("Alert", kScreenText)) {
        return 1;
    }
    // A file too short for the size it announces cannot load: it would run
    // out of lines and fail. Refusing it before the allocation keeps a
    // damaged count from claiming gigabytes.
    if (static_cast<std::uint64_t>(rows) * columns > lines.Remaining()) {
        ReportShortFile(prompt, rows, columns, CountValues(lines));
        return 1;
    }
    const LineReader afterCounts = lines;
    matrix.SetSize(rows, columns);
    std::size_t tooLarge = 0;
    for (std::uint32_t r = 0; r < rows; ++r) {
        for (std::uint32_t c = 0; c < columns; ++c) {
            const std::optional<std::string_view> line = lines.Next();
            if (!line) {
                // The file ends early: nothing more can be read, and the
                // cells that had no line stay missing.
                double* data = matrix.Data();
                for (std::uint32_t rr = r; rr < rows; ++rr) {
                    for (std::uint32_t cc = rr == r ? c : 0; cc < columns; ++cc) {
                        data[static_cast<std::size_t>(cc) * rows + rr] = DMAT::MissingValue();
                    }
                }
                ReportTooLarge(prompt, tooLarge);
                ReportShortFile(prompt, rows, columns, CountValues(afterCounts));
                return 1;
            }
            double value = 0;
            if (ConvertsWhole(Trim(*line), value)) {
                matrix.Set(r, c, FiniteOrMissing(value, tooLarge));
            } else {
                matrix.Set(r, c, DMAT::MissingValue());
                lines.Clear();
            }
        }
    }
    ReportTooLarge(prompt, tooLarge);
    return lines.Failed() ? 1 : 0;
}

int LoadLineMatrix(DMAT& matrix, std::istream& input, Prompt& prompt,
                   std::optional<ScreenSize> screen) {
    const std::string bytes = ReadAll(input);
    return LoadLineMatrix(matrix, std::string_view(bytes), prompt, screen);
}
