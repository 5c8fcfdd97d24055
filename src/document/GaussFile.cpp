#include "document/GaussFile.h"

#include "core/DMAT.h"
#include "datafiles/GaussMatrix.h"
#include "document/SafeFile.h"

#include <array>
#include <bit>
#include <fstream>

namespace {

constexpr std::uint64_t kHeaderBytes = 16;

// Rows and columns announced by the header, when its identification word
// is known.
bool AnnouncedSize(std::istream& input, std::uint32_t& rows, std::uint32_t& columns) {
    std::array<unsigned char, 16> header{};
    input.read(reinterpret_cast<char*>(header.data()), header.size());
    if (input.gcount() != static_cast<std::streamsize>(header.size())) {
        return false;
    }
    const unsigned id = header[0] | (static_cast<unsigned>(header[1]) << 8);
    if (id == GaussLargeHeader::kId) {
        const GaussLargeHeader large = GaussLargeHeader::Decode(header);
        rows = large.rows;
        columns = large.columns;
        return true;
    }
    if (id == GaussSmallHeader::kId) {
        const GaussSmallHeader small = GaussSmallHeader::Decode(header);
        rows = small.rows;
        columns = small.columns;
        return true;
    }
    return false;
}

} // namespace

GaussFileResult ReadGaussFile(const std::string& path, DMAT& matrix, bool markMissing) {
    GaussFileResult result;
    if (!IsReadableFile(path)) {
        return result;
    }
    std::ifstream input(path, std::ios::binary);
    if (!input) {
        return result;
    }
    result.opened = true;
    input.seekg(0, std::ios::end);
    const std::streamoff size = input.tellg();
    input.seekg(0);
    std::uint32_t rows = 0;
    std::uint32_t columns = 0;
    if (size >= 0 && AnnouncedSize(input, rows, columns)) {
        result.columns = columns;
        const std::uint64_t needed = kHeaderBytes + static_cast<std::uint64_t>(rows) * columns * 8;
        if (rows > 0 && columns > 0 && needed > static_cast<std::uint64_t>(size)) {
            matrix.Clear();
            result.code = gaussReadError;
            return result;
        }
    }
    input.clear();
    result.code = ReadGaussMatrix(matrix, input, markMissing);
    result.columns = matrix.GetColumns();
    return result;
}

std::string GaussElementText(double element) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(element);
    std::string text;
    for (int i = 0; i < 8; ++i, bits >>= 8) {
        const auto c = static_cast<char>(bits & 0xFF);
        if (c == '\0') {
            break;
        }
        text += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
}
