// Reads arbitrary bytes as a table of the mortality and fertility
// databases.
//
// Input layout: byte 0 chooses the value column (0: the default one, k:
// the k-th column name of the table, whatever it is, so that key and flag
// columns are asked for too); the rest is the file.

#include "core/DMAT.h"
#include "datafiles/LexisTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string column;
    std::string error;
    if (data[0] != 0) {
        if (const auto header = ReadLexisTableHeader(file, error)) {
            column = header->columns[(data[0] - 1u) % header->columns.size()];
        }
    }
    LexisTable table;
    DMAT values;
    if (!ReadLexisTable(file, column, table, values, error)) {
        // A refusal always says why, and leaves the matrix alone.
        if (error.empty() || !values.IsEmpty()) {
            std::abort();
        }
        return 0;
    }
    // The matrix spans exactly the years and ages the table reports, and
    // stays within a few times the size of the file.
    const std::uint64_t columnsPerPeriod = table.header.layout == LexisLayout::Triangles ? 2 : 1;
    const std::uint64_t cells = static_cast<std::uint64_t>(values.GetRows()) * values.GetColumns();
    if (values.GetRows() != static_cast<std::uint64_t>(table.lastAge - table.firstAge) + 1 ||
        values.GetColumns() !=
            (static_cast<std::uint64_t>(table.lastPeriod - table.firstPeriod) + 1) *
                columnsPerPeriod ||
        cells > std::max<std::uint64_t>(std::uint64_t{1} << 20, 4 * size)) {
        std::abort();
    }
    return 0;
}
