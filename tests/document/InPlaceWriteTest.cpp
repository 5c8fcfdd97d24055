#include "document/DocumentTestSupport.h"
#include "document/SafeFile.h"
#include "document/SetupFileWrite.h"
#include "support/ScriptedPrompt.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

using ::testing::HasSubstr;

namespace fs = std::filesystem;

namespace {

// Setup text of the given length, recognisable by its letter.
std::string SetupText(std::size_t length, char letter) {
    std::string text = "[PAGESETUP]\r\n";
    text.resize(length, letter);
    return text;
}

// The write of a setup file over itself, its backup beside it.
SetupFileWrite OverItself(const std::string& path) {
    SetupFileWrite write;
    write.path = path;
    write.target = path;
    return write;
}

// A small file system of its own, mounted over a fresh folder: the disk
// and its table of files can be filled without touching anything else.
class SmallDisk {
public:
    SmallDisk() {
        if (::mount("demla-test", folder_.Path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                    "size=64k,nr_inodes=16,mode=0700") == 0) {
            mounted_ = true;
        } else {
            why_ = std::strerror(errno);
        }
    }
    ~SmallDisk() {
        if (mounted_) {
            ::umount2(folder_.Path().c_str(), MNT_DETACH);
        }
    }
    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; }
    std::string operator/(const std::string& name) const { return folder_ / name; }

    // Takes every free file entry and every free byte.
    void Fill() {
        for (int n = 0;; ++n) {
            const int fd = ::open((folder_ / ("entry" + std::to_string(n))).c_str(),
                                  O_WRONLY | O_CREAT | O_EXCL, 0600);
            if (fd < 0) {
                break;
            }
            ::close(fd);
        }
        const int fd = ::open((folder_ / "entry0").c_str(), O_WRONLY | O_APPEND);
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ::close(fd);
    }

private:
    TempTestFolder folder_;
    bool mounted_ = false;
    std::string why_;
};

// The issue of a full disk under a folder that takes no new file: the
// setup file is written where it stands, and the disk has no room for the
// longer text.
TEST(InPlaceWrite, AFullDiskLeavesTheFileAndItsBackupWhole) {
    SmallDisk disk;
    if (!disk.Mounted()) {
        GTEST_SKIP() << "this test may not mount a small file system here (" << disk.Why()
                     << "); the fault injection tests below cover the same paths";
    }
    const std::string old = SetupText(4444, 'o');
    const std::string path = disk / "map.dml";
    const std::string backup = BackupFileName(path);
    ASSERT_EQ(WriteFileAtomically(path, old), FileWriteResult::Written);
    ASSERT_EQ(WriteFileAtomically(backup, SetupText(4444, 'b')), FileWriteResult::Written);
    disk.Fill();

    ScriptedPrompt prompt;
    const std::string longer = SetupText(20000, 'n');
    EXPECT_FALSE(WriteSetupFileWithBackup(OverItself(path), longer, prompt));
    EXPECT_EQ(ReadTestFile(path), old);
    EXPECT_EQ(ReadTestFile(backup), old);
    EXPECT_THAT(prompt.Last().text, HasSubstr(std::strerror(ENOSPC)));
    EXPECT_THAT(prompt.Last().text, HasSubstr("the file is unchanged"));

    // A shorter text needs no new space and is written.
    ASSERT_TRUE(WriteSetupFileWithBackup(OverItself(path), SetupText(100, 's'), prompt));
    EXPECT_EQ(ReadTestFile(path), SetupText(100, 's'));
    EXPECT_EQ(ReadTestFile(backup), old);
}

class InPlaceFaults : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder.Write("map.dml", old);
        backup = folder.Write(BackupFileName("map.dml"), "older");
    }
    void TearDown() override { FailFileStepForTesting(std::nullopt); }

    // The folder takes no new file from now on.
    void ShutFolder() { FailFileStepForTesting(FileStep::Create, ENOSPC); }

    bool Save(const std::string& text) {
        return WriteSetupFileWithBackup(OverItself(path), text, prompt);
    }

    TempTestFolder folder;
    ScriptedPrompt prompt;
    const std::string old = SetupText(5000, 'o');
    // Long enough to be written in more than one piece.
    const std::string next = SetupText(200000, 'n');
    std::string path;
    std::string backup;
};

TEST_F(InPlaceFaults, NoSpaceToReserveFailsBeforeTheFirstByte) {
    ShutFolder();
    AddFileFaultForTesting({FileStep::Reserve, ENOSPC});
    EXPECT_FALSE(Save(next));
    EXPECT_EQ(ReadTestFile(path), old);
    EXPECT_EQ(fs::file_size(path), old.size());
    EXPECT_THAT(prompt.Last().text, HasSubstr("the file is unchanged"));
}

TEST_F(InPlaceFaults, AFailedWritePutsTheOldContentsBack) {
    for (const FileStep step : {FileStep::Write, FileStep::Truncate, FileStep::Sync}) {
        folder.Write("map.dml", old);
        ShutFolder();
        // The backup's own write comes first; the setup file fails after
        // its first piece is on the disk.
        AddFileFaultForTesting({step, EIO, step == FileStep::Write ? 2 : 1, 1});
        EXPECT_FALSE(Save(next)) << static_cast<int>(step);
        EXPECT_EQ(ReadTestFile(path), old) << static_cast<int>(step);
        EXPECT_THAT(prompt.Last().text, HasSubstr("keeps its old contents"));
        EXPECT_THAT(prompt.Last().text, HasSubstr(std::strerror(EIO)));
        EXPECT_FALSE(LeftDamaged(path));
    }
}

TEST_F(InPlaceFaults, ADamagedFileNeverBecomesTheBackup) {
    ShutFolder();
    // Every write after the backup's and the first piece of the file fails,
    // the putting back too.
    AddFileFaultForTesting({FileStep::Write, EIO, 2});
    EXPECT_FALSE(Save(next));
    FailFileStepForTesting(std::nullopt);
    EXPECT_NE(ReadTestFile(path), old);
    EXPECT_TRUE(LeftDamaged(path));
    EXPECT_EQ(ReadTestFile(backup), old);
    const std::string message = prompt.Last().text;
    EXPECT_THAT(message, HasSubstr("damaged (65536 of 200000 bytes written)"));
    EXPECT_THAT(message, HasSubstr("The intact copy is the backup " + backup));

    // The next save keeps the intact backup and makes the file whole.
    ASSERT_TRUE(Save(SetupText(300, 'a')));
    EXPECT_EQ(ReadTestFile(backup), old);
    EXPECT_EQ(ReadTestFile(path), SetupText(300, 'a'));
    EXPECT_FALSE(LeftDamaged(path));
    // From then on the backups follow the file again.
    ASSERT_TRUE(Save(SetupText(400, 'b')));
    EXPECT_EQ(ReadTestFile(backup), SetupText(300, 'a'));
}

} // namespace
