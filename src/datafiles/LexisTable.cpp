#include "datafiles/LexisTable.h"

#include "core/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Tables have a handful of columns; a line with many more is not a table.
constexpr std::size_t kMaxColumns = 32;

// The most digits of a year or an age.
constexpr std::size_t kMaxKeyDigits = 6;

// A table may leave holes, but a matrix much larger than its rows means
// a damaged key (a year 19500 for 1950); refusing it keeps the memory
// within a few times the file's size. Small tables get room regardless.
constexpr std::uint64_t kCellsPerRow = 4;
constexpr std::uint64_t kFreeCells = 1u << 20;

// Quoted file text is cut to this many bytes in messages.
constexpr std::size_t kQuotedBytes = 40;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The text as a message may show it: control bytes and bytes beyond ASCII
// (a binary file, or a sequence cut in two) become "?", and a long text is
// cut.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < kQuotedBytes; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        out += c < 0x20 || c >= 0x7F ? '?' : static_cast<char>(c);
    }
    return out + (text.size() > kQuotedBytes ? "...\"" : "\"");
}

std::string LineText(std::size_t line) {
    return "line " + std::to_string(line) + ": ";
}

// The lines of the file, counted from 1, without their line ends.
class LineCursor {
public:
    explicit LineCursor(std::string_view bytes) : bytes_(bytes) {}

    bool Next(std::string_view& line) {
        if (pos_ >= bytes_.size()) {
            return false;
        }
        const char* start = bytes_.data() + pos_;
        const void* end = std::memchr(start, '\n', bytes_.size() - pos_);
        const std::size_t length =
            end == nullptr ? bytes_.size() - pos_ : static_cast<const char*>(end) - start;
        line = std::string_view(start, length);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        pos_ += length + 1;
        ++number_;
        return true;
    }

    std::size_t Number() const { return number_; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

// Splits a line at runs of blanks into at most fields.size() fields;
// returns how many the line holds, counting those beyond the array too
// (only up to one more than it holds).
std::size_t SplitFields(std::string_view line,
                        std::array<std::string_view, kMaxColumns + 1>& fields) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) {
            ++i;
        }
        if (i == line.size()) {
            break;
        }
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) {
            ++i;
        }
        if (count == fields.size()) {
            return count + 1;
        }
        fields[count++] = line.substr(start, i - start);
    }
    return count;
}

// A year or an age: whole digits, optionally marked "+" or "-" (an open
// age such as "110+" or "12-", or a year before or after a change of
// territory such as "1959-").
bool ReadKey(std::string_view text, std::int32_t& number, char& mark) {
    mark = '\0';
    if (!text.empty() && (text.back() == '+' || text.back() == '-')) {
        mark = text.back();
        text.remove_suffix(1);
    }
    if (text.empty() || text.size() > kMaxKeyDigits) {
        return false;
    }
    std::int32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    number = value;
    return true;
}

bool IsPeriodName(std::string_view name) {
    return name == "Year" || name == "Cohort";
}

bool IsAgeName(std::string_view name) {
    return name == "Age" || name == "ARDY";
}

// The flag of fertility tables that marks the open age groups.
bool IsFlagColumn(std::string_view name) {
    return name == "OpenInterval";
}

// The column names on a line, or nothing when the line does not begin
// with a period and an age column.
std::optional<LexisTableHeader> NamesOf(std::string_view line) {
    std::array<std::string_view, kMaxColumns + 1> fields;
    const std::size_t count = SplitFields(line, fields);
    if (count < 2 || count > kMaxColumns || !IsPeriodName(fields[0]) || !IsAgeName(fields[1])) {
        return std::nullopt;
    }
    LexisTableHeader header;
    for (std::size_t i = 0; i < count; ++i) {
        header.columns.emplace_back(fields[i]);
    }
    const bool cohortToo = count > 2 && fields[2] == "Cohort";
    if (fields[1] == "ARDY") {
        header.layout = fields[0] == "Year" ? LexisLayout::YearParallelograms
                                            : LexisLayout::CohortParallelograms;
    } else if (fields[0] == "Year" && cohortToo) {
        header.layout = LexisLayout::Triangles;
        header.keyColumns = 3;
    }
    return header;
}

