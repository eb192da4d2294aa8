#pragma once

#include "Preferences.h"

#include <QMap>
#include <QVariant>

// Preferences in an INI file. Only a regular file is read: anything else (a pipe, a device, a
// folder) reads as nothing, so that opening it cannot block. Every write goes to a copy in a
// folder of our own beside the file, which then replaces the file in one rename, so a crash
// mid-write keeps the old text; the file keeps its mode, and a symbolic link stays a link to
// the file it names. A file that QSettings cannot parse is set aside at the first write as
// "<file>.corrupt" (".corrupt.2" and on when that is taken), so that new edits are kept again.
// Writes never wait for the lock beside the file: when it is held or is not a lock at all,
// the write fails and the caller tries again later. What killed writes left is cleared under
// the lock; nothing else beside the file is touched.
class SettingsPreferences final : public Preferences
{
public:
    explicit SettingsPreferences(const QString &filePath);

    // $XDG_CONFIG_HOME/tarvuke/glimp.conf, or ~/.config/tarvuke/glimp.conf.
    static QString defaultFilePath();

    std::optional<QString> readText(const QString &key) override;
    bool writeText(const QString &key, const QString &value) override;

private:
    bool replace(const QString &target) const;

    QString m_filePath;
    QMap<QString, QVariant> m_values;
    bool m_unreadable = false;
    bool m_leftoversCleared = false;
};
