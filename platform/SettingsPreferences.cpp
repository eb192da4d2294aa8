#include "SettingsPreferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QScopeGuard>

#include <algorithm>
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

// Where the text lives: the end of a chain of symbolic links (a dotfile manager's), or
// nothing for a loop. Relative links are read from the link's real folder.
QString linkTarget(const QString &path)
{
    QFileInfo file(path);
    for (int hop = 0; hop < 40; ++hop) {
        const QString folder = QDir(file.absolutePath()).canonicalPath();
        if (!folder.isEmpty())
            file.setFile(folder + u'/' + file.fileName());
        if (!file.isSymLink())
            return file.absoluteFilePath();
        file.setFile(file.symLinkTarget());
    }
    return {};
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

QString writeFolderPrefix(const QString &file)
{
    return file + u".tarvuke-glimp-write."_s;
}

// A write killed half-way leaves its folder: named by the writer's process id, ours alone
// (rwx for us only), and holding nothing but the copy and what QSettings made beside it.
void removeAbandonedWrites(const QFileInfo &file)
{
    const QString copyName = file.fileName();
    const QString prefix = writeFolderPrefix(copyName);
    const QFileInfoList folders = file.absoluteDir().entryInfoList(
            {prefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QFileInfo &folder : folders) {
        bool isNumber = false;
        folder.fileName().mid(prefix.size()).toLongLong(&isNumber);
        struct stat status{};
        if (!isNumber || ::lstat(QFile::encodeName(folder.filePath()).constData(), &status) != 0
            || status.st_uid != getuid() || (status.st_mode & 07777) != 0700)
            continue;
        const QFileInfoList inside = QDir(folder.filePath())
                                             .entryInfoList(QDir::AllEntries | QDir::Hidden
                                                            | QDir::System | QDir::NoDotAndDotDot);
        const bool ours = std::all_of(inside.cbegin(), inside.cend(), [&](const QFileInfo &entry) {
            const QString name = entry.fileName();
            return entry.isFile() && !entry.isSymLink()
                   && (name == copyName || name.startsWith(copyName + u'.'));
        });
        if (ours)
            QDir(folder.filePath()).removeRecursively();
    }
}

// Keeps an unreadable file under the first free name, never over an earlier one.
bool setAside(const QString &file)
{
    const QFileInfo unreadable(file);
    if (!unreadable.exists() && !unreadable.isSymLink())
        return true;
    QString aside = file + u".corrupt"_s;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = file + u".corrupt."_s + QString::number(n);
    // QFile::rename does not replace what appeared there meanwhile.
    return QFile::rename(file, aside);
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
    const QString target = linkTarget(m_filePath);
    if (target.isEmpty())
        return false;
    // A link to something that is not a file stays as it is: one links a file to /dev/null
    // to keep nothing.
    struct stat status{};
    if (QFileInfo(m_filePath).isSymLink()
        && ::stat(QFile::encodeName(target).constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return false;
    if (!m_leftoversCleared) {
        removeAbandonedWrites(QFileInfo(target));
        m_leftoversCleared = true;
    }
    if (m_unreadable) {
        if (!setAside(target))
            return false;
        m_values = {{key, value}};
        m_unreadable = false;
    }
    return replace(target);
}

bool SettingsPreferences::replace(const QString &target) const
{
    // Beside the file, so that the rename stays on its file system. Made afresh for every
    // write, so that nothing anyone left there can be in QSettings' way; named by the process,
    // as QSettings keeps what was written under each name in memory for a while.
    const QString folder = writeFolderPrefix(target) + QString::number(getpid());
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0)
        return false;
    const auto removeFolder = qScopeGuard([&] { QDir(folder).removeRecursively(); });
    const QString copy = folder + u'/' + QFileInfo(target).fileName();
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
    QFile written(copy);
    if (!written.open(QIODevice::ReadOnly))
        return false;
    // The file keeps the mode its owner gave it.
    struct stat old{};
    if (::stat(QFile::encodeName(target).constData(), &old) == 0 && S_ISREG(old.st_mode)
        && ::fchmod(written.handle(), old.st_mode & 07777) != 0)
        return false;
    // On disk before it takes the file's place, so that a power cut keeps one whole text.
    if (::fsync(written.handle()) != 0)
        return false;
    written.close();
    return std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(target).constData())
           == 0;
}