std::string TitleOf(std::string_view line) {
    const std::size_t modified = line.find("Last modified");
    if (modified != std::string_view::npos) {
        line = line.substr(0, modified);
    }
    line = TrimBlanks(line);
    while (!line.empty() && (line.back() == ',' || line.back() == ';')) {
        line = TrimBlanks(line.substr(0, line.size() - 1));
    }
    return std::string(line);
}

// One row of data as read, before the table's extent is known.
struct Row {
    std::int32_t period;
    std::int32_t age;
    std::uint32_t line;
    // The column within the year: 0 for squares and lower triangles, 1
    // for upper ones, kFirstFree for a triangle without a cohort.
    std::uint8_t slot;
    // kLowRank for a year marked "-" (before a change of territory), which
    // gives way to the same year marked "+".
    std::uint8_t rank;
    double value;
};

constexpr std::uint8_t kFirstFree = 2;
constexpr std::uint8_t kLowRank = 1;
constexpr std::uint8_t kFullRank = 2;

// The key and value fields of one data row.
class RowReader {
public:
    RowReader(const LexisTableHeader& header, std::size_t valueIndex)
        : header_(header), valueIndex_(valueIndex) {}

    // Reads the fields of a line into row; false with error set when it
    // cannot be read.
    bool Read(std::string_view line, std::size_t number, Row& row, std::string& error) {
        const std::size_t count = SplitFields(line, fields_);
        if (count != header_.columns.size()) {
            error = LineText(number) + "the row has " + std::to_string(count) +
                    " fields, but line " + std::to_string(header_.namesLine) + " names " +
                    std::to_string(header_.columns.size()) + " columns";
            return false;
        }
        char periodMark = '\0';
        char ageMark = '\0';
        if (!ReadKey(fields_[0], row.period, periodMark)) {
            error = BadKey(number, 0, "1959, 1959- or 1959+");
            return false;
        }
        if (!ReadKey(fields_[1], row.age, ageMark)) {
            error = BadKey(number, 1, "5, 12- or 110+");
            return false;
        }
        row.line = static_cast<std::uint32_t>(
            std::min<std::size_t>(number, std::numeric_limits<std::uint32_t>::max()));
        row.rank = periodMark == '-' ? kLowRank : kFullRank;
        row.slot = 0;
        if (header_.layout == LexisLayout::Triangles && !ReadCohort(number, row, error)) {
            return false;
        }
        const std::string_view value = fields_[valueIndex_];
        if (value == ".") {
            row.value = DMAT::MissingValue();
        } else if (!ParseWholeDouble(value.data(), value.data() + value.size(), row.value) ||
                   !std::isfinite(row.value)) {
            error = LineText(number) + "the " + header_.columns[valueIndex_] + " value " +
                    Quoted(value) + " is not a number";
            return false;
        }
        return true;
    }

private:
    std::string BadKey(std::size_t number, std::size_t column, const char* examples) const {
        return LineText(number) + "the " + header_.columns[column] + " " + Quoted(fields_[column]) +
               " is not a whole number such as " + examples;
    }

    // The triangle a row gives: its cohort is year - age for the lower
    // one and year - age - 1 for the upper one. Tables leave the cohort
    // of the open age out; its two rows come lower triangle first.
    bool ReadCohort(std::size_t number, Row& row, std::string& error) const {
        const std::string_view text = fields_[2];
        if (text == ".") {
            row.slot = kFirstFree;
            return true;
        }
        std::int32_t cohort = 0;
        char mark = '\0';
        if (!ReadKey(text, cohort, mark) || mark != '\0') {
            error = BadKey(number, 2, "1950");
            return false;
        }
        const std::int32_t lower = row.period - row.age;
        if (cohort == lower || cohort == lower - 1) {
            row.slot = cohort == lower ? 0 : 1;
            return true;
        }
        error = LineText(number) + "the Cohort " + std::to_string(cohort) +
                " is neither Year - Age (" + std::to_string(lower) + ") nor Year - Age - 1 (" +
                std::to_string(lower - 1) + ")";
        return false;
    }

