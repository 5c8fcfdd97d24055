#include "datafiles/AsciiMatrix.h"

#include "core/DMAT.h"
#include "core/NumberText.h"
#include "core/Prompt.h"
#include "datafiles/MatrixReading.h"
#include "setup/CharClasses.h"

#include <istream>
#include <optional>
#include <string>
#include <string_view>

// The layout of one value per line after two lines with the row and the
// column counts.

namespace {

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
