// Feeds arbitrary bytes to the setup reader as a setup file: finds a few
// sections, walks every item of each and reads every element in every way
// the loaders do. Syntax errors are expected; crashes, hangs and sanitizer
// reports are not.

#include "setup/DemlaSetup.h"
#include "setup/SetupWordIterator.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// One file per process, rewritten for every input.
const std::string& InputPath() {
    static const std::string path = [] {
        char name[] = "/tmp/fuzz_setup_XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) {
            std::abort();
        }
        close(fd);
        std::atexit([] { std::remove(InputPath().c_str()); });
        return std::string(name);
    }();
    return path;
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, file) != size) {
        std::abort();
    }
    std::fclose(file);
}

template <typename Action>
void Try(Action action) {
    try {
        action();
    } catch (const DemlaSetupException& e) {
        if (e.GetCode() < 1 || e.GetCode() > kSetupErrorCodes || *e.GetMessage() == '\0') {
            std::abort();
        }
    }
}

// Random access re-reads from the value start, so only the first elements
// are read that way; the iterator reads them all.
constexpr std::uint32_t kRandomAccessLimit = 64;

void ReadElement(DemlaSetup& reader, std::uint32_t row, std::uint32_t column) {
    Try([&] { reader.GetDouble(row, column); });
    Try([&] {
        const char* text = reader.GetString(row, column);
        if (text != nullptr) {
            (void)std::string(text);
        }
    });
    Try([&] { reader.GetLiteral(row, column); });
    Try([&] { reader.GetBool(row, column); });
}

void ReadItem(DemlaSetup& reader) {
    const std::uint32_t rows = reader.GetRows();
    const std::uint32_t columns = reader.GetColumns();
    const std::uint32_t size = reader.GetSize();
    if (rows == 0 || columns == 0 || size != std::max(rows, columns)) {
        std::abort();
    }
    switch (reader.GetContainerType()) {
    case ctMatrix:
        for (std::uint32_t r = 0; r < std::min(rows, kRandomAccessLimit); ++r) {
            for (std::uint32_t c = 0; c < std::min(columns, kRandomAccessLimit); ++c) {
                ReadElement(reader, r, c);
            }
        }
        ReadElement(reader, rows, 0);
        break;
    case ctVector:
        for (std::uint32_t i = 0; i < std::min(size, kRandomAccessLimit); ++i) {
            ReadElement(reader, i, 0);
            ReadElement(reader, 0, i);
        }
        ReadElement(reader, size, 0);
        ReadElement(reader, 1, 1);
        break;
    default:
        ReadElement(reader, 0, 0);
        ReadElement(reader, 0, 1);
        break;
    }
    Try([&] {
        std::string element;
        reader.ItemIterator(nullptr);
        for (std::uint32_t n = 0; reader.ItemIterator(&element, 1024); ++n) {
            if (n > reader.GetSize() + 1) {
                // Elements beyond the count are legal (a scalar "1 2 3"), but
                // the iterator must stop at the item's end.
                if (n > (1u << 24)) {
                    std::abort();
                }
            }
            reader.CheckElementType(ttNumber);
        }
        if (reader.GetLastTokenType() != ttEnd) {
            std::abort();
        }
    });
    Try([&] { reader.CheckElementType(ttString); });
    Try([&] { reader.CheckElementType(ttLiteral); });
    Try([&] { reader.GetValueText(); });
    Try([&] {
        bool quoted = false;
        reader.GetQuotedValue(&quoted);
    });
}

void ReadSection(DemlaSetup& reader) {
    SetupWordIterator words(reader.GetSectionText());
    std::string name;
    while (words.Next()) {
        if (!words.CopyWord(name, 256)) {
            continue;
        }
        Try([&] {
            reader.ParseItem(words, name);
            ReadItem(reader);
        });
    }
    // The tokenizer alone over the whole body.
    Try([&] {
        std::string token;
        reader.SetScanPosition(0);
        while (reader.NextToken(token) != ttEnd) {
        }
    });
    for (const char* key : {"MapMatrix", "Text", "xTicks", "Type"}) {
        Try([&] {
            if (reader.FindItem(key) != nullptr) {
                ReadItem(reader);
            }
        });
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteInput(data, size);
    // A section name from the input itself, so that its own headers are
    // found too: the bytes after a leading "[" up to the first "]".
    std::string own;
    if (size > 1 && data[0] == '[') {
        for (std::size_t i = 1; i < size && i < 64 && data[i] != ']'; ++i) {
            own += static_cast<char>(data[i]);
        }
    }
    DemlaSetup reader;
    for (const std::string& section : {std::string("SYSTEM"), std::string("DATA"),
                                       std::string("MAP.SCALE"), std::string("PLOT.FRAME"), own}) {
        Try([&] {
            if (reader.FindSection(InputPath(), section)) {
                ReadSection(reader);
            }
        });
    }
    return 0;
}
