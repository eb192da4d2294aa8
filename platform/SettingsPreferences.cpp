#include "SettingsPreferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
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

// Whether what stands at path may be taken by a QLockFile: nothing, or a regular file that
// starts with a process id as QLockFile writes it (an empty one is a lock being made). A
// pipe would block QLockFile's read, and a user's own file is not ours to remove as stale.
bool mayLock(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status{};
    if (::lstat(name.constData(), &status) != 0)
        return errno == ENOENT;
    if (!S_ISREG(status.st_mode))
        return false;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    char head[24];
    const ssize_t size = ::read(fd, head, sizeof head);
    ::close(fd);
    ssize_t digits = 0;
    while (digits < size && head[digits] >= '0' && head[digits] <= '9')
        ++digits;
    return size == 0 || (digits > 0 && (digits == size || head[digits] == '\n'));
}

} // namespace

SettingsPreferences::SettingsPreferences(const QString &filePath)
    : m_filePath(filePath)
{
    // Only a regular file is opened: a pipe would wait for a writer, a device might not end.
    struct stat status{};
    if (::stat(QFile::encodeName(filePath).constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return;
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
    // QSettings held on it, which QSettings would wait on). Writers hold the file's lock, so
    // under it no copy is live.
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
    m_values.insert(key, value);
    if (!QDir().mkpath(QFileInfo(m_filePath).absolutePath()))
        return false;
    const QString lockPath = m_filePath + u".lock"_s;
    if (!mayLock(lockPath))
        return false;
    QLockFile lock(lockPath);
    if (!lock.tryLock())
        return false;
    removeAbandonedWrites();
    if (m_unreadable) {
        const QString aside = m_filePath + QStringLiteral(".corrupt");
        QFile::remove(aside);
        QFile::rename(m_filePath, aside);
        m_values = {{key, value}};
        m_unreadable = false;
    }
    const QString copy = copyPath();
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
