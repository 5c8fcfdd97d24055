#include "document/ChartDocument.h"
#include "document/DocumentTestSupport.h"
#include "document/SafeFile.h"
#include "support/ScriptedPrompt.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using ::testing::HasSubstr;

namespace fs = std::filesystem;

namespace {

fs::perms Mode(const std::string& path) {
    return fs::symlink_status(path).permissions() & fs::perms::all;
}

std::size_t EntryCount(const std::string& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

constexpr uid_t kNobody = 65534;

// Runs check as the unprivileged user nobody (in a child process when this
// test runs as root, which would pass every permission check) and returns
// what it returned.
bool AsUnprivilegedUser(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped =
            ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
        ::_exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// Gives a file or folder to the user the unprivileged checks run as.
void GiveAway(const std::string& path) {
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    }
}

class SaveSafety : public ::testing::Test {
protected:
    std::string Open(const std::string& name, const std::string& setup) {
        const std::string path = folder.Write(name, setup);
        EXPECT_TRUE(document.Open(path));
        return path;
    }

    TempTestFolder folder;
    ScriptedPrompt prompt;
    ChartDocument document{prompt};
};

TEST_F(SaveSafety, BackupNamesNeverCollide) {
    EXPECT_EQ(BackupFileName("map.dml"), "map.dml.bak");
    EXPECT_EQ(BackupFileName("maps.v2/map.dml"), "maps.v2/map.dml.bak");
    EXPECT_EQ(BackupFileName("maps.v2/map"), "maps.v2/map.bak");
    EXPECT_EQ(BackupFileName("/a/.a"), "/a/.a.bak");
    EXPECT_EQ(BackupFileName("map.bak"), "map.bak.bak");
    // A name at the length limit gets a backup name within it, and two such
    // names that differ only at their end keep apart.
    // ".bak" fits behind a name of 251 bytes exactly; one more and the
    // name is shortened.
    const std::string fits(251, 'a');
    EXPECT_EQ(BackupFileName(fits), fits + ".bak");
    EXPECT_EQ(BackupFileName(fits + "a").size(), 255u);
    EXPECT_NE(BackupFileName(fits + "a"), fits + "a.bak");
    const std::string longA(255, 'a');
    const std::string longB = std::string(254, 'a') + "b";
    EXPECT_LE(FileNameOf(BackupFileName("/x/" + longA)).size(), 255u);
    EXPECT_NE(BackupFileName(longA), BackupFileName(longB));

    // The data file obs.bak survives the save of obs.dml.
    folder.Write("obs.bak", "1,2\r\n3,4\r\n");
    const std::string path = Open("obs.dml", "[DATA]\nMapMatrix=obs.bak;\nFormat=ASCII;\n");
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(ReadTestFile(folder / "obs.bak"), "1,2\r\n3,4\r\n");
    EXPECT_EQ(MatrixText(document.DataMatrix), "1 2/3 4");
    EXPECT_TRUE(fs::exists(path + ".bak"));
}

TEST_F(SaveSafety, LinksAreResolvedToTheRealFile) {
    const std::string real = Open("real.dml", "[PAGESETUP]\nOrientation=Portrait;\n");
    fs::create_symlink("real.dml", folder / "b.dml");
    fs::create_symlink("b.dml", folder / "a.dml");
    ASSERT_TRUE(document.Open(folder / "a.dml"));
    ASSERT_TRUE(document.Save());
    EXPECT_TRUE(fs::is_symlink(folder / "a.dml"));
    EXPECT_TRUE(fs::is_symlink(folder / "b.dml"));
    EXPECT_THAT(ReadTestFile(real), HasSubstr("Orientation=Portrait;\r\n"));

    // A loop is refused with a message, and nothing is written.
    fs::create_symlink("loop2.dml", folder / "loop1.dml");
    fs::create_symlink("loop1.dml", folder / "loop2.dml");
    document.SetPath(folder / "loop1.dml");
    EXPECT_FALSE(document.Save());
    EXPECT_THAT(prompt.Last().text, HasSubstr("loop"));
    EXPECT_TRUE(fs::is_symlink(folder / "loop1.dml"));
    EXPECT_TRUE(fs::is_symlink(folder / "loop2.dml"));

    // A backup that is a link is replaced, never followed.
    const std::string victim = folder.Write("victim.txt", "keep");
    const std::string path = Open("m.dml", "[PAGESETUP]\n");
    fs::create_symlink(victim, BackupFileName(path));
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(ReadTestFile(victim), "keep");
    EXPECT_FALSE(fs::is_symlink(BackupFileName(path)));
    EXPECT_EQ(ReadTestFile(BackupFileName(path)), "[PAGESETUP]\n");
}

TEST_F(SaveSafety, FileAndBackupKeepModeOwnerAndGroup) {
    const std::string path = Open("private.dml", "[PAGESETUP]\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    ASSERT_TRUE(document.Save());
    const std::string backup = BackupFileName(path);
    EXPECT_EQ(Mode(path), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Mode(backup), fs::perms::owner_read | fs::perms::owner_write);
    if (::geteuid() == 0) {
        struct stat file {};
        struct stat copy {};
        ASSERT_EQ(::stat(path.c_str(), &file), 0);
        ASSERT_EQ(::stat(backup.c_str(), &copy), 0);
        EXPECT_EQ(file.st_uid, 65534u);
        EXPECT_EQ(file.st_gid, 65534u);
        EXPECT_EQ(copy.st_uid, 65534u);
        EXPECT_EQ(copy.st_gid, 65534u);
    }
}

TEST_F(SaveSafety, LongNamesAndStaleFilesDoNotBlockSaving) {
    const std::string name = std::string(250, 'n') + ".dml";
    const std::string path = Open(name, "[PAGESETUP]\n");
    EXPECT_TRUE(document.Save()) << prompt.Last().text;
    EXPECT_EQ(EntryCount(folder.Path()), 2u);

    // A stale backup without write permission is replaced.
    const std::string short_ = Open("s.dml", "[PAGESETUP]\n");
    const std::string backup = folder.Write(BackupFileName("s.dml"), "stale");
    fs::permissions(backup, fs::perms::owner_read);
    EXPECT_TRUE(document.Save());
    EXPECT_EQ(ReadTestFile(backup), "[PAGESETUP]\n");
    EXPECT_EQ(Mode(short_), Mode(backup));
}

TEST_F(SaveSafety, SavingOverAFileTheMapReadsIsRefused) {
    folder.Write("map.csv", "1,2\r\n3,4\r\n");
    Open("map.dml", "[DATA]\nMapMatrix=map.csv;\nFormat=ASCII;\n");
    document.SetPath(folder / "map.csv");
    EXPECT_FALSE(document.Save());
    EXPECT_EQ(prompt.Last().caption, "Error");
    EXPECT_EQ(ReadTestFile(folder / "map.csv"), "1,2\r\n3,4\r\n");
}

TEST_F(SaveSafety, TheSetupFileMustBeARegularFile) {
    EXPECT_FALSE(document.Open("/dev/zero"));
    EXPECT_FALSE(document.Open(folder.Path()));
    ASSERT_EQ(::mkfifo((folder / "fifo.dml").c_str(), 0600), 0);
    EXPECT_FALSE(document.Open(folder / "fifo.dml"));
    EXPECT_EQ(prompt.Last().caption, "Demla Setup File Exception");
}

TEST_F(SaveSafety, EveryFailingStepKeepsTheFileAndItsBackup) {
    const std::string path = Open("map.dml", "[PAGESETUP]\n");
    const std::string backup = folder.Write(BackupFileName("map.dml"), "older");
    struct Case {
        FileStep step;
        int error;
        int skip; // 1: the backup is written, the setup file fails
    };
    for (const Case& c : {Case{FileStep::Create, EIO, 0}, Case{FileStep::Create, EIO, 1},
                          Case{FileStep::Write, ENOSPC, 0}, Case{FileStep::Write, ENOSPC, 1},
                          Case{FileStep::Sync, EIO, 0}, Case{FileStep::Sync, EIO, 1},
                          Case{FileStep::Close, EDQUOT, 0}, Case{FileStep::Close, EDQUOT, 1},
                          Case{FileStep::Rename, EXDEV, 0}, Case{FileStep::Rename, EXDEV, 1},
                          // No temporary file: written in place, where the same steps can fail.
                          Case{FileStep::Write, ENOSPC, 2}, Case{FileStep::Sync, EIO, 2}}) {
        const int step = static_cast<int>(c.step);
        folder.Write("map.dml", "[PAGESETUP]\n");
        folder.Write(BackupFileName("map.dml"), "older");
        if (c.skip == 2) {
            FailFileStepForTesting(FileStep::Create, ENOSPC);
            ASSERT_TRUE(document.Save()) << step;
            FailFileStepForTesting(c.step, c.error, 1);
        } else {
            FailFileStepForTesting(c.step, c.error, c.skip);
        }
        const bool saved = document.Save();
        FailFileStepForTesting(std::nullopt);
        EXPECT_FALSE(saved) << step;
        EXPECT_THAT(prompt.Last().text, HasSubstr(std::strerror(c.error))) << step;
        if (c.skip != 2) {
            EXPECT_EQ(ReadTestFile(path), "[PAGESETUP]\n") << step;
            EXPECT_EQ(ReadTestFile(backup), c.skip == 0 ? "older" : "[PAGESETUP]\n") << step;
        }
        EXPECT_EQ(EntryCount(folder.Path()), 2u) << step;
    }
    // The folder sync comes after the rename: the new file is there, the
    // save still reports that it may not be on the disk.
    FailFileStepForTesting(FileStep::SyncFolder, EIO, 1);
    EXPECT_FALSE(document.Save());
    FailFileStepForTesting(std::nullopt);
    EXPECT_THAT(ReadTestFile(path), HasSubstr("[PAGESETUP]\r\n"));
}

TEST_F(SaveSafety, StaleTemporaryFilesAreRemoved) {
    const std::string path = Open("map.dml", "[PAGESETUP]\n");
    // A process number that no process has (above the kernel's limit).
    const std::string stale = folder.Write(".map.dml.99999999-0123456789abcdef.tmp", "half");
    const std::string alive = folder.Write(
        ".map.dml." + std::to_string(::getpid()) + "-0123456789abcdef.tmp", "in progress");
    const std::string other = folder.Write(".other.dml.99999999-0123456789abcdef.tmp", "x");
    ASSERT_TRUE(document.Save());
    EXPECT_FALSE(FileExists(stale));
    EXPECT_TRUE(FileExists(alive));
    EXPECT_TRUE(FileExists(other));
}

TEST_F(SaveSafety, PermissionsOfOtherUsersHold) {
    fs::permissions(folder.Path(), fs::perms::all);
    // A shared folder: the file belongs to someone else and grants this
    // user no write access, so it is not replaced.
    const std::string shared = folder.Write("shared/map.dml", "[PAGESETUP]\n");
    fs::permissions(folder / "shared", fs::perms::all);
    fs::permissions(shared, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                fs::perms::others_read);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(shared.c_str(), 0, 0), 0);
    }
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        ScriptedPrompt own;
        ChartDocument map(own);
        return map.Open(shared) && !map.Save() &&
               own.Last().text.find(std::strerror(EACCES)) != std::string::npos &&
               !FileExists(BackupFileName(shared));
    }));
    EXPECT_EQ(ReadTestFile(shared), "[PAGESETUP]\n");

    // A folder that takes no new file: the user's writable file and its
    // backup are written in place; without a backup the save stops first.
    const std::string shut = folder.Write("shut/map.dml", "[PAGESETUP]\n");
    const std::string backup = folder.Write(BackupFileName("shut/map.dml"), "older");
    GiveAway(shut);
    GiveAway(backup);
    GiveAway(folder / "shut");
    fs::permissions(folder / "shut", fs::perms::owner_read | fs::perms::owner_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        ScriptedPrompt own;
        ChartDocument map(own);
        return map.Open(shut) && map.Save();
    }));
    EXPECT_THAT(ReadTestFile(shut), HasSubstr("[PAGESETUP]\r\n"));
    EXPECT_EQ(ReadTestFile(backup), "[PAGESETUP]\n");
    fs::permissions(folder / "shut", fs::perms::owner_write, fs::perm_options::add);
    fs::remove(backup);
    fs::permissions(folder / "shut", fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        ScriptedPrompt own;
        ChartDocument map(own);
        return map.Open(shut) && !map.Save() &&
               own.Last().text ==
                   "Cannot open backup document\r\n" + backup + ": " + std::strerror(EACCES);
    }));
}

