#include "datafiles/AsciiMatrix.h"

#include "core/DMAT.h"
#include "core/LException.h"
#include "core/NumberText.h"
#include "core/Prompt.h"
#include "core/WMException.h"
#include "datafiles/ASCIIFile.h"
#include "datafiles/MatrixReading.h"
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

constexpr const char* kRecordCounterText =
    "Current value of record counter is higher than the number of rows in the allocated "
    "matrix\r\nCheck ASCII file\r\nCheck if all records have record delimiter at the end";
constexpr const char* kFieldCounterText =
    "Current value of field counter is higher than the number of columns in the allocated "
    "matrix\r\nCheck ASCII file";
constexpr const char* kDifferentFieldsText =
    "Different text lines have different number of fields\r\nContinue?";

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
class RecordCounter {
public:
    RecordCounter(ASCIIFile& file, const std::vector<const char*>& targets,
                  std::vector<Split>& splits)
        : file_(file), targets_(targets), splits_(splits), spaces_(file.FieldDelimiterIsSpace()) {}

    FileShape Count() {
        const bool plain = file_.PlainRecordsPossible();
        for (;;) {
            NoteSplit();
            if (plain) {
                CountPlainRecords();
            }
            if (!CountFieldsOfRecord()) {
                return shape_;
            }
        }
    }

private:
    void EndRecord() {
        // A delimiter at the end of a line opens no field.
        if (previous_ == ASCIIFile::afField) {
            --fields_;
        }
        shape_.widest = std::max(shape_.widest, fields_);
        if (shape_.records > 0 && fields_ != last_ && (values_ > 0 || !spaces_)) {
            shape_.consistent = false;
        }
        last_ = fields_;
        // Blank lines do not count.
        if (values_ > 0 || (!spaces_ && fields_ != 0)) {
            ++shape_.records;
        }
        values_ = 0;
        fields_ = 0;
        open_ = false;
    }

    // At a record start: a split where a target has been reached.
    void NoteSplit() {
        if (target_ == targets_.size() || file_.Position() < targets_[target_]) {
            return;
        }
        while (target_ != targets_.size() && file_.Position() >= targets_[target_]) {
            ++target_;
        }
        if (file_.Position() != file_.End()) {
            splits_.push_back({file_.Position(), shape_.records});
        }
    }

    // The same results as the field by field count, a whole record at a time.
    void CountPlainRecords() {
        std::string_view record;
        while (file_.NextPlainRecord(record, fields_)) {
            values_ = fields_ != record.size() ? 1 : 0;
            previous_ = !record.empty() &&
                                static_cast<unsigned char>(record.back()) == file_.FieldDelimiter()
                            ? ASCIIFile::afField
                            : ASCIIFile::afRecord;
            EndRecord();
            previous_ = ASCIIFile::afRecord;
            ++results_;
            NoteSplit();
        }
    }

    // Counts up to the end of the next record; false at the end of the file.
    bool CountFieldsOfRecord() {
        for (;;) {
            Result r = file_.NextFieldUnconverted();
            bool recordEnded = false;
            switch (r) {
            case ASCIIFile::afEnd:
                if (open_) {
                    EndRecord();
                }
                return false;
            case ASCIIFile::afRecord:
                EndRecord();
                recordEnded = true;
                break;
            case ASCIIFile::afField:
                // White space at the start of the file or of a line separates nothing.
                if (spaces_ && (results_ == 0 || previous_ == ASCIIFile::afRecord)) {
                    r = ASCIIFile::afRecord;
                } else {
                    ++fields_;
                    open_ = true;
                }
                break;
            case ASCIIFile::afNumber:
            case ASCIIFile::afBadNumber:
            case ASCIIFile::afInvalid:
                ++values_;
                open_ = true;
                break;
            case ASCIIFile::afNothing:
                break;
            }
            ++results_;
            previous_ = r;
            if (recordEnded) {
                return true;
            }
        }
    }

    ASCIIFile& file_;
    const std::vector<const char*>& targets_;
    std::vector<Split>& splits_;
    const bool spaces_;
    FileShape shape_;
    std::size_t fields_ = 0;
    std::size_t values_ = 0;
    std::size_t last_ = 0;
    std::size_t results_ = 0;
    bool open_ = false;
    Result previous_ = ASCIIFile::afInvalid;
    std::size_t target_ = 0;
};

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

// The load error of a number that has no cell: a record past the counted
// records, or a field past the widest record.
const char* CounterError(std::size_t record, std::size_t column, std::size_t rows,
                         std::size_t columns) {
    if (record >= rows) {
        return kRecordCounterText;
    }
    return column >= columns ? kFieldCounterText : nullptr;
}

