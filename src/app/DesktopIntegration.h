#pragma once

#include <QString>

// The program's place in the desktop: a desktop entry that opens setup
// files, the MIME type of "*.dml" files and the icon, under the user's data
// folder ($XDG_DATA_HOME, by default ~/.local/share). Written at every
// start so that a moved program is found again; a file that cannot be
// written is skipped silently.
namespace DesktopIntegration {

// The MIME type of setup files.
inline constexpr const char* kMimeType = "application/x-demla-map";

QString DesktopEntryPath();
QString MimePackagePath();
QString IconPath();

// The texts written, for a program at programPath.
QString DesktopEntryText(const QString& programPath);
QString MimePackageText();

void Register(const QString& programPath);
void Unregister();

} // namespace DesktopIntegration
