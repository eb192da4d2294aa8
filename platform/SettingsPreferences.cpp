#include "SettingsPreferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

#include <cstdio>
#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString homeFolder()
{
    const QString home = qEnvironmentVariable("HOME");
    if (QDir::isAbsolutePath(home))
        return home;
    // A session started without HOME still has an account.
    passwd entry{};
    passwd *found = nullptr;
    QByteArray buffer(16384, Qt::Uninitialized);
    if (getpwuid_r(getuid(), &entry, buffer.data(), size_t(buffer.size()), &found) == 0 && found
        && QDir::isAbsolutePath(QFile::decodeName(found->pw_dir)))
        return QFile::decodeName(found->pw_dir);
    return QDir::homePath();
}

} // namespace

SettingsPreferences::SettingsPreferences(const QString &filePath)
    : m_filePath(filePath)
{
    removeAbandonedWrites();
    const QSettings settings(filePath, QSettings::IniFormat);
    for (const QString &key : settings.allKeys())
        m_values.insert(key, settings.value(key));
    // Known once the file has been read.
    m_unreadable = settings.status() == QSettings::FormatError;
}

QString SettingsPreferences::copyPath() const
{
    // A name no user picks: only our own writes make it.
    return m_filePath + QStringLiteral(".tarvuke-glimp-write");
}

void SettingsPreferences::removeAbandonedWrites() const
{
    // A game killed between writing its copy and the rename leaves the copy (and the lock
    // QSettings held on it). Writers hold the file's lock, so under it no copy is live.
    QLockFile lock(m_filePath + QStringLiteral(".lock"));
    if (!lock.tryLock(0))
        return;
    QFile::remove(copyPath());
    QFile::remove(copyPath() + QStringLiteral(".lock"));
}

QString SettingsPreferences::defaultFilePath()
{
    // A relative XDG_CONFIG_HOME is to be ignored.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(config))
        config = homeFolder() + u"/.config"_s;
    return config + u"/tarvuke/glimp.conf"_s;
}

std::optional<QString> SettingsPreferences::readText(const QString &key)
{
    const QVariant value = m_values.value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

bool SettingsPreferences::writeText(const QString &key, const QString &value)
{
    if (m_unreadable) {
        const QString aside = m_filePath + QStringLiteral(".corrupt");
        QFile::remove(aside);
        QFile::rename(m_filePath, aside);
        m_values.clear();
        m_unreadable = false;
    }
    m_values.insert(key, value);

    if (!QDir().mkpath(QFileInfo(m_filePath).absolutePath()))
        return false;
    QLockFile lock(m_filePath + QStringLiteral(".lock"));
    if (!lock.lock())
        return false;
    const QString copy = copyPath();
    QFile::remove(copy);
    {
        QSettings settings(copy, QSettings::IniFormat);
        // The copy is ours alone; the rename below is what makes the write atomic.
        settings.setAtomicSyncRequired(false);
        for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
            settings.setValue(it.key(), it.value());
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return false;
    }
    // On disk before it takes the file's place, so that a power cut keeps one whole text.
    QFile written(copy);
    if (!written.open(QIODevice::ReadOnly) || ::fsync(written.handle()) != 0)
        return false;
    written.close();
    return std::rename(QFile::encodeName(copy).constData(),
                       QFile::encodeName(m_filePath).constData())
           == 0;
}
