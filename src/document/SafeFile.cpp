#include "document/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The longest file name that the usual Linux file systems take.
constexpr std::size_t kMaxNameLength = 255;
// Links followed before a chain counts as a loop, as the kernel counts.
constexpr int kMaxLinkHops = 40;
constexpr const char* kTemporaryEnd = ".tmp";

// The steps that tests make fail.
std::vector<FileFault> faults;

// Files that a write in place failed on and could not put back: their
// contents are no copy of anything, so they never become a backup. Known
// by device and inode, whatever name they are reached by.
std::set<std::pair<dev_t, ino_t>> damagedFiles;

std::optional<std::pair<dev_t, ino_t>> FileIdentity(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return std::pair(status.st_dev, status.st_ino);
}

// Runs one step of a write; false with errno set when it fails (or a test
// made it fail).
template <typename Call>
bool Step(FileStep step, Call call) {
    for (FileFault& fault : faults) {
        if (fault.step == step && fault.times != 0 && fault.skip-- <= 0) {
            if (fault.times > 0) {
                --fault.times;
            }
            errno = fault.error;
            return false;
        }
    }
    return call();
}

// Errors of creating a file that say the folder takes no new file, while
// the file itself may still be written where it stands.
bool FolderTakesNoFile(int error) {
    return error == EACCES || error == EPERM || error == ENOSPC || error == EDQUOT;
}

bool Fail(std::string* reason, const std::string& text) {
    if (reason != nullptr) {
        *reason = text;
    }
    return false;
}

bool FailErrno(std::string* reason) {
    return Fail(reason, std::strerror(errno));
}

// FNV-1a: a short, stable mark of a name that had to be shortened.
std::uint64_t NameHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
}

std::string Hex(std::uint64_t value, int digits) {
    char text[17];
    std::snprintf(text, sizeof text, "%0*" PRIx64, digits, value);
    return text;
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now, reporting the error that a deferred write may show only
    // here.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return Step(FileStep::Close, [fd] { return ::close(fd) == 0; });
    }

private:
    int fd_;
};

// Large contents go in pieces, so that a write that fails part of the way
// leaves a file as the disk would leave it.
constexpr std::size_t kWritePiece = 1 << 16;

bool WriteAll(int fd, std::string_view bytes, std::size_t* progress = nullptr) {
    std::size_t done = 0;
    if (progress != nullptr) {
        *progress = 0;
    }
    while (done < bytes.size()) {
        ssize_t written = -1;
        if (!Step(FileStep::Write, [&] {
                written =
                    ::pwrite(fd, bytes.data() + done, std::min(kWritePiece, bytes.size() - done),
                             static_cast<off_t>(done));
                return written >= 0;
            })) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
        if (progress != nullptr) {
            *progress = done;
        }
    }
    return true;
}

bool Sync(int fd) {
    return Step(FileStep::Sync, [fd] { return ::fsync(fd) == 0; });
}

// Gives the open file the owner, group and mode of the file it stands in
// for. Ownership goes as far as this process may change it (the group
// alone when the owner cannot be given); the mode comes last, because a
// change of owner clears the set-id bits.
void CopyAttributes(int fd, const struct stat& from) {
    if (::fchown(fd, from.st_uid, from.st_gid) != 0) {
        [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), from.st_gid);
    }
    ::fchmod(fd, from.st_mode & 07777);
}

// The process's file mode creation mask, which can only be read by setting
// it.
mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The start of the temporary names of target: a dot and as much of the
// file name as leaves room for the process number, a random part and the
// end, within the longest name a folder takes.
std::string TemporaryPrefix(const std::string& fileName) {
    constexpr std::size_t kSuffixRoom = 1 + 10 + 1 + 16 + 4;
    return "." + fileName.substr(0, kMaxNameLength - 1 - kSuffixRoom) + ".";
}

