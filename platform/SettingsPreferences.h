#pragma once

#include "Preferences.h"

#include <QMap>
#include <QVariant>

// Preferences in an INI file. Every write goes to a copy of our own name beside the file,
// which then replaces it in one rename, so a crash mid-write keeps the old text. A file
// that QSettings cannot parse is set aside as "<file>.corrupt" at the first write, so that
// new edits are kept again. A copy left by a write that was killed half-way is removed when
// the file is opened; nothing else beside the file is touched.
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
