#include "gui/DesktopIntegration.h"

#include "gui/DesktopFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <utility>

namespace {

QString DataHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// A path for the desktop entry's Exec key: quoted when it holds anything
// that the key's syntax would read otherwise.
QString ExecQuoted(const QString& path) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool plain = true;
    for (const QChar c : path) {
        if (kReserved.contains(c)) {
            plain = false;
            break;
        }
    }
    if (plain) {
        return path;
    }
    QString quoted;
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\')) {
            quoted += QLatin1String("\\\\");
        }
        quoted += c;
    }
    quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void WriteText(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
        file.commit();
    }
}

// The desktop's caches learn of the new files; where the tools are
// missing, the files are still found at the next login.
void RefreshCaches() {
    const QString mime = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (!mime.isEmpty()) {
        QProcess::startDetached(mime, {DataHome() + QStringLiteral("/mime")});
    }
    const QString desktop =
        QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (!desktop.isEmpty()) {
        QProcess::startDetached(desktop, {DataHome() + QStringLiteral("/applications")});
    }
}

} // namespace

namespace DesktopIntegration {

QString DesktopEntryPath() {
    return DataHome() + QStringLiteral("/applications/demla.desktop");
}

QString MimePackagePath() {
    return DataHome() + QStringLiteral("/mime/packages/demla.xml");
}

QString IconPath() {
    return DataHome() + QStringLiteral("/icons/hicolor/scalable/apps/demla.svg");
}

QString MimeIconPath() {
    return DataHome() + QStringLiteral("/icons/hicolor/scalable/mimetypes/") +
           QString::fromLatin1(kMimeType).replace(QLatin1Char('/'), QLatin1Char('-')) +
           QStringLiteral(".svg");
}

QString DesktopEntryText(const QString& programPath) {
    // The installed entry starts the program found on the PATH; this one
    // starts the program where it is.
    QString text = QString::fromUtf8(kInstalledDesktopEntry);
    const QString exec = QStringLiteral("\nExec=demla ");
    const qsizetype at = text.indexOf(exec);
    if (at >= 0) {
        text.replace(at, exec.size(),
                     QStringLiteral("\nExec=") + ExecQuoted(programPath) + QLatin1Char(' '));
    }
    return text;
}

QString MimePackageText() {
    return QString::fromUtf8(kInstalledMimePackage);
}

bool InstalledWithDesktopFiles(const QString& programPath) {
    return QFileInfo::exists(QFileInfo(programPath).absolutePath() +
                             QStringLiteral("/../share/applications/demla.desktop"));
}

void Register(const QString& programPath) {
    if (InstalledWithDesktopFiles(programPath)) {
        return;
    }
    WriteText(DesktopEntryPath(), DesktopEntryText(programPath).toUtf8());
    WriteText(MimePackagePath(), MimePackageText().toUtf8());
    for (const auto& [resource, path] :
         {std::pair{QStringLiteral(":/icons/demla.svg"), IconPath()},
          std::pair{QStringLiteral(":/icons/map-document.svg"), MimeIconPath()}}) {
        QFile icon(resource);
        if (icon.open(QIODevice::ReadOnly)) {
            WriteText(path, icon.readAll());
        }
    }
    RefreshCaches();
}

void Unregister() {
    QFile::remove(DesktopEntryPath());
    QFile::remove(MimePackagePath());
    QFile::remove(IconPath());
    QFile::remove(MimeIconPath());
    RefreshCaches();
}

} // namespace DesktopIntegration
