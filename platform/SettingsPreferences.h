#pragma once

#include "Preferences.h"

#include <QMap>
#include <QVariant>

// Preferences in an INI file. Only a regular file is read: anything else (a pipe, a device, a
// folder) reads as nothing, so that opening it cannot block. Every write goes to a copy of
// our own name beside the file, which then replaces it in one rename, so a crash mid-write
// keeps the old text. A file that QSettings cannot parse is set aside as "<file>.corrupt" at
// the first write, so that new edits are kept again. Writes never wait for the lock beside
// the file: when it is held or is not a lock at all, the write fails and the caller tries
// again later. A copy left by a write that was killed half-way is removed under the lock;
// nothing else beside the file is touched.
class SettingsPreferences final : public Preferences
{
public:
    explicit SettingsPreferences(const QString &filePath);

    // $XDG_CONFIG_HOME/tarvuke/glimp.conf, or ~/.config/tarvuke/glimp.conf.
    static QString defaultFilePath();

    std::optional<QString> readText(const QString &key) override;
    bool writeText(const QString &key, const QString &value) override;

private:
    QString copyPath() const;
    void removeAbandonedWrites() const;

    QString m_filePath;
    QMap<QString, QVariant> m_values;
    bool m_unreadable = false;
};