TEST_F(SaveSafety, SaveAsWritesOnlyAtTheDestination) {
    // An installed example: a folder nobody but its owner may write.
    GiveAway(folder.Path());
    const std::string example = folder.Write("examples/map.dml", "[PAGESETUP]\n");
    fs::permissions(folder / "examples", fs::perms::owner_read | fs::perms::owner_exec |
                                             fs::perms::others_read | fs::perms::others_exec);
    const std::string copy = folder / "mine/map.dml";
    fs::create_directories(folder / "mine");
    GiveAway(folder / "mine");
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        ScriptedPrompt own;
        ChartDocument map(own);
        map.Open(example);
        map.SetPath(copy);
        return map.Save() && own.Count() == 0;
    }));
    EXPECT_THAT(ReadTestFile(copy), HasSubstr("[PAGESETUP]\r\n"));
    EXPECT_EQ(EntryCount(folder / "examples"), 1u);
    EXPECT_FALSE(fs::exists(BackupFileName(copy)));

    // A file that stood at the destination is the one backed up, beside it.
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        ScriptedPrompt own;
        ChartDocument map(own);
        map.Open(example);
        map.Frame.x2 = 7;
        map.SetPath(copy);
        return map.Save();
    }));
    EXPECT_THAT(ReadTestFile(BackupFileName(copy)), HasSubstr("[PAGESETUP]\r\n"));
    EXPECT_EQ(EntryCount(folder / "examples"), 1u);
}

} // namespace
