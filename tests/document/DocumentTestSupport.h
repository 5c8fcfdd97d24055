#pragma once

#include "core/DMAT.h"
#include "datafiles/GaussMatrix.h"
#include "document/ChartDocument.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

// A fresh folder for one test, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        path_ =
            std::filesystem::temp_directory_path() /
            ("demla_document_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code error;
        // A test may leave a folder without write permission behind.
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The path of name inside the folder.
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    std::string Path() const { return path_.string(); }

    // Writes bytes to name (folders created as needed) and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream input(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
}

// A Gauss matrix file (small header) of the rows given, written row by row.
inline std::string GaussBytes(const std::vector<std::vector<double>>& rows) {
    GaussSmallHeader header;
    header.rows = static_cast<std::uint16_t>(rows.size());
    header.columns = static_cast<std::uint16_t>(rows.empty() ? 0 : rows[0].size());
    const auto head = header.Encode();
    std::string bytes(head.begin(), head.end());
    for (const auto& row : rows) {
        for (const double value : row) {
            char element[8];
            std::memcpy(element, &value, 8); // the test machines are little-endian
            bytes.append(element, 8);
        }
    }
    return bytes;
}

// Eight characters packed into one Gauss element, as character data is.
inline double PackedText(const char* text) {
    char bytes[8] = {};
    std::strncpy(bytes, text, 8);
    double value = 0;
    std::memcpy(&value, bytes, 8);
    return value;
}

inline std::vector<double> Boundaries(const ChartDocument& document) {
    std::vector<double> values;
    for (std::uint32_t i = 0; i < document.BoundaryCount(); ++i) {
        values.push_back(document.ScaleValues.Get(i, 0));
    }
    return values;
}

// The n-th item of a list (the list's cursor moves).
template <typename T>
T& Item(LObjectContainer<T>& container, std::uint32_t n) {
    return container.List()[n];
}
