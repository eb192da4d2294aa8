#pragma once

#include "Preferences.h"

#include <QSettings>

// Preferences in an INI file via QSettings. Every write is synced at once;
// QSettings replaces the file atomically, so a crash mid-write keeps the old text.
class SettingsPreferences final : public Preferences
{
public:
    explicit SettingsPreferences(const QString &filePath);

    // ~/.config/tarvuke/glimp.conf (or the XDG equivalent).
    static QString defaultFilePath();

    std::optional<QString> readText(const QString &key) override;
    bool writeText(const QString &key, const QString &value) override;

private:
    QSettings m_settings;
};
