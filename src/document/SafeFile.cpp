#include "document/SafeFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const {
        if (file != nullptr) {
            std::fclose(file);
        }
    }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The file a write to path really changes: the target of a symbolic link.
fs::path WriteTarget(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error)) {
        return path;
    }
    fs::path target = fs::read_symlink(path, error);
    if (error) {
        return path;
    }
    return target.is_relative() ? path.parent_path() / target : target;
}

bool GrantsWrite(fs::perms permissions) {
    constexpr fs::perms anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (permissions & anyWrite) != fs::perms::none;
}

// Creates a new, exclusive temporary file beside target. Null when the
// folder does not take new files.
FileHandle CreateTemporary(const fs::path& target, fs::path& temporary) {
    std::random_device entropy;
    std::mt19937_64 generator((static_cast<std::uint64_t>(entropy()) << 32) ^ entropy());
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp",
                      static_cast<unsigned long long>(generator()));
        std::string name = ".";
        name += target.filename().string();
        name += suffix;
        temporary = target.parent_path() / name;
        // "x": fail rather than reuse a file that is already there.
        FileHandle file(std::fopen(temporary.c_str(), "wbx"));
        if (file) {
            return file;
        }
        std::error_code error;
        if (!fs::exists(temporary, error)) {
            return nullptr; // not a name clash: the folder refuses
        }
    }
    return nullptr;
}

} // namespace

std::string BackupFileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) {
        return path + "bak";
    }
    return path.substr(0, dot + 1) + "bak";
}

FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        return FileWriteResult::OpenFailed;
    }
    const fs::path target = WriteTarget(fs::path(path));
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    const bool exists = fs::exists(status);
    if (exists && (!fs::is_regular_file(status) || !GrantsWrite(status.permissions()))) {
        return FileWriteResult::OpenFailed;
    }

    fs::path temporary;
    FileHandle file = CreateTemporary(target, temporary);
    if (!file) {
        return FileWriteResult::OpenFailed;
    }
    bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    written = std::fflush(file.get()) == 0 && written;
    written = std::fclose(file.release()) == 0 && written;
    if (written && exists) {
        fs::permissions(temporary, status.permissions(), error);
    }
    if (written) {
        fs::rename(temporary, target, error);
        written = !error;
    }
    if (!written) {
        fs::remove(temporary, error);
        return FileWriteResult::WriteFailed;
    }
    return FileWriteResult::Written;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream input(path, std::ios::binary);
    if (!input) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
    return !input.bad();
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::path(path), error);
}

bool IsReadableFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(fs::path(path), error) &&
           std::ifstream(path, std::ios::binary).is_open();
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string ResolveBeside(const std::string& namingFile, const std::string& name) {
    if (name.empty() || name.front() == '/') {
        return name;
    }
    return FolderOf(namingFile) + name;
}
