#pragma once

#include <string>
#include <string_view>
#include <vector>

class Prompt;

// How a setup file is replaced, from the map or from its text: the file
// that stands at the destination is copied to its backup beside it, then
// the new text takes its place in one step. Only the destination is ever
// touched: saving a copy elsewhere (Save As) neither needs nor makes a
// backup of the file the map came from, so a map from a folder that cannot
// be written is still saved where the user asks. Failures are told to the
// user with the system's reason.
struct SetupFileWrite {
    // The path the user knows the file by, for messages and the backup's
    // name.
    std::string path;
    // The file written: path with its symbolic links followed.
    std::string target;
    // Files the backup may never replace (the files a map reads).
    std::vector<std::string> avoid;
    // An existing backup stays as it is (the file being replaced did not
    // load cleanly).
    bool keepBackup = false;
};

// Shows "Cannot open document for writing: " with the reason; false.
bool ReportCannotOpenSetup(Prompt& prompt, const std::string& path, const std::string& reason);

// Backs up the source and writes text to the target; false after a message.
bool WriteSetupFileWithBackup(const SetupFileWrite& write, std::string_view text, Prompt& prompt);
