#include "PlatformTestSupport.h"
#include "document/SafeFile.h"
#include "platform/RenderToFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

namespace {

const char* const kFormats[] = {"map.png", "map.bmp", "map.svg", "map.pdf", "map.emf"};

// A picture whose files take some room in every format: a grid of cells of
// many colours with a text.
void Busy(Surface& surface) {
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            const auto colour = static_cast<std::uint32_t>((x * 7919 + y * 104729) * 2654435761u);
            surface.FillRect({x * 5, y * 5, x * 5 + 5, y * 5 + 5}, Brush::Solid(colour & 0xFFFFFF));
        }
    }
    surface.TextOut(10, 10, "Demla");
}

// The names in folder other than keep: what a failed export left behind.
QStringList Leftovers(const QString& folder, const QString& keep) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeAll(keep);
    return names;
}

} // namespace

// Every step of writing can fail: the export then says why, leaves the file
// that stood there as it was and no temporary file beside it.
TEST(RenderToFile, AFailedWriteLeavesTheOldFileAndSaysWhy) {
    QTemporaryDir dir;
    for (const FileStep step :
         {FileStep::Create, FileStep::Write, FileStep::Sync, FileStep::Close, FileStep::Rename}) {
        for (const char* name : kFormats) {
            SCOPED_TRACE(std::string(name) + " step " + std::to_string(static_cast<int>(step)));
            const QString path = dir.filePath(name);
            {
                QFile old(path);
                ASSERT_TRUE(old.open(QIODevice::WriteOnly));
                old.write("old");
            }
            FailFileStepForTesting(step, EIO);
            std::string message;
            const bool written = RenderToFile(Local(path), 300, 300, Busy, &message);
            FailFileStepForTesting(std::nullopt);
            EXPECT_FALSE(written);
            EXPECT_EQ(message,
                      "Unable to write the file \"" + Local(path) + "\": Input/output error.");
            EXPECT_TRUE(ReadAll(path) == "old"); // left as it was
            EXPECT_EQ(Leftovers(dir.path(), name), QStringList());
            QFile::remove(path);
        }
    }
}

// On a full file system, where writes fail only when the data reach the
// disk, no export leaves a truncated file. The test mounts a small tmpfs and
// so runs only where it may.
TEST(RenderToFile, AFullDiskLeavesNoTruncatedFile) {
    QTemporaryDir dir;
    const std::string mount = Local(dir.path());
    if (::geteuid() != 0 ||
        QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", dir.path()}) != 0) {
        GTEST_SKIP() << "mounting a tmpfs takes root; the failing writes are tested without";
    }
    for (const char* name : kFormats) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(name);
        {
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        {
            // Fill the disk to the last byte.
            QFile filler(dir.filePath("filler"));
            ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size()) {
            }
        }
        std::string message;
        const bool written = RenderToFile(Local(path), 300, 300, Busy, &message);
        EXPECT_FALSE(written);
        EXPECT_EQ(message,
                  "Unable to write the file \"" + Local(path) + "\": No space left on device.");
        EXPECT_TRUE(ReadAll(path) == "old"); // left as it was
        EXPECT_EQ(Leftovers(dir.path(), name), QStringList{"filler"});
        QFile::remove(path);
        QFile::remove(dir.filePath("filler"));
        // With room, the same export is written whole.
        EXPECT_TRUE(RenderToFile(Local(path), 50, 50, Busy, &message)) << message;
        QFile::remove(path);
    }
    EXPECT_EQ(QProcess::execute("umount", {dir.path()}), 0) << mount;
}
