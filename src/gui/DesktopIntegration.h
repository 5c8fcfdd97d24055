#pragma once

#include <QString>

// The program's place in the desktop: a desktop entry that opens setup
// files, the MIME type of "*.dml" files and their icons, under the user's
// data folder ($XDG_DATA_HOME, by default ~/.local/share). Written at every
// start so that a moved program is found again; a file that cannot be
// written is skipped silently. An installed program (one whose prefix
// holds share/applications/demla.desktop) writes nothing: the installed
// files serve, and a copy for the user would hide them and outlive the
// program's removal.
namespace DesktopIntegration {

// The MIME type of setup files.
inline constexpr const char* kMimeType = "application/x-demla-map";

QString DesktopEntryPath();
QString MimePackagePath();
QString IconPath();
QString MimeIconPath();

// The texts written, for a program at programPath: the installed ones,
// with the program's own path in the desktop entry's Exec key.
QString DesktopEntryText(const QString& programPath);
QString MimePackageText();

bool InstalledWithDesktopFiles(const QString& programPath);
void Register(const QString& programPath);
void Unregister();

} // namespace DesktopIntegration
