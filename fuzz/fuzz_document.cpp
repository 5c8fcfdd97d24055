// Feeds arbitrary bytes to the document loader as a setup file beside a
// small data file, answers its questions from the input, and saves and
// reloads whatever opened. Messages are expected; crashes, hangs, escaping
// exceptions and sanitizer reports are not.
//
// Every input is a setup file: a data file name in it may point anywhere,
// so the folder holds only the small matrices it is meant to name.

#include "core/Prompt.h"
#include "document/ChartDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Answers questions from the bits of one byte of the input, in turn.
class BitPrompt : public Prompt {
public:
    explicit BitPrompt(std::uint8_t bits) : bits_(bits) {}
    PromptAnswer Ask(const std::string&, const std::string&, PromptButtons buttons,
                     PromptIcon) override {
        const bool yes = ((bits_ >> (asked_++ % 8)) & 1) != 0;
        if (buttons == PromptButtons::Ok) {
            return PromptAnswer::Ok;
        }
        if (buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel) {
            return yes ? PromptAnswer::Yes : PromptAnswer::No;
        }
        return yes ? PromptAnswer::Ok : PromptAnswer::Cancel;
    }

private:
    std::uint8_t bits_;
    unsigned asked_ = 0;
};

const fs::path& Folder() {
    static const fs::path folder = [] {
        std::string name = (fs::temp_directory_path() / "fuzz_document_XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr) {
            std::abort();
        }
        std::ofstream(fs::path(name) / "data.csv", std::ios::binary) << "1,2,3\n4,NA,6\n";
        std::ofstream(fs::path(name) / "data.txt", std::ios::binary) << "1 2\n3 4\n5 6\n";
        std::atexit([] { fs::remove_all(Folder()); });
        return fs::path(name);
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const fs::path setup = Folder() / "map.dml";
    const fs::path saved = Folder() / "saved.dml";
    std::ofstream(setup, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));

    BitPrompt prompt(data[0]);
    ChartDocument document(prompt);
    if (document.Open(setup.string())) {
        document.SetPath(saved.string());
        if (document.Save()) {
            ChartDocument reloaded(prompt);
            reloaded.Open(saved.string());
        }
    }
    fs::remove(saved);
    fs::remove(Folder() / "saved.bak");
    return 0;
}
