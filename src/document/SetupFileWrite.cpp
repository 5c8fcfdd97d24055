#include "document/SetupFileWrite.h"

#include "core/Prompt.h"
#include "document/SafeFile.h"

bool ReportCannotOpenSetup(Prompt& prompt, const std::string& path, const std::string& reason) {
    prompt.Show("Error", "Cannot open document for writing: " + path + "\r\n" + reason);
    return false;
}

bool WriteSetupFileWithBackup(const SetupFileWrite& write, std::string_view text, Prompt& prompt) {
    std::string reason;
    std::string oldBytes;
    const bool haveOld = ReadWholeFile(write.target, oldBytes);
    // The backup never takes the place of a file the map reads, nor of the
    // file being written.
    std::vector<std::string> avoid = write.avoid;
    avoid.push_back(write.target);
    const std::string backup = BackupNameAvoiding(write.path, avoid);
    const bool keepBackup = write.keepBackup && FileExists(backup);
    if (haveOld && !keepBackup &&
        WriteBackup(backup, write.target, oldBytes, &reason) != FileWriteResult::Written) {
        prompt.Show("Error", "Cannot open backup document\r\n" + backup + ": " + reason);
        return false;
    }
    const FileWriteResult result = WriteFileAtomically(write.target, text, {}, &reason);
    if (result == FileWriteResult::Written) {
        return true;
    }
    if (result == FileWriteResult::OpenFailed) {
        return ReportCannotOpenSetup(prompt, write.path, reason);
    }
    std::string message = "Cannot write document: " + write.path + "\r\n" + reason;
    // Where the file itself was written over, the user needs to know where
    // the version before this save still is.
    if (result == FileWriteResult::LeftDamaged && FileExists(backup)) {
        message += "\r\nThe intact copy is the backup " + backup;
    }
    prompt.Show("Error", message);
    return false;
}
