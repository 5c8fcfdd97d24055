#pragma once

#include <string>
#include <string_view>
#include <vector>

class Prompt;

// How a setup file is replaced, from the map or from its text: the file
// it came from is copied to its backup, then the new text takes its place
// in one step. Failures are told to the user with the system's reason.
struct SetupFileWrite {
    // The path the user knows the file by, for messages.
    std::string path;
    // The file written: path with its symbolic links followed.
    std::string target;
    // The file whose old contents go to the backup.
    std::string source;
    // Files the backup may never replace (the files a map reads).
    std::vector<std::string> avoid;
    // An existing backup stays as it is (the old file did not load cleanly).
    bool keepBackup = false;
};

// Shows "Cannot open document for writing: " with the reason; false.
bool ReportCannotOpenSetup(Prompt& prompt, const std::string& path, const std::string& reason);

// Backs up the source and writes text to the target; false after a message.
bool WriteSetupFileWithBackup(const SetupFileWrite& write, std::string_view text, Prompt& prompt);
