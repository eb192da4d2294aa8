#include "SettingsPreferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>

SettingsPreferences::SettingsPreferences(const QString &filePath)
    : m_filePath(filePath)
{
    removeAbandonedWrites();
    m_settings = std::make_unique<QSettings>(filePath, QSettings::IniFormat);
}

void SettingsPreferences::removeAbandonedWrites() const
{
    // QSettings writes a temporary copy ("glimp.conf.Ab3xYz") and renames it over the file.
    // A game killed in between leaves the copy behind, one more with every such kill.
    // QSettings holds its lock file while it writes, so under that lock no copy is live.
    QLockFile lock(m_filePath + QStringLiteral(".lock"));
    if (!lock.tryLock(0))
        return;
    const QFileInfo file(m_filePath);
    const QDir dir = file.absoluteDir();
    static const QRegularExpression copy(QStringLiteral("^.+\\.[A-Za-z0-9]{6}$"));
    const QStringList names =
        dir.entryList({file.fileName() + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        if (copy.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
    }
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