// Removes the temporary files that a save of the same file left behind when
// it was killed: those whose process no longer runs.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& prefix) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix) || !name.ends_with(kTemporaryEnd)) {
            continue;
        }
        const std::string middle =
            name.substr(prefix.size(), name.size() - prefix.size() - std::strlen(kTemporaryEnd));
        const std::size_t dash = middle.find('-');
        if (dash == std::string::npos || dash == 0 || middle.size() - dash - 1 != 16 ||
            middle.find_first_not_of("0123456789") != dash ||
            middle.find_first_not_of("0123456789abcdef", dash + 1) != std::string::npos) {
            continue;
        }
        const long pid = std::strtol(middle.c_str(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

// Creates a new temporary file beside target, readable by this user only
// until it is complete. -1 with errno set when the folder takes no new
// file.
int CreateTemporary(const fs::path& folder, const std::string& prefix, fs::path& temporary) {
    std::random_device entropy;
    std::mt19937_64 generator((static_cast<std::uint64_t>(entropy()) << 32) ^ entropy());
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = folder / (prefix + std::to_string(::getpid()) + "-" + Hex(generator(), 16) +
                              kTemporaryEnd);
        int fd = -1;
        if (Step(FileStep::Create, [&] {
                fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
                return fd >= 0;
            })) {
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}

// The folder's entry of a new name is durable only once the folder is
// synced. File systems that cannot sync a folder say so with EINVAL; they
// have nothing to sync.
bool SyncFolder(const fs::path& folder) {
    const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return false;
    }
    return Step(FileStep::SyncFolder, [&] { return ::fsync(fd.Get()) == 0 || errno == EINVAL; });
}

std::string Bytes(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

// Overwrites an existing file where it stands, for a folder that takes no
// temporary file. The space for the new contents is reserved before the
// first byte is written, so a full disk fails the save with the file
// untouched; a write that fails all the same puts the old contents back.
// Only when that fails too is the file left damaged, and then it is marked
// so that it never becomes a backup.
FileWriteResult WriteInPlace(const fs::path& target, std::string_view bytes, std::string* reason) {
    std::string old;
    if (!ReadWholeFile(target.string(), old)) {
        FailErrno(reason);
        return FileWriteResult::OpenFailed;
    }
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.Get() < 0) {
        FailErrno(reason);
        return FileWriteResult::OpenFailed;
    }
    if (!bytes.empty() && !Step(FileStep::Reserve, [&] {
            const int error = ::posix_fallocate(fd.Get(), 0, static_cast<off_t>(bytes.size()));
            errno = error;
            return error == 0;
        })) {
        Fail(reason, std::string(std::strerror(errno)) + "; the file is unchanged");
        // A failed reservation may still have lengthened the file.
        [[maybe_unused]] const int ignored = ::ftruncate(fd.Get(), static_cast<off_t>(old.size()));
        return FileWriteResult::OpenFailed;
    }
    std::size_t written = 0;
    if (WriteAll(fd.Get(), bytes, &written) &&
        Step(FileStep::Truncate,
             [&] { return ::ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) == 0; }) &&
        Sync(fd.Get()) && fd.Close()) {
        if (const auto identity = FileIdentity(target.string())) {
            damagedFiles.erase(*identity);
        }
        return FileWriteResult::Written;
    }
    const int error = errno;
    const std::string cause = std::strerror(error);
    // The old contents fit in the space they had; a failed close has let
    // the descriptor go, so the file is opened again.
    Descriptor again(fd.Get() >= 0 ? -1
                                   : ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    Descriptor& restore = fd.Get() >= 0 ? fd : again;
    if (restore.Get() >= 0 && WriteAll(restore.Get(), old) &&
        ::ftruncate(restore.Get(), static_cast<off_t>(old.size())) == 0 && Sync(restore.Get()) &&
        restore.Close()) {
        Fail(reason, cause + "; the file keeps its old contents");
        errno = error;
        return FileWriteResult::WriteFailed;
    }
    if (const auto identity = FileIdentity(target.string())) {
        damagedFiles.insert(*identity);
    }
    Fail(reason, cause + "; the file on the disk is damaged (" + std::to_string(written) + " of " +
                     Bytes(bytes.size()) + " written) and its old contents could not be put back");
    errno = error;
    return FileWriteResult::LeftDamaged;
}

// The file that a write to path replaces, after the checks that refuse
// it: not a regular file, read-only, or not this user's to write.
std::optional<std::string> WriteTarget(const std::string& path, const FileWriteOptions& options,
                                       std::string* reason) {
    if (path.empty()) {
        Fail(reason, "no file name");
        return std::nullopt;
    }
    const std::optional<std::string> resolved =
        options.followLinks ? ResolveLinks(path, reason) : path;
    if (!resolved) {
        return std::nullopt;
    }
    struct stat old {};
    if (::lstat(resolved->c_str(), &old) != 0) {
        return resolved; // a new file: the folder decides
    }
    if (!S_ISREG(old.st_mode) && (options.followLinks || S_ISDIR(old.st_mode))) {
        Fail(reason, "it is not a regular file");
        return std::nullopt;
    }
    if (!S_ISREG(old.st_mode)) {
        return resolved; // a link or the like at a backup's name is replaced
    }
    if (options.keepReadOnly) {
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            Fail(reason, "the file is read-only");
            return std::nullopt;
        }
        if (::access(resolved->c_str(), W_OK) != 0) {
            FailErrno(reason);
            return std::nullopt;
        }
    } else if (old.st_uid != ::geteuid() && ::geteuid() != 0 &&
               ::access(resolved->c_str(), W_OK) != 0) {
        // A stale file of this user is replaced; another user's is not.
        FailErrno(reason);
        return std::nullopt;
    }
    return resolved;
}

} // namespace

