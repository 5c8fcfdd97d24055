#include "datafiles/MatrixReading.h"

#include "core/DMAT.h"
#include "core/Prompt.h"

#include <istream>

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
