#pragma once

#include <string>
#include <string_view>

// File operations of document saving. A setup file is never left half
// written: the new text goes to a temporary file in the same folder, which
// then replaces the setup file in one rename.

// The backup of a setup file: the extension of the file name (everything
// after the last "." of the last path component) replaced by "bak", or
// "bak" appended when the file name has no extension. The folder part is
// never changed, so "maps.v2/map.dml" backs up to "maps.v2/map.bak".
std::string BackupFileName(const std::string& path);

enum class FileWriteResult {
    Written,
    OpenFailed,  // the file or its temporary file could not be created
    WriteFailed, // a write, the flush or the final rename failed
};

// Replaces the contents of path by bytes. The old file stays untouched on
// any failure. A file whose permissions grant no write access is refused
// as the read-only file it is meant to be (even for a user who could
// override that). The new file keeps the old file's permissions; a path
// that is a symbolic link writes the file it points to.
FileWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes);

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
