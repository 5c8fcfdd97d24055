// Loads arbitrary bytes as a delimited data matrix file.
//
// Input layout: byte 0 chooses the delimiters (low two bits: comma, spaces,
// a custom pair, or a custom equal pair for the one-value-per-line layout;
// bit 2 switches the record delimiter of comma and spaces to custom), byte
// 1 holds the answers to the questions (bit k set: Cancel to the k-th), bytes
// 2 and 3 are the custom delimiters, the rest is the file.

#include "core/DMAT.h"
#include "core/Prompt.h"
#include "core/WMException.h"
#include "datafiles/AsciiMatrix.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

class FuzzPrompt : public Prompt {
public:
    explicit FuzzPrompt(std::uint8_t answers) : answers_(answers) {}

    PromptAnswer Ask(const std::string& caption, const std::string& text, PromptButtons buttons,
                     PromptIcon) override {
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

    FuzzPrompt prompt(data[1]);
    const std::string_view file(reinterpret_cast<const char*>(data) + 4, size - 4);
    DMAT matrix;
    try {
        const int result = LoadAsciiMatrix(format, matrix, file, prompt, ScreenSize{2048, 2048});
        if (result != 0 && result != 1) {
            std::abort();
        }
    } catch (const WMException& e) {
        // Only sizing may fail (a zero dimension in the line layout); an
        // index error would mean the two passes disagree.
        if (e.GetCode() != WMException::AllocationFailed) {
            std::abort();
        }
    }
    return 0;
}
