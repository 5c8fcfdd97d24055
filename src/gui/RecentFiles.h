#pragma once

#include <QString>
#include <QStringList>

// The ten setup files opened last, newest first, kept in the program's
// settings file ($XDG_CONFIG_HOME/Demla/Demla.ini) so that every start
// offers them.
class RecentFiles {
public:
    static constexpr int kCapacity = 10;

    // The settings file the list lives in.
    static QString SettingsPath();

    RecentFiles();
    const QStringList& Files() const { return files_; }
    // Puts a file at the top (moving it there when listed already).
    void Add(const QString& path);
    void Remove(const QString& path);

private:
    void Write() const;
    QStringList files_;
};
