// Feeds arbitrary bytes to the document loader as a setup file beside a
// small data file, answers its questions from the input, and saves and
// reloads whatever opened. Messages are expected; crashes, hangs, escaping
// exceptions and sanitizer reports are not.
//
// It also checks that saving loses nothing: a file that loaded without a
// message is saved, and the saved file must load without a message into the
// same document, as info --json describes it (numbers aside, which saving
// rounds to their formats once; the annotations' numbers it keeps exactly),
// and save again to a file that loads into exactly the same document. A save may be refused; it may
// not lose. A broken property aborts, so libFuzzer keeps the input.
//
// Every input is a setup file: a data file name in it may point anywhere,
// so the folder holds only the small matrices it is meant to name. A
// derived map's section takes part in the property through the description,
// which names its keys.

#include "cli/CliPrompt.h"
#include "cli/DocumentJson.h"
#include "core/Prompt.h"
#include "document/ChartDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Answers questions from the bits of one byte of the input, in turn, and
// counts every box.
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
    unsigned Asked() const { return asked_; }

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
        // Second matrices for a derived map: one shaped like data.csv, one
        // not, and a database table with two columns.
        std::ofstream(fs::path(name) / "second.csv", std::ios::binary) << "2,0,NA\n8,1,-3\n";
        std::ofstream(fs::path(name) / "table.txt", std::ios::binary)
            << "T, Death rates (period 1x1)\n\nYear Age Female Male\n"
               "2000 0 0.004 0.005\n2000 1 0 0.001\n2001 0 0.002 .\n2001 1 0.0004 0.0003\n";
        std::atexit([] { fs::remove_all(Folder()); });
        return fs::path(name);
    }();
    return folder;
}

// The document as info --json reports it, without the file's name and the
// messages (which the property checks on their own).
std::string Description(ChartDocument& document) {
    std::ostringstream ignored;
    const CliPrompt none(ignored, false);
    std::string json = DocumentJson("", true, document, none);
    // The encoding is read off the file's bytes: a saved file that lost the
    // comments holding the only non-ASCII bytes is plain UTF-8, which reads
    // the same texts.
    const std::size_t encoding = json.find(",\"encoding\":");
    if (encoding != std::string::npos) {
        const std::size_t end = json.find('"', json.find(':', encoding) + 2);
        json.erase(encoding, end + 1 - encoding);
    }
    const std::size_t data = json.find(",\"data\":");
    return data == std::string::npos ? json : json.substr(data);
}

// The description with every number replaced by "#": what saving may not
// change even once.
std::string Shape(const std::string& json) {
    std::string shape;
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            shape += c;
            if (c == '\\' && i + 1 < json.size()) {
                shape += json[++i];
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
            shape += c;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            while (i + 1 < json.size() && std::string_view("0123456789.eE+-").find(json[i + 1]) !=
                                              std::string_view::npos) {
                ++i;
            }
            shape += '#';
        } else {
            shape += c;
        }
    }
    return shape;
}

// The annotations of a description: the texts, lines and rectangles with
// every number as it is, for saving writes their coordinates exactly.
std::string Annotations(const std::string& json) {
    const std::size_t start = json.find("\"annotations\":");
    if (start == std::string::npos) {
        return std::string();
    }
    int depth = 0;
    bool inString = false;
    for (std::size_t i = json.find('{', start); i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if ((c == '}' || c == ']') && --depth == 0) {
            return json.substr(start, i + 1 - start);
        }
    }
    return json.substr(start);
}

void Finding(const char* what, const std::string& before, const std::string& after) {
    std::fprintf(stderr, "fuzz_document: %s\nbefore: %s\nafter:  %s\n", what, before.c_str(),
                 after.c_str());
    std::abort();
}

// Loads path quietly; the description, or nothing when it did not load
// without a message.
std::optional<std::string> CleanLoad(const fs::path& path, ChartDocument& document,
                                     const BitPrompt& prompt) {
    if (!document.Open(path.string()) || prompt.Asked() != 0) {
        return std::nullopt;
    }
    return Description(document);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const fs::path setup = Folder() / "map.dml";
    const fs::path saved = Folder() / "saved.dml";
    const fs::path again = Folder() / "again.dml";
    std::ofstream(setup, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));

    BitPrompt prompt(data[0]);
    ChartDocument document(prompt);
    if (document.Open(setup.string())) {
        const bool clean = prompt.Asked() == 0;
        const std::string before = clean ? Description(document) : std::string();
        document.SetPath(saved.string());
        if (document.Save()) {
            BitPrompt quiet(0);
            ChartDocument reloaded(quiet);
            const std::optional<std::string> after = CleanLoad(saved, reloaded, quiet);
            if (clean && !after) {
                Finding("the saved file does not load cleanly", before, "");
            }
            if (clean && Shape(*after) != Shape(before)) {
                Finding("the saved file loads into another document", before, *after);
            }
            if (clean && Annotations(*after) != Annotations(before)) {
                Finding("the saved file loads other annotations", Annotations(before),
                        Annotations(*after));
            }
            reloaded.SetPath(again.string());
            if (clean && reloaded.Save()) {
                BitPrompt silent(0);
                ChartDocument third(silent);
                const std::optional<std::string> last = CleanLoad(again, third, silent);
                if (!last || *last != *after) {
                    Finding("saving the saved document changes it", *after, last.value_or(""));
                }
            }
        }
    }
    for (const char* name :
         {"map.dml.bak", "saved.dml", "saved.dml.bak", "again.dml", "again.dml.bak"}) {
        fs::remove(Folder() / name);
    }
    return 0;
}
