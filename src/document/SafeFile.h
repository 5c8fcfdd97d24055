#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// File operations of document saving. A setup file is never left half
// written: the new text goes to a temporary file in the same folder, which
// is synced to the disk and then replaces the setup file in one rename.

// The backup of a file: its whole name with ".bak" appended, so that no two
// files share a backup and a backup never takes the name of a file with
// another extension ("obs.bak" stays the data file of "obs.dml", whose
// backup is "obs.dml.bak"). A name too long for ".bak" is shortened and
// marked with a hash of the full name, so long names keep apart too.
std::string BackupFileName(const std::string& path);

// The backup name of source that names none of the files in avoid (the
// files a map reads, the file being written): BackupFileName, or a
// numbered variant of it when that is taken.
std::string BackupNameAvoiding(const std::string& source, std::span<const std::string> avoid);

enum class FileWriteResult {
    Written,
    OpenFailed,  // the file or its temporary file could not be created
    WriteFailed, // a write, the sync, the close or the final rename failed
    // A write in place failed and the old contents could not be put back:
    // the file on the disk is neither the old nor the new one.
    LeftDamaged,
};

struct FileWriteOptions {
    // A setup file is written where its symbolic links lead; a backup
    // replaces a link that stands at its name instead.
    bool followLinks = true;
    // Refuse an existing file whose permissions grant no write access, as
    // the read-only file it is meant to be (even for a user who could
    // override that). A stale backup is replaced whatever its permissions.
    bool keepReadOnly = true;
    // The file whose mode, owner and group the new file takes; none for
    // the file that is replaced.
    std::optional<std::string> attributesFrom;
    // When the folder takes no new file, overwrite a writable file where it
    // stands. Off, the old file is never touched: a full disk then fails
    // the write instead of leaving half a file.
    bool overwriteInPlace = true;
};

// Replaces the contents of path by bytes. The old file stays untouched on
// any failure before the rename; reason then tells why in the system's
// words. The new file keeps the old file's mode, owner and group (as far as
// this process may set them). A file that this user may not write is
// refused, so nobody replaces another user's file in a shared folder. When
// the folder takes no new file but the file itself is writable, the file
// is overwritten in place, unless the options say otherwise: the space is
// reserved first, and a failed write puts the old contents back (reason
// says which state the file is in). Temporary files left behind by a save
// that was killed are removed.
FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                    const FileWriteOptions& options = {},
                                    std::string* reason = nullptr);

// Whether WriteFileAtomically would try to write path at all: false, with
// reason set, when it refuses the file as it stands.
bool MayWrite(const std::string& path, const FileWriteOptions& options = {},
              std::string* reason = nullptr);

// Writes bytes, the contents of source, to the backup at backup: through
// its own temporary file, replacing a link or a stale read-only file that
// stands there, with the mode, owner and group of source. A source that
// this program left damaged (LeftDamaged) is no copy of anything: the
// backup then keeps what it holds, and the call succeeds.
FileWriteResult WriteBackup(const std::string& backup, const std::string& source,
                            std::string_view bytes, std::string* reason);

// True when a write in place of this program failed on path and could not
// put its old contents back (until the file is written whole again).
bool LeftDamaged(const std::string& path);

// The steps of a write, for tests that make one of them fail. Reserve and
// Truncate belong to a write in place only.
enum class FileStep { Create, Write, Sync, Close, Rename, SyncFolder, Reserve, Truncate };

// Makes every attempt of step after the first skip ones fail with the error
// number error, until called again; none restores normal work.
void FailFileStepForTesting(std::optional<FileStep> step, int error = 5, int skip = 0);

// One more failing step beside those of FailFileStepForTesting: it fails
// times attempts after the first skip ones (times -1: every one).
struct FileFault {
    FileStep step;
    int error = 5;
    int skip = 0;
    int times = -1;
};
void AddFileFaultForTesting(const FileFault& fault);

// The file that writing to path changes: path with every symbolic link of
// its last component followed. Nothing, with reason set, when the links
// form a loop.
std::optional<std::string> ResolveLinks(const std::string& path, std::string* reason = nullptr);

// True when both paths name the same existing file.
bool SameFile(const std::string& a, const std::string& b);

// Reads the whole file as raw bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// True when path names an existing file (or anything else that exists).
bool FileExists(const std::string& path);

// True when path names a regular file (or a link to one) that opens for
// reading.
bool IsReadableFile(const std::string& path);

// The folder part of a path, with its trailing separator ("a/b/c.dml" ->
// "a/b/"), empty for a bare file name.
std::string FolderOf(const std::string& path);

// The last component of a path; both "/" and "\" end a folder here, so a
// name written on another system still gives its file name.
std::string FileNameOf(const std::string& path);

// A relative name is taken relative to the folder of the file that names
// it (the setup file), so a setup file finds its data wherever the program
// was started from. Absolute names are returned unchanged.
std::string ResolveBeside(const std::string& namingFile, const std::string& name);

// The file that a relative name in a setup file finds: beside the setup
// file (ResolveBeside) when that is a readable file, else the name as it
// stands, relative to the current folder, when that is one. Files written
// for a program started in their folder keep opening that way. Neither
// readable: the name beside the setup file.
std::string FindNamedFile(const std::string& namingFile, const std::string& name);

// The name that a setup file at toFile must use for the file that name
// denotes when a setup file at fromFile gives it: relative to toFile's
// folder where one can be formed, else absolute. Absolute names, and names
// written on another system (with a backslash), are returned unchanged.
std::string RebaseName(const std::string& fromFile, const std::string& toFile,
                       const std::string& name);
