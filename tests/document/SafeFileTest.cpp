#include "document/SafeFile.h"
#include "core/NumberText.h"
#include "document/DocumentTestSupport.h"
#include "document/SetupValues.h"
#include "setup/DemlaSetup.h"
#include "setup/SetupText.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(SafeFile, WritesThroughATemporaryFileAndKeepsTheOldOneOnFailure) {
    TempTestFolder folder;
    const std::string path = folder.Write("map.dml", "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(WriteFileAtomically(path, "new"), FileWriteResult::Written);
    EXPECT_EQ(ReadTestFile(path), "new");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);

    // A link is followed: the file it names changes, the link stays.
    fs::create_symlink("map.dml", folder / "link.dml");
    ASSERT_EQ(WriteFileAtomically(folder / "link.dml", "linked"), FileWriteResult::Written);
    EXPECT_TRUE(fs::is_symlink(folder / "link.dml"));
    EXPECT_EQ(ReadTestFile(path), "linked");

    fs::permissions(path, fs::perms::owner_read);
    EXPECT_EQ(WriteFileAtomically(path, "refused"), FileWriteResult::OpenFailed);
    EXPECT_EQ(ReadTestFile(path), "linked");
    EXPECT_EQ(WriteFileAtomically("", "x"), FileWriteResult::OpenFailed);
}

// A file is read-only when nobody may write it; one that only others may
// write is not, and whether this user may is the system's to say.
TEST(SafeFile, ReadOnlyMeansNoWriteBitAtAll) {
    TempTestFolder folder;
    const std::string path = folder.Write("map.dml", "old");
    for (const fs::perms writer :
         {fs::perms::owner_write, fs::perms::group_write, fs::perms::others_write}) {
        fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | writer);
        std::string reason;
        if (!MayWrite(path, {}, &reason)) {
            EXPECT_EQ(reason, std::strerror(EACCES)) << static_cast<int>(writer);
        }
    }
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::string reason;
    EXPECT_FALSE(MayWrite(path, {}, &reason));
    EXPECT_EQ(reason, "the file is read-only");
}

TEST(SafeFile, PathsOfFilesNamedByASetupFile) {
    EXPECT_EQ(ResolveBeside("/maps/a.dml", "data.csv"), "/maps/data.csv");
    EXPECT_EQ(ResolveBeside("a.dml", "sub/data.csv"), "sub/data.csv");
    EXPECT_EQ(ResolveBeside("/maps/a.dml", "/data/d.csv"), "/data/d.csv");
    EXPECT_EQ(FileNameOf("C:\\maps\\data 1.txt"), "data 1.txt");
    EXPECT_EQ(FolderOf("/maps/a.dml"), "/maps/");
}

// Reads value as the only item of a section back through the reader.
std::string ReadBack(const std::string& value, bool string) {
    const TempTestFile file("[S]\nKey=" + value + ";\nNext=1;\n");
    DemlaSetup reader;
    EXPECT_TRUE(reader.FindSection(file.Path(), "S"));
    EXPECT_NE(reader.FindItem("Key"), nullptr);
    const char* text = string ? reader.GetString() : nullptr;
    return string ? (text != nullptr ? text : "(null)")
                  : FormatDoubleC("%.17g", reader.GetDouble());
}

TEST(SetupValues, WrittenValuesReadBack) {
    EXPECT_EQ(SetupStringText("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(ReadBack(SetupStringText("say \"hi\""), true), "say \"hi\"");
    EXPECT_EQ(ReadBack(SetupStringText("a\\\"b"), true), "a\\\"b");
    EXPECT_EQ(ReadBack(SetupStringText("ends\\"), true), "ends\\ ");
    EXPECT_EQ(ReadBack(SetupByteText('\\'), true), "\\ ");

    EXPECT_EQ(FormattedNumberText(1234.5678, "E2"), "1.23E+03");
    EXPECT_EQ(ReadBack(FormattedNumberText(1234.5678, "E2"), false), "1230");
    // Formats that make something else than a number fall back to an exact form.
    EXPECT_EQ(FormattedNumberText(0.1, "%5.1f"), "0.10000000000000001");
    EXPECT_EQ(FormattedNumberText(2.5, "x%fx"), "2.5");
    // Infinities in a decimal form that reads back; a NaN as the 0 that a
    // word reads as.
    EXPECT_EQ(ShortNumberText(1e300 * 1e300), "1e999");
    EXPECT_EQ(ReadBack(ShortNumberText(-1e300 * 1e300), false), "-inf");
    EXPECT_EQ(ReadBack(FormattedNumberText(std::nan(""), "F2"), false), "0");

    EXPECT_EQ(ColorFromDouble(255.9), 255u);
    EXPECT_EQ(ColorFromDouble(1e30), 0xFFFFFFFFu);
    EXPECT_EQ(ColorFromDouble(std::nan("")), 0u);
}

} // namespace
