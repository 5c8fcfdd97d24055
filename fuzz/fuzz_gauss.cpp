// Reads arbitrary bytes as a Gauss matrix file, with and without turning
// NaNs into missing values, and checks the elements against the bytes.

#include "core/DMAT.h"
#include "core/WMException.h"
#include "datafiles/GaussMatrix.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

std::uint64_t Little(const std::uint8_t* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint64_t rows = 0;
    std::uint64_t columns = 0;
    if (size >= 16) {
        const std::uint64_t id = Little(data, 2);
        if (id == 0xDDDD) {
            rows = Little(data + 2, 2);
            columns = Little(data + 4, 2);
        } else if (id == 0xEEDD) {
            rows = Little(data + 4, 4);
            columns = Little(data + 8, 4);
        }
        // A tiny file may announce a matrix of gigabytes, which the reader
        // then allocates and fills with missing values. Such inputs are
        // skipped to keep the fuzzer's memory bounded.
        if (rows * columns > (std::uint64_t{1} << 22)) {
            return 0;
        }
    }
    const std::string file(reinterpret_cast<const char*>(data), size);
    for (const bool markMissing : {false, true}) {
        std::istringstream input(file);
        DMAT matrix;
        int result = -1;
        try {
            result = ReadGaussMatrix(matrix, input, markMissing);
        } catch (const WMException& e) {
            Check(e.GetCode() == WMException::AllocationFailed && (rows == 0 || columns == 0));
            continue;
        }
        if (result != 0) {
            Check(size < 16 + 8 * rows * columns || result == 2);
            continue;
        }
        Check(size >= 16 + 8 * rows * columns);
        Check(matrix.GetRows() == rows && matrix.GetColumns() == columns);
        for (std::uint64_t k = 0; k < rows * columns; ++k) {
            const std::uint64_t bits = Little(data + 16 + 8 * k, 8);
            const auto r = static_cast<std::uint32_t>(k / columns);
            const auto c = static_cast<std::uint32_t>(k % columns);
            const std::uint64_t stored = std::bit_cast<std::uint64_t>(matrix.Get(r, c));
            const bool isNaN = (bits & 0x7FFFFFFFFFFFFFFFull) > 0x7FF0000000000000ull;
            Check(stored == (markMissing && isNaN ? 0x7FFFFFFF00000000ull : bits));
        }
    }
    return 0;
}