    const LexisTableHeader& header_;
    std::size_t valueIndex_;
    std::array<std::string_view, kMaxColumns + 1> fields_;
};

struct Extent {
    std::int32_t firstPeriod = std::numeric_limits<std::int32_t>::max();
    std::int32_t lastPeriod = std::numeric_limits<std::int32_t>::min();
    std::int32_t firstAge = std::numeric_limits<std::int32_t>::max();
    std::int32_t lastAge = std::numeric_limits<std::int32_t>::min();
    std::uint32_t firstPeriodLine = 0;
    std::uint32_t lastPeriodLine = 0;

    void Add(const Row& row) {
        if (row.period < firstPeriod) {
            firstPeriod = row.period;
            firstPeriodLine = row.line;
        }
        if (row.period > lastPeriod) {
            lastPeriod = row.period;
            lastPeriodLine = row.line;
        }
        firstAge = std::min(firstAge, row.age);
        lastAge = std::max(lastAge, row.age);
    }
};

std::string KeyText(const LexisTableHeader& header, const Row& row) {
    return header.PeriodName() + " " + std::to_string(row.period) + " and " + header.columns[1] +
           " " + std::to_string(row.age);
}

// Puts every row into its cell of values (sized and filled with the
// missing value). False with error set for a cell given twice.
bool PlaceRows(const LexisTableHeader& header, const std::vector<Row>& rows, const Extent& extent,
               std::uint32_t columnsPerPeriod, DMAT& values, std::string& error) {
    const std::uint32_t ageCount = values.GetRows();
    std::vector<std::uint8_t> ranks(static_cast<std::size_t>(ageCount) * values.GetColumns(), 0);
    double* data = values.Data();
    for (const Row& row : rows) {
        const std::size_t first =
            (static_cast<std::size_t>(row.period - extent.firstPeriod) * columnsPerPeriod) *
                ageCount +
            static_cast<std::size_t>(row.age - extent.firstAge);
        std::size_t cell = first + (row.slot == 1 ? ageCount : 0);
        if (row.slot == kFirstFree && ranks[first] != 0) {
            cell = first + ageCount;
        }
        if (ranks[cell] == row.rank) {
            error = LineText(row.line) + KeyText(header, row) +
                    (columnsPerPeriod == 2 ? " give this triangle a second time"
                                           : " appear a second time");
            return false;
        }
        if (ranks[cell] < row.rank) {
            ranks[cell] = row.rank;
            data[cell] = row.value;
        }
    }
    return true;
}

} // namespace

std::string_view LexisLayoutName(LexisLayout layout) {
    switch (layout) {
    case LexisLayout::Triangles:
        return "triangles";
    case LexisLayout::YearParallelograms:
        return "year-parallelograms";
    case LexisLayout::CohortParallelograms:
        return "cohort-parallelograms";
    case LexisLayout::Squares:
        break;
    }
    return "squares";
}

std::vector<std::string> LexisTableHeader::ValueColumns() const {
    std::vector<std::string> names;
    for (std::size_t i = keyColumns; i < columns.size(); ++i) {
        if (!IsFlagColumn(columns[i])) {
            names.push_back(columns[i]);
        }
    }
    return names;
}

std::string LexisTableHeader::DefaultValueColumn() const {
    const std::vector<std::string> names = ValueColumns();
    return names.empty() ? std::string() : names.back();
}

std::string LexisTableHeader::CheckValueColumn(const std::string& name) const {
    const std::vector<std::string> names = ValueColumns();
    if (std::find(names.begin(), names.end(), name) != names.end()) {
        return {};
    }
    std::string message = "The table has no column of values named " + Quoted(name) + "; it has";
    for (const std::string& column : names) {
        message += " " + column;
    }
    return message;
}

