#include "app/DesktopIntegration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

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

QString DesktopEntryText(const QString& programPath) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Demla\n"
                          "GenericName=Age-period map\n"
                          "Comment=Draws age-period surface maps of demographic data\n"
                          "Exec=%1 %f\n"
                          "Icon=demla\n"
                          "Terminal=false\n"
                          "Categories=Science;Education;Math;Qt;\n"
                          "MimeType=%2;\n")
        .arg(ExecQuoted(programPath), QString::fromLatin1(kMimeType));
}

QString MimePackageText() {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info "
                          "xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>Demla Map</comment>\n"
                          "    <sub-class-of type=\"text/plain\"/>\n"
                          "    <icon name=\"demla\"/>\n"
                          "    <glob pattern=\"*.dml\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(QString::fromLatin1(kMimeType));
}

void Register(const QString& programPath) {
    WriteText(DesktopEntryPath(), DesktopEntryText(programPath).toUtf8());
    WriteText(MimePackagePath(), MimePackageText().toUtf8());
    QFile icon(QStringLiteral(":/icons/demla.svg"));
    if (icon.open(QIODevice::ReadOnly)) {
        WriteText(IconPath(), icon.readAll());
    }
    RefreshCaches();
}

void Unregister() {
    QFile::remove(DesktopEntryPath());
    QFile::remove(MimePackagePath());
    QFile::remove(IconPath());
    RefreshCaches();
}

} // namespace DesktopIntegration