// The second pass over whole plain records, as long as the file has them:
// the same cells as the field-by-field reading below would store, a whole
// record at a time. Counts each record in results; gives the load error it
// stopped at, if any.
const char* StorePlainRecords(ASCIIFile& file, RowWriter& cells, std::size_t& record,
                              std::size_t& results, std::size_t rows, std::size_t columns) {
    std::string_view text;
    std::size_t delimiters = 0;
    while (file.NextPlainRecord(text, delimiters)) {
        const char* p = text.data();
        const char* const end = p + text.size();
        std::size_t field = 0;
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
                if (const char* error = CounterError(record, field - 1, rows, columns)) {
                    return error;
                }
                cells.Store(field - 1, value, finite);
            }
        }
        ++results;
    }
    return nullptr;
}

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
class StretchReader {
public:
    StretchReader(ASCIIFile& file, DMAT& matrix, std::size_t firstRow, std::size_t endRow,
                  std::size_t& tooLarge)
        : file_(file), cells_(matrix, firstRow, endRow, tooLarge), rows_(matrix.GetRows()),
          columns_(matrix.GetColumns()), spaces_(file.FieldDelimiterIsSpace()), record_(firstRow),
          // A stretch after the first starts where a record delimiter has
          // just been read.
          results_(firstRow == 0 ? 0 : 1),
          previous_(firstRow == 0 ? ASCIIFile::afEnd : ASCIIFile::afRecord), raw_(previous_) {}

    // Stores the stretch's numbers; the load error it stopped at, if any.
    const char* Store() {
        const bool plain = file_.PlainRecordsPossible();
        for (;;) {
            if (plain) {
                const std::size_t before = results_;
                if (const char* error =
                        StorePlainRecords(file_, cells_, record_, results_, rows_, columns_)) {
                    return error;
                }
                if (results_ != before) {
                    previous_ = raw_ = ASCIIFile::afRecord;
                }
            }
            bool atEnd = false;
            if (const char* error = StoreFieldsOfRecord(atEnd)) {
                return error;
            }
            if (atEnd) {
                return nullptr;
            }
        }
    }

private:
    void EndRecord() {
        if (previous_ == ASCIIFile::afNumber) {
            cells_.Store(field_, file_.Value());
        }
        const std::size_t fields = raw_ == ASCIIFile::afField ? field_ - 1 : field_;
        if (values_ > 0 || (!spaces_ && fields != 0)) {
            ++record_;
            cells_.EndRow();
        }
        field_ = 0;
        values_ = 0;
        open_ = false;
    }

    // Reads field by field up to the end of the next record, or of the file.
    const char* StoreFieldsOfRecord(bool& atEnd) {
        for (;;) {
            Result r = file_.NextField();
            Result rawResult = r;
            bool recordEnded = false;
            switch (r) {
            case ASCIIFile::afEnd:
                if (open_) {
                    EndRecord();
                }
                atEnd = true;
                return nullptr;
            case ASCIIFile::afRecord:
                EndRecord();
                recordEnded = true;
                break;
            case ASCIIFile::afField:
                if (spaces_ && (results_ == 0 || previous_ == ASCIIFile::afRecord)) {
                    r = rawResult = ASCIIFile::afRecord;
                    break;
                }
                ++field_;
                open_ = true;
                if (previous_ == ASCIIFile::afNumber) {
                    if (const char* error = CounterError(record_, field_ - 1, rows_, columns_)) {
                        return error;
                    }
                    cells_.Store(field_ - 1, file_.Value());
                }
                break;
            case ASCIIFile::afNothing:
                r = previous_;
                break;
            case ASCIIFile::afNumber:
            case ASCIIFile::afBadNumber:
            case ASCIIFile::afInvalid:
                ++values_;
                open_ = true;
                break;
            }
            ++results_;
            previous_ = r;
            raw_ = rawResult;
            if (recordEnded) {
                return nullptr;
            }
        }
    }

    ASCIIFile& file_;
    RowWriter cells_;
    const std::size_t rows_;
    const std::size_t columns_;
    const bool spaces_;
    std::size_t field_ = 0;
    std::size_t record_;
    std::size_t values_ = 0;
    std::size_t results_;
    bool open_ = false;
    // previous_ treats white space as transparent; raw_ does not, as the
    // first pass does not.
    Result previous_;
    Result raw_;
};

StretchResult StoreValues(ASCIIFile& file, DMAT& matrix, std::size_t firstRow, std::size_t endRow) {
    StretchResult outcome;
    try {
        StretchReader reader(file, matrix, firstRow, endRow, outcome.tooLarge);
        outcome.message = reader.Store();
    } catch (...) {
        outcome.exception = std::current_exception();
    }
    return outcome;
}

// The second pass: each stretch between splits has its own scanner and its
// own rows, and all but the first have a thread of their own.
std::vector<StretchResult> ReadStretches(const AsciiFormat& format, const AsciiReading& reading,
                                         const char* end, const std::vector<Split>& splits,
                                         std::size_t records, DMAT& matrix) {
    std::vector<StretchResult> outcomes(splits.size());
    const auto run = [&](std::size_t k) {
        const char* const from = splits[k].position;
        const char* const to = k + 1 < splits.size() ? splits[k + 1].position : end;
        const std::size_t endRow = k + 1 < splits.size() ? splits[k + 1].records : records;
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

    return outcomes;
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
        shape = RecordCounter(file, targets, splits).Count();
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

    const std::vector<StretchResult> outcomes =
        ReadStretches(format, reading, file.End(), splits, shape.records, matrix);

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
