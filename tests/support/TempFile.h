#pragma once

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

// A fresh folder for one test, removed with everything in it afterwards.
class TempTestFolder {
public:
    TempTestFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "demla-test-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr) {
            throw std::system_error(errno, std::generic_category(), "mkdtemp");
        }
        path_ = name;
    }
    ~TempTestFolder() {
        namespace fs = std::filesystem;
        std::error_code error;
        // A test may leave folders without write permission behind.
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
        for (fs::recursive_directory_iterator it(path_, error), end; it != end;
             it.increment(error)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
        fs::remove_all(path_, error);
    }
    TempTestFolder(const TempTestFolder&) = delete;
    TempTestFolder& operator=(const TempTestFolder&) = delete;

    std::string Path() const { return path_.string(); }
    // The path of name inside the folder.
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

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

// A temporary file holding the given bytes, removed on destruction.
class TempTestFile {
public:
    explicit TempTestFile(const std::string& bytes) { folder_.Write("file.dml", bytes); }
    std::string Path() const { return folder_ / "file.dml"; }

private:
    TempTestFolder folder_;
};

inline std::string ReadTestFile(const std::filesystem::path& path) {
    std::ifstream input(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
}
