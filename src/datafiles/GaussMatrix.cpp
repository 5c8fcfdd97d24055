#include "datafiles/GaussMatrix.h"

#include "core/DMAT.h"
#include "core/Prompt.h"

#include <algorithm>
#include <bit>
#include <istream>
#include <vector>

namespace {

constexpr std::uint16_t kTypeCode = 0x0086;
constexpr std::uint64_t kSignMask = 0x7FFFFFFFFFFFFFFFull;
constexpr std::uint64_t kInfinity = 0x7FF0000000000000ull;
// The missing marker written for NaN elements.
constexpr std::uint64_t kMissingBits = 0x7FFFFFFF00000000ull;

std::uint64_t LoadLittle(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

void StoreLittle(unsigned char* bytes, std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

} // namespace

GaussSmallHeader GaussSmallHeader::Decode(const std::array<unsigned char, 16>& bytes) {
    GaussSmallHeader header;
    header.rows = static_cast<std::uint16_t>(LoadLittle(&bytes[2], 2));
    header.columns = static_cast<std::uint16_t>(LoadLittle(&bytes[4], 2));
    return header;
}

std::array<unsigned char, 16> GaussSmallHeader::Encode() const {
    std::array<unsigned char, 16> bytes{};
    StoreLittle(&bytes[0], kId, 2);
    StoreLittle(&bytes[2], rows, 2);
    StoreLittle(&bytes[4], columns, 2);
    StoreLittle(&bytes[6], static_cast<std::uint64_t>(rows) * columns * 8, 2);
    StoreLittle(&bytes[8], kTypeCode, 2);
    return bytes;
}

GaussLargeHeader GaussLargeHeader::Decode(const std::array<unsigned char, 16>& bytes) {
    GaussLargeHeader header;
    header.rows = static_cast<std::uint32_t>(LoadLittle(&bytes[4], 4));
    header.columns = static_cast<std::uint32_t>(LoadLittle(&bytes[8], 4));
    return header;
}

std::array<unsigned char, 16> GaussLargeHeader::Encode() const {
    std::array<unsigned char, 16> bytes{};
    StoreLittle(&bytes[0], kId, 2);
    StoreLittle(&bytes[2], kTypeCode, 2);
    StoreLittle(&bytes[4], rows, 4);
    StoreLittle(&bytes[8], columns, 4);
    StoreLittle(&bytes[12], static_cast<std::uint64_t>(rows) * columns * 8, 4);
    return bytes;
}

int ReadGaussMatrix(DMAT& matrix, std::istream& input, bool markMissing) {
    input.clear();
    input.seekg(0);
    std::array<unsigned char, 16> header{};
    input.read(reinterpret_cast<char*>(header.data()), 2);
    if (!input) {
        return gaussReadError;
    }
    input.seekg(0);
    const auto id = static_cast<std::uint16_t>(LoadLittle(header.data(), 2));
    if (id != GaussSmallHeader::kId && id != GaussLargeHeader::kId) {
        return gaussBadId;
    }
    input.read(reinterpret_cast<char*>(header.data()), 16);
    if (!input) {
        return gaussReadError;
    }
    std::uint32_t rows = 0;
    std::uint32_t columns = 0;
    if (id == GaussLargeHeader::kId) {
        const GaussLargeHeader large = GaussLargeHeader::Decode(header);
        rows = large.rows;
        columns = large.columns;
    } else {
        const GaussSmallHeader small = GaussSmallHeader::Decode(header);
        rows = small.rows;
        columns = small.columns;
    }
    matrix.SetSize(rows, columns);

    // The file lists the elements row by row, the matrix keeps them column
    // by column. Elements are handled as bit patterns only, so no
    // floating-point operation can trap or quieten a signalling NaN.
    double* data = matrix.Data();
    const std::uint64_t total = static_cast<std::uint64_t>(rows) * columns;
    constexpr std::uint64_t kChunkElements = 8192;
    std::vector<unsigned char> chunk(static_cast<std::size_t>(std::min(total, kChunkElements)) * 8);
    std::uint64_t done = 0;
    std::uint32_t row = 0;
    std::uint32_t column = 0;
    bool complete = true;
    const auto store = [&](std::uint64_t bits) {
        data[static_cast<std::size_t>(column) * rows + row] = std::bit_cast<double>(bits);
        if (++column == columns) {
            column = 0;
            ++row;
        }
    };
    while (done < total && complete) {
        const std::uint64_t wanted = std::min(total - done, kChunkElements);
        input.read(reinterpret_cast<char*>(chunk.data()), static_cast<std::streamsize>(wanted * 8));
        const auto got = static_cast<std::uint64_t>(input.gcount()) / 8;
        complete = got == wanted;
        for (std::uint64_t k = 0; k < got; ++k) {
            std::uint64_t bits = LoadLittle(&chunk[static_cast<std::size_t>(k) * 8], 8);
            if (markMissing && (bits & kSignMask) > kInfinity) {
                bits = kMissingBits;
            }
            store(bits);
        }
        done += got;
    }
    // Elements the file does not hold are missing rather than left undefined.
    for (; done < total; ++done) {
        store(std::bit_cast<std::uint64_t>(DMAT::MissingValue()));
    }
    return complete ? gaussOk : gaussReadError;
}

void ReportGaussError(Prompt& prompt, int code) {
    switch (code) {
    case gaussReadError:
        prompt.Show("Error",
                    "Error received while reading Gauss matrix\n"
                    "Check if the file is not corrupt",
                    PromptIcon::Exclamation);
        break;
    case gaussBadId:
        prompt.Show("Error",
                    "Error received while reading header of Gauss matrix\n"
                    "No valid ID code was found\n"
                    "Check the format of Gauss matrix\n"
                    "See also online help for supported Gauss formats\n",
                    PromptIcon::Exclamation);
        break;
    default:
        break;
    }
}
