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
#include <exception>
#include <istream>
#include <limits>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

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

// Into how many stretches the second pass over a file of size bytes is split.
std::size_t StretchCount(const AsciiReading& reading, std::size_t size) {
    if (size < reading.minimumBytes || size == 0) {
        return 1;
    }
    std::size_t count = reading.threads;
    if (count == 0) {
        count = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    }
    return std::min(count, size);
}

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

// A place where the second pass may start afresh: the start of a record,
// and the number of records before it.
struct Split {
    const char* position = nullptr;
    std::size_t records = 0;
};

// First pass: counts the records and the fields of each record. A record
// opened by anything but white space and not closed at the end of the file
// is counted as if its record delimiter were there, so that a last line
// without a line end is neither lost nor refused. On the way it notes the
// first record start at or after each of targets (in increasing order) in
// splits.
FileShape CountRecords(ASCIIFile& file, const std::vector<const char*>& targets,
                       std::vector<Split>& splits) {
    const bool spaces = file.FieldDelimiterIsSpace();
    FileShape shape;
    std::size_t fields = 0;
    std::size_t values = 0;
    std::size_t last = 0;
    std::size_t results = 0;
    bool open = false;
    Result previous = ASCIIFile::afInvalid;
    std::size_t target = 0;

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
    // At a record start: a split where a target has been reached.
    const auto noteSplit = [&] {
        if (target == targets.size() || file.Position() < targets[target]) {
            return;
        }
        while (target != targets.size() && file.Position() >= targets[target]) {
            ++target;
        }
        if (file.Position() != file.End()) {
            splits.push_back({file.Position(), shape.records});
        }
    };

    const bool plain = file.PlainRecordsPossible();
    std::string_view record;
    for (;;) {
        noteSplit();
        if (plain) {
            // The same results as below, a whole record at a time.
            while (file.NextPlainRecord(record, fields)) {
                values = fields != record.size() ? 1 : 0;
                previous = !record.empty() && static_cast<unsigned char>(record.back()) ==
                                                  file.FieldDelimiter()
                               ? ASCIIFile::afField
                               : ASCIIFile::afRecord;
                endRecord();
                previous = ASCIIFile::afRecord;
                ++results;
                noteSplit();
            }
        }
        for (bool more = true; more;) {
            Result r = file.NextFieldUnconverted();
            switch (r) {
            case ASCIIFile::afEnd:
                if (open) {
                    endRecord();
                }
                return shape;
            case ASCIIFile::afRecord:
                endRecord();
                more = false;
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

// Rows firstRow up to endRow of a column-major matrix become missing.
void FillMissingRows(double* data, std::size_t rows, std::size_t columns, std::size_t firstRow,
                     std::size_t endRow) {
    if (firstRow >= endRow) {
        return;
    }
    for (std::size_t c = 0; c < columns; ++c) {
        std::fill(data + c * rows + firstRow, data + c * rows + endRow, DMAT::MissingValue());
    }
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
// record from firstRow on, each record's fields in increasing order. Every
// cell is written once, with its number or as missing, so the matrix needs
// no filling beforehand; whatever way the pass ends, the cells it did not
// reach before endRow are missing. Rows from endRow on are not touched.
class RowWriter {
public:
    RowWriter(DMAT& matrix, std::size_t firstRow, std::size_t endRow, std::size_t& tooLarge)
        : data_(matrix.Data()), rows_(matrix.GetRows()), columns_(matrix.GetColumns()),
          endRow_(endRow), row_(firstRow), tooLarge_(tooLarge) {}
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;
    ~RowWriter() { FillRest(); }

    // Stores value at column of the current row; the columns passed over
    // since the last one stored become missing. Out of range is the matrix's
    // index error.
    // A value known to be finite needs no test.
    void Store(std::size_t column, double value, bool finite = false) {
        if (row_ >= endRow_ || column >= columns_) {
            throw WMException(WMException::IndexOutOfRange);
        }
        for (; next_ < column; ++next_) {
            data_[next_ * rows_ + row_] = DMAT::MissingValue();
        }
        data_[column * rows_ + row_] = finite ? value : FiniteOrMissing(value, tooLarge_);
        next_ = column + 1;
    }

    // The rest of the current row becomes missing; the next row is current.
    void EndRow() {
        if (row_ < endRow_) {
            for (; next_ < columns_; ++next_) {
                data_[next_ * rows_ + row_] = DMAT::MissingValue();
            }
        }
        ++row_;
        next_ = 0;
    }

private:
    void FillRest() {
        if (row_ >= endRow_) {
            return;
        }
        EndRow();
        FillMissingRows(data_, rows_, columns_, row_, endRow_);
    }

    double* data_;
    std::size_t rows_;
    std::size_t columns_;
    std::size_t endRow_;
    std::size_t row_;
    std::size_t next_ = 0;
    std::size_t& tooLarge_;
};

// How the second pass went on one stretch of the file.
struct StretchResult {
    const char* message = nullptr; // the load error it stopped at, if any
    std::exception_ptr exception;  // what it threw, if anything
    std::size_t tooLarge = 0;
};

// Second pass over one stretch of whole records, starting at a record start
// that firstRow records precede: stores every number that a delimiter
// follows directly (white space in between does not matter). The record
// counting mirrors the first pass exactly, so that every record lands in
// its own row; the stretch writes the rows from firstRow up to endRow and
// no others.
StretchResult StoreValues(ASCIIFile& file, DMAT& matrix, std::size_t firstRow, std::size_t endRow) {
    StretchResult outcome;
    try {
        const bool spaces = file.FieldDelimiterIsSpace();
        const std::size_t rows = matrix.GetRows();
        const std::size_t columns = matrix.GetColumns();
        RowWriter cells(matrix, firstRow, endRow, outcome.tooLarge);
        std::size_t field = 0;
        std::size_t record = firstRow;
        std::size_t values = 0;
        std::size_t results = 0;
        bool open = false;
        // previous treats white space as transparent; raw does not, as the
        // first pass does not. A stretch after the first starts where a
        // record delimiter has just been read.
        Result previous = firstRow == 0 ? ASCIIFile::afEnd : ASCIIFile::afRecord;
        Result raw = previous;
        if (firstRow != 0) {
            results = 1;
        }

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

        const bool plain = file.PlainRecordsPossible();
        std::string_view text;
        std::size_t delimiters = 0;
        for (;;) {
            if (plain) {
                // The same results as below, a whole record at a time.
                while (file.NextPlainRecord(text, delimiters)) {
                    const char* p = text.data();
                    const char* const end = p + text.size();
                    bool any = false;
                    for (;;) {
                        double value = 0;
                        const ASCIIFile::FieldEnd last = file.PlainField(p, end, value, any);
                        const bool number = last != ASCIIFile::FieldEnd::NoNumber;
                        const bool finite = last == ASCIIFile::FieldEnd::PlainDecimal;
                        if (p == end) {
                            if (number) {
                                cells.Store(field, value, finite);
                            }
                            const bool delimiterLast =
                                !text.empty() &&
                                static_cast<unsigned char>(text.back()) == file.FieldDelimiter();
                            if (any || (delimiterLast ? field - 1 : field) != 0) {
                                ++record;
                                cells.EndRow();
                            }
                            break;
                        }
                        ++p;
                        ++field;
                        if (number) {
                            if (record >= rows) {
                                outcome.message = kRecordCounterText;
                                return outcome;
                            }
                            if (field - 1 >= columns) {
                                outcome.message = kFieldCounterText;
                                return outcome;
                            }
                            cells.Store(field - 1, value, finite);
                        }
                    }
                    field = 0;
                    previous = raw = ASCIIFile::afRecord;
                    ++results;
                }
            }
            for (bool more = true; more;) {
                Result r = file.NextField();
                Result rawResult = r;
                switch (r) {
                case ASCIIFile::afEnd:
                    if (open) {
                        endRecord();
                    }
                    return outcome;
                case ASCIIFile::afRecord:
                    endRecord();
                    more = false;
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
                            outcome.message = kRecordCounterText;
                            return outcome;
                        }
                        if (field - 1 >= columns) {
                            outcome.message = kFieldCounterText;
                            return outcome;
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
    } catch (...) {
        outcome.exception = std::current_exception();
    }
    return outcome;
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
        // Appended piece by piece: GCC 12 mistakes a chain of + that starts
        // with a literal for an overlapping copy (-Wrestrict) when optimising.
        std::string message = "Line " + std::to_string(lineNumber) + " should hold the number of ";
        message += what;
        message += ", but holds ";
        if (line) {
            message += '"';
            message += text;
            message += '"';
        } else {
            message += "the end of the file";
        }
        message += "\r\nCheck ASCII file";
        prompt.Show(kLoadErrorCaption, message);
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
    return LoadAsciiMatrix(format, matrix, bytes, prompt, screen, AsciiReading{});
}

int LoadAsciiMatrix(const AsciiFormat& format, DMAT& matrix, std::string_view bytes, Prompt& prompt,
                    std::optional<ScreenSize> screen, const AsciiReading& reading) {
    if (format.IsLineLayout()) {
        return LoadLineMatrix(matrix, bytes, prompt, screen);
    }
    ASCIIFile file(bytes, format.FieldDelimiter(), format.RecordDelimiter(), reading.wholeRecords);
    // Where the second pass may be split: evenly spaced through the file,
    // each moved on to the next record start by the first pass.
    std::vector<const char*> targets;
    const std::size_t parts = StretchCount(reading, bytes.size());
    for (std::size_t k = 1; k < parts; ++k) {
        targets.push_back(bytes.data() + bytes.size() / parts * k);
    }
    std::vector<Split> splits{{bytes.data(), 0}};
    FileShape shape;
    try {
        shape = CountRecords(file, targets, splits);
    } catch (const LException& e) {
        prompt.Show(kLoadErrorCaption, e.GetDescription());
        return 1;
    }
    if (!shape.consistent && !prompt.Confirm("Warning", kDifferentFieldsText)) {
        return 1;
    }
    if (shape.records == 0) {
        return 0;
    }
    const std::size_t columns = shape.widest + 1;
    constexpr std::size_t kLimit = std::numeric_limits<std::uint32_t>::max();
    if (shape.records > kLimit || columns > kLimit) {
        throw WMException(WMException::AllocationFailed);
    }
    matrix.SetSize(static_cast<std::uint32_t>(shape.records), static_cast<std::uint32_t>(columns));

    // Each stretch has its own scanner and its own rows; the first runs here.
    std::vector<StretchResult> outcomes(splits.size());
    const auto run = [&](std::size_t k) {
        const char* const from = splits[k].position;
        const char* const to = k + 1 < splits.size() ? splits[k + 1].position : file.End();
        const std::size_t endRow = k + 1 < splits.size() ? splits[k + 1].records : shape.records;
        ASCIIFile stretch(std::string_view(from, static_cast<std::size_t>(to - from)),
                          format.FieldDelimiter(), format.RecordDelimiter(), reading.wholeRecords);
        outcomes[k] = StoreValues(stretch, matrix, splits[k].records, endRow);
    };
    std::vector<std::thread> workers;
    workers.reserve(splits.size());
    for (std::size_t k = 1; k < splits.size(); ++k) {
        try {
            workers.emplace_back(run, k);
        } catch (const std::system_error&) {
            // No thread to be had: the stretch is read here after the first.
            workers.emplace_back();
        }
    }
    run(0);
    for (std::size_t k = 1; k < splits.size(); ++k) {
        if (workers[k - 1].joinable()) {
            workers[k - 1].join();
        } else {
            run(k);
        }
    }

    // The outcome of reading the stretches one after the other: the first
    // failure ends the load, and the rows after it stay missing.
    std::size_t tooLarge = 0;
    for (std::size_t k = 0; k < outcomes.size(); ++k) {
        const StretchResult& outcome = outcomes[k];
        tooLarge += outcome.tooLarge;
        if (!outcome.exception && !outcome.message) {
            continue;
        }
        if (k + 1 < splits.size()) {
            FillMissingRows(matrix.Data(), matrix.GetRows(), matrix.GetColumns(),
                            splits[k + 1].records, matrix.GetRows());
        }
        if (outcome.exception) {
            std::rethrow_exception(outcome.exception);
        }
        prompt.Show(kLoadErrorCaption, outcome.message);
        ReportTooLarge(prompt, tooLarge);
        return 1;
    }
    ReportTooLarge(prompt, tooLarge);
    return 0;
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
