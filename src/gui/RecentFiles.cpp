#include "gui/RecentFiles.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

const char* const kGroup = "Recent File List";

} // namespace

QString RecentFiles::SettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Demla/Demla.ini");
}

RecentFiles::RecentFiles() {
    QSettings settings(SettingsPath(), QSettings::IniFormat);
    settings.beginGroup(QString::fromLatin1(kGroup));
    for (int i = 1; i <= kCapacity; ++i) {
        const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty() && !files_.contains(file)) {
            files_.append(file);
        }
    }
}

void RecentFiles::Add(const QString& path) {
    const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > kCapacity) {
        files_.removeLast();
    }
    Write();
}

void RecentFiles::Remove(const QString& path) {
    if (files_.removeAll(path) > 0) {
        Write();
    }
}

void RecentFiles::Write() const {
    QSettings settings(SettingsPath(), QSettings::IniFormat);
    settings.beginGroup(QString::fromLatin1(kGroup));
    settings.remove(QString());
    for (int i = 0; i < files_.size(); ++i) {
        settings.setValue(QStringLiteral("File%1").arg(i + 1), files_[i]);
    }
}
