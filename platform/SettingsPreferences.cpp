#include "SettingsPreferences.h"

#include <QFile>
#include <QStandardPaths>

SettingsPreferences::SettingsPreferences(const QString &filePath)
    : m_filePath(filePath)
    , m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

QString SettingsPreferences::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/tarvuke/glimp.conf");
}

std::optional<QString> SettingsPreferences::readText(const QString &key)
{
    const QVariant value = m_settings->value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

bool SettingsPreferences::writeText(const QString &key, const QString &value)
{
    if (m_settings->status() == QSettings::FormatError) {
        const QString aside = m_filePath + QStringLiteral(".corrupt");
        QFile::remove(aside);
        QFile::rename(m_filePath, aside);
        m_settings = std::make_unique<QSettings>(m_filePath, QSettings::IniFormat);
    }
    m_settings->setValue(key, value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
