#pragma once

#include "Preferences.h"

#include <QSettings>
#include <memory>

// Preferences in an INI file via QSettings. Every write is synced at once;
// QSettings replaces the file atomically, so a crash mid-write keeps the old text.
// QSettings refuses to write over a file it could not parse; such a file is set aside
// as "<file>.corrupt" at the first write, so that new edits are kept again. Temporary
// copies left by a write that was killed half-way are removed when the file is opened.
class SettingsPreferences final : public Preferences
{
public:
    explicit SettingsPreferences(const QString &filePath);

    // ~/.config/tarvuke/glimp.conf (or the XDG equivalent).
    static QString defaultFilePath();

    std::optional<QString> readText(const QString &key) override;
    bool writeText(const QString &key, const QString &value) override;

private:
    void removeAbandonedWrites() const;

    QString m_filePath;
    std::unique_ptr<QSettings> m_settings;
};
