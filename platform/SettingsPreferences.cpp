#include "SettingsPreferences.h"

#include <QStandardPaths>

SettingsPreferences::SettingsPreferences(const QString &filePath)
    : m_settings(filePath, QSettings::IniFormat)
{
}

QString SettingsPreferences::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/tarvuke/glimp.conf");
}

std::optional<QString> SettingsPreferences::readText(const QString &key)
{
    const QVariant value = m_settings.value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

bool SettingsPreferences::writeText(const QString &key, const QString &value)
{
    m_settings.setValue(key, value);
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}
