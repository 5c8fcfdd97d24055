// Loads arbitrary bytes as a delimited data matrix file.
//
// Input layout: byte 0 chooses the delimiters (low two bits: comma, spaces,
// a custom pair, or a custom equal pair for the one-value-per-line layout;
// bit 2 switches the record delimiter of comma and spaces to custom), byte
// 1 holds the answers to the questions (bit k set: Cancel to the k-th), bytes
// 2 and 3 are the custom delimiters, the rest is the file.
//
// The file is read three ways: as the program does, by the one-thread scan
// of every result, and split into stretches for threads however small it
// is. The three must agree on the result, the matrix and the messages.

#include "core/DMAT.h"
#include "core/Prompt.h"
#include "core/WMException.h"
#include "datafiles/AsciiMatrix.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

class FuzzPrompt : public Prompt {
public:
    explicit FuzzPrompt(std::uint8_t answers) : answers_(answers) {}

    PromptAnswer Ask(const std::string& caption, const std::string& text, PromptButtons buttons,
                     PromptIcon) override {
        shown.push_back(caption + ": " + text);
        if (buttons == PromptButtons::Ok) {
            // The two passes count records and fields alike, so the second
            // can never run past the matrix that the first one sized. (Other
            // messages may quote the file, so only their start tells.)
            if (text.starts_with("Current value of record counter") ||
                text.starts_with("Current value of field counter")) {
                std::abort();
            }
            return PromptAnswer::Ok;
        }
        // The screen-size question guards the one-value-per-line layout
        // against huge announced sizes; always declining it keeps the
        // matrix within the screen given below (at most 32 MB).
        if (caption == "Alert") {
            return PromptAnswer::Cancel;
        }
        const bool cancel = (answers_ >> (asked_++ % 8)) & 1;
        return cancel ? PromptAnswer::Cancel : PromptAnswer::Ok;
    }

    std::vector<std::string> shown;

private:
    std::uint8_t answers_;
    int asked_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    AsciiFormat format;
    const std::uint8_t setting = data[0];
    const auto field = static_cast<char>(data[2]);
    const auto record = static_cast<char>(data[3]);
    switch (setting & 3) {
    case 0:
        format.fieldKind = AsciiFormat::Field::Comma;
        break;
    case 1:
        format.fieldKind = AsciiFormat::Field::Spaces;
        break;
    case 2:
        format.fieldKind = AsciiFormat::Field::Custom;
        format.customField = field;
        format.recordKind = AsciiFormat::Record::Custom;
        format.customRecord = record;
        break;
    default:
        format.fieldKind = AsciiFormat::Field::Custom;
        format.customField = field;
        format.recordKind = AsciiFormat::Record::Custom;
        format.customRecord = field;
        break;
    }
    if ((setting & 3) < 2 && (setting & 4)) {
        format.recordKind = AsciiFormat::Record::Custom;
        format.customRecord = record;
    }

    const std::string_view file(reinterpret_cast<const char*>(data) + 4, size - 4);
    struct Outcome {
        int result = -1;
        std::vector<std::string> shown;
        std::vector<double> cells;
    };
    const auto read = [&](const AsciiReading& reading) {
        Outcome outcome;
        FuzzPrompt prompt(data[1]);
        DMAT matrix;
        try {
            outcome.result =
                LoadAsciiMatrix(format, matrix, file, prompt, ScreenSize{2048, 2048}, reading);
            if (outcome.result != 0 && outcome.result != 1) {
                std::abort();
            }
        } catch (const WMException& e) {
            // Only sizing may fail (a zero dimension in the line layout); an
            // index error would mean the two passes disagree.
            if (e.GetCode() != WMException::AllocationFailed) {
                std::abort();
            }
        }
        outcome.shown = std::move(prompt.shown);
        const double* cells = matrix.Data();
        outcome.cells.assign(cells, cells + std::size_t{matrix.GetRows()} * matrix.GetColumns());
        return outcome;
    };
    const Outcome usual = read(AsciiReading{});
    AsciiReading scan;
    scan.threads = 1;
    scan.wholeRecords = false;
    AsciiReading split;
    split.minimumBytes = 0;
    split.threads = 3;
    for (const AsciiReading& other : {scan, split}) {
        const Outcome outcome = read(other);
        if (outcome.result != usual.result || outcome.shown != usual.shown ||
            outcome.cells.size() != usual.cells.size() ||
            (!usual.cells.empty() && std::memcmp(outcome.cells.data(), usual.cells.data(),
                                                 usual.cells.size() * sizeof(double)) != 0)) {
            std::abort();
        }
    }
    return 0;
}
