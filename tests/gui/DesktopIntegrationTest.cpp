#include "gui/DesktopIntegration.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString Installed(const char* name) {
    return ReadText(QStringLiteral(DEMLA_PACKAGING_DIR "/") + QString::fromLatin1(name));
}

// The per-user files are the installed ones; only the desktop entry's Exec
// names the program where it is instead of the one on the PATH.
TEST(DesktopIntegration, UserFilesAreTheInstalledOnesWithTheProgramsPath) {
    QString installed = Installed("demla.desktop");
    ASSERT_TRUE(installed.contains("\nExec=demla %F\n"));
    installed.replace("\nExec=demla %F\n", "\nExec=\"/opt/my maps/demla\" %F\n");
    EXPECT_EQ(DesktopIntegration::DesktopEntryText("/opt/my maps/demla"), installed);
    EXPECT_EQ(DesktopIntegration::MimePackageText(), Installed("demla.xml"));

    DesktopIntegration::Register("/opt/my maps/demla");
    EXPECT_EQ(ReadText(DesktopIntegration::MimePackagePath()), Installed("demla.xml"));
    EXPECT_TRUE(DesktopIntegration::MimeIconPath().endsWith(
        "/icons/hicolor/scalable/mimetypes/application-x-demla-map.svg"));
    EXPECT_TRUE(QFile::exists(DesktopIntegration::MimeIconPath()));
    DesktopIntegration::Unregister();
    EXPECT_FALSE(QFile::exists(DesktopIntegration::MimeIconPath()));
}

// A program installed with its desktop files leaves the user's folder
// alone.
TEST(DesktopIntegration, AnInstalledProgramWritesNothingForTheUser) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString program = prefix.filePath("bin/demla");
    EXPECT_FALSE(DesktopIntegration::InstalledWithDesktopFiles(program));
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin") &&
                QDir(prefix.path()).mkpath("share/applications"));
    QFile entry(prefix.filePath("share/applications/demla.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.close();
    EXPECT_TRUE(DesktopIntegration::InstalledWithDesktopFiles(program));

    DesktopIntegration::Unregister();
    DesktopIntegration::Register(program);
    EXPECT_FALSE(QFile::exists(DesktopIntegration::DesktopEntryPath()));
    EXPECT_FALSE(QFile::exists(DesktopIntegration::MimePackagePath()));
}

} // namespace