std::string BackupFileName(const std::string& path) {
    constexpr std::string_view kEnd = ".bak";
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string_view name = std::string_view(path).substr(nameStart);
    if (name.size() + kEnd.size() <= kMaxNameLength) {
        return path + std::string(kEnd);
    }
    const std::string mark = "~" + Hex(NameHash(name), 16);
    const std::size_t kept = kMaxNameLength - kEnd.size() - mark.size();
    return path.substr(0, nameStart) + std::string(name.substr(0, kept)) + mark + std::string(kEnd);
}

std::string BackupNameAvoiding(const std::string& source, std::span<const std::string> avoid) {
    std::string backup = BackupFileName(source);
    for (int n = 2; std::any_of(avoid.begin(), avoid.end(),
                                [&](const std::string& file) { return SameFile(backup, file); });
         ++n) {
        backup = BackupFileName(source + "." + std::to_string(n));
    }
    return backup;
}

FileWriteResult WriteBackup(const std::string& backup, const std::string& source,
                            std::string_view bytes, std::string* reason) {
    if (LeftDamaged(source)) {
        return FileWriteResult::Written;
    }
    FileWriteOptions options;
    options.followLinks = false;
    options.keepReadOnly = false;
    options.attributesFrom = source;
    return WriteFileAtomically(backup, bytes, options, reason);
}

bool LeftDamaged(const std::string& path) {
    const auto identity = FileIdentity(path);
    return identity && damagedFiles.contains(*identity);
}

void FailFileStepForTesting(std::optional<FileStep> step, int error, int skip) {
    faults.clear();
    if (step) {
        faults.push_back({*step, error, skip});
    }
}

void AddFileFaultForTesting(const FileFault& fault) {
    faults.push_back(fault);
}

std::optional<std::string> ResolveLinks(const std::string& path, std::string* reason) {
    fs::path current(path);
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            return current.string();
        }
        const fs::path target = fs::read_symlink(current, error);
        if (error) {
            return current.string();
        }
        current = target.is_relative() ? current.parent_path() / target : target;
    }
    Fail(reason, "the symbolic links form a loop");
    return std::nullopt;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(fs::path(a), fs::path(b), error) && !error;
}