std::optional<LexisTableHeader> ReadLexisTableHeader(std::string_view bytes, std::string& error) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    LineCursor lines(bytes);
    std::string_view line;
    if (!lines.Next(line)) {
        error = "The file is empty";
        return std::nullopt;
    }
    // A table cut down to its column names and rows is read too.
    std::optional<LexisTableHeader> header = NamesOf(line);
    if (header) {
        header->namesLine = 1;
    } else {
        const std::string_view description = line;
        if (!lines.Next(line) || !lines.Next(line)) {
            error = LineText(lines.Number() + 1) + "the file ends before its column names";
            return std::nullopt;
        }
        header = NamesOf(line);
        if (!header) {
            error = LineText(3) +
                    "the column names should begin with Year or Cohort, then Age or ARDY; "
                    "the line reads " +
                    Quoted(TrimBlanks(line));
            return std::nullopt;
        }
        header->title = TitleOf(description);
    }
    if (header->ValueColumns().empty()) {
        error = LineText(header->namesLine) + "no column of values follows the columns " +
                header->columns[0] + " and " + header->columns[1];
        return std::nullopt;
    }
    return header;
}

bool ReadLexisTable(std::string_view bytes, const std::string& valueColumn, LexisTable& table,
                    DMAT& values, std::string& error) {
    if (const void* zero = std::memchr(bytes.data(), '\0', bytes.size())) {
        const auto at = static_cast<std::size_t>(static_cast<const char*>(zero) - bytes.data());
        const std::size_t line = 1 + std::count(bytes.begin(), bytes.begin() + at, '\n');
        error = LineText(line) + "the file holds a zero byte and is not a text table";
        return false;
    }
    std::optional<LexisTableHeader> header = ReadLexisTableHeader(bytes, error);
    if (!header) {
        return false;
    }
    const std::string chosen = valueColumn.empty() ? header->DefaultValueColumn() : valueColumn;
    error = header->CheckValueColumn(chosen);
    if (!error.empty()) {
        return false;
    }
    const std::size_t valueIndex =
        static_cast<std::size_t>(std::find(header->columns.begin(), header->columns.end(), chosen) -
                                 header->columns.begin());

    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    LineCursor lines(bytes);
    std::string_view line;
    for (std::size_t i = 0; i < header->namesLine; ++i) {
        lines.Next(line);
    }
    RowReader reader(*header, valueIndex);
    std::vector<Row> rows;
    Extent extent;
    while (lines.Next(line)) {
        if (TrimBlanks(line).empty()) {
            continue;
        }
        Row row{};
        if (!reader.Read(line, lines.Number(), row, error)) {
            return false;
        }
        extent.Add(row);
        rows.push_back(row);
    }
    if (rows.empty()) {
        error = LineText(lines.Number() + 1) + "the table ends before its first row of data";
        return false;
    }

    const std::uint32_t columnsPerPeriod = header->layout == LexisLayout::Triangles ? 2 : 1;
    const std::uint64_t periods =
        static_cast<std::uint64_t>(extent.lastPeriod - extent.firstPeriod) + 1;
    const std::uint64_t ages = static_cast<std::uint64_t>(extent.lastAge - extent.firstAge) + 1;
    const std::uint64_t cells = periods * columnsPerPeriod * ages;
    if (cells > std::max(kFreeCells, kCellsPerRow * rows.size())) {
        error = LineText(extent.lastPeriodLine) + "the " + header->PeriodName() + "s from " +
                std::to_string(extent.firstPeriod) + " (line " +
                std::to_string(extent.firstPeriodLine) + ") to " +
                std::to_string(extent.lastPeriod) + " and the ages from " +
                std::to_string(extent.firstAge) + " to " + std::to_string(extent.lastAge) +
                " leave most of the table's " + std::to_string(cells) +
                " cells empty; a year or an age is wrong";
        return false;
    }

    DMAT matrix(static_cast<std::uint32_t>(ages),
                static_cast<std::uint32_t>(periods * columnsPerPeriod));
    matrix.Fill(DMAT::MissingValue());
    if (!PlaceRows(*header, rows, extent, columnsPerPeriod, matrix, error)) {
        return false;
    }
    table.header = std::move(*header);
    table.valueColumn = chosen;
    table.firstPeriod = extent.firstPeriod;
    table.lastPeriod = extent.lastPeriod;
    table.firstAge = extent.firstAge;
    table.lastAge = extent.lastAge;
    values = std::move(matrix);
    return true;
}