bool MayWrite(const std::string& path, const FileWriteOptions& options, std::string* reason) {
    return WriteTarget(path, options, reason).has_value();
}

FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                    const FileWriteOptions& options, std::string* reason) {
    const std::optional<std::string> resolved = WriteTarget(path, options, reason);
    if (!resolved) {
        return FileWriteResult::OpenFailed;
    }
    const fs::path target(*resolved);
    struct stat old {};
    const bool regular = ::lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    struct stat attributes = old;
    bool haveAttributes = regular;
    if (options.attributesFrom) {
        haveAttributes = ::stat(options.attributesFrom->c_str(), &attributes) == 0;
    }

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string prefix = TemporaryPrefix(target.filename().string());
    RemoveStaleTemporaries(folder, prefix);
    fs::path temporary;
    Descriptor fd(CreateTemporary(folder, prefix, temporary));
    if (fd.Get() < 0) {
        const int createError = errno;
        if (options.overwriteInPlace && regular && FolderTakesNoFile(createError) &&
            ::access(target.c_str(), W_OK) == 0) {
            return WriteInPlace(target, bytes, reason);
        }
        errno = createError;
        FailErrno(reason);
        return FileWriteResult::OpenFailed;
    }
    if (haveAttributes) {
        CopyAttributes(fd.Get(), attributes);
    } else {
        // A new file gets the mode any program's new file gets; the
        // temporary file was private only while it was incomplete.
        ::fchmod(fd.Get(), 0666 & ~CurrentUmask());
    }
    bool written = WriteAll(fd.Get(), bytes) && Sync(fd.Get());
    written = fd.Close() && written;
    written = written && Step(FileStep::Rename,
                              [&] { return std::rename(temporary.c_str(), target.c_str()) == 0; });
    if (!written) {
        FailErrno(reason);
        ::unlink(temporary.c_str());
        return FileWriteResult::WriteFailed;
    }
    if (regular) {
        damagedFiles.erase({old.st_dev, old.st_ino});
    }
    if (!SyncFolder(folder)) {
        FailErrno(reason);
        return FileWriteResult::WriteFailed;
    }
    return FileWriteResult::Written;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return false;
    }
    // Data files run to megabytes: one read of the size the file has now,
    // straight into the result. A file that another program is still
    // writing may have grown meanwhile; it is read on to its end.
    struct stat status {};
    const std::size_t expected = ::fstat(fd.Get(), &status) == 0 && S_ISREG(status.st_mode)
                                     ? static_cast<std::size_t>(status.st_size)
                                     : 0;
    std::size_t used = 0;
    bytes.resize(expected + 1);
    for (;;) {
        if (used == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got = ::read(fd.Get(), bytes.data() + used, bytes.size() - used);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            bytes.resize(used);
            return got == 0;
        }
        used += static_cast<std::size_t>(got);
    }
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

std::string FindNamedFile(const std::string& namingFile, const std::string& name) {
    const std::string beside = ResolveBeside(namingFile, name);
    if (beside != name && !IsReadableFile(beside) && IsReadableFile(name)) {
        return name;
    }
    return beside;
}

std::string RebaseName(const std::string& fromFile, const std::string& toFile,
                       const std::string& name) {
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos) {
        return name;
    }
    std::error_code error;
    const fs::path fromFolder = fs::absolute(fs::path(fromFile), error).parent_path();
    const fs::path toFolder = fs::absolute(fs::path(toFile), error).parent_path();
    if (error) {
        return name;
    }
    if (fromFolder.lexically_normal() == toFolder.lexically_normal()) {
        return name;
    }
    const fs::path file = (fromFolder / name).lexically_normal();
    const fs::path relative = file.lexically_relative(toFolder.lexically_normal());
    return relative.empty() ? file.string() : relative.string();
}
