// The custom words on disk through the real QSettings-backed preferences.
#include "BackgroundPreferences.h"
#include "GameStore.h"
#include "SettingsPreferences.h"
#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

const QString key = QString::fromLatin1(GameStore::customWordsKey);

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// What stands at path, told without opening anything that could block: its type and mode,
// and a file's bytes.
QByteArray standing(const QString &path)
{
    struct stat status{};
    if (::lstat(native(path).constData(), &status) != 0)
        return "nothing";
    const QByteArray state = QByteArray::number(status.st_mode, 8);
    return S_ISREG(status.st_mode) ? state + ' ' + readFile(path) : state;
}

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    // Typed a key at a time through the writer thread, as the words screen does.
    void backgroundWritesKeepTheNewestText()
    {
        const QString file = path(u"background.conf"_s);
        const auto make = [file] { return std::make_unique<SettingsPreferences>(file); };
        QString typed;
        {
            BackgroundPreferences prefs(make);
            QCOMPARE(prefs.readText(key), std::nullopt);
            QVERIFY(!QFile::exists(file));
            for (const QChar c : u"Ёжик\r\nвоздушный  шар\n\n😀 emoji, запятая; = [раздел]\n\\n\"кавычки\"\u2028"_s) {
                typed += c;
                QVERIFY(prefs.writeText(key, typed));
            }
            // A read sees every write queued before it.
            QCOMPARE(prefs.readText(key), typed);
            for (int i = 0; i < 20000; ++i)
                typed += QStringLiteral("слово номер %1\n").arg(i);
            prefs.writeText(key, typed);
        }
        // Going away writes what was still queued.
        QCOMPARE(SettingsPreferences(file).readText(key), typed);
        BackgroundPreferences again(make);
        QCOMPARE(again.readText(key), typed);
        // Clearing is stored too.
        again.writeText(key, QString());
        QVERIFY(again.flush(10s));
        QCOMPARE(SettingsPreferences(file).readText(key), QString());
    }

    void badFilesReadAsNothing_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("setAside");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe[\x01=\x02\n\x80\x81", 10) << true;
        QTest::newRow("a list, not a text") << QByteArray("[General]\ntarvuke.glimp.customWords=a, b\n") << false;
        QTest::newRow("a number variant") << QByteArray("[General]\ntarvuke.glimp.customWords=@Variant(\\0\\0\\0\\x2\\0\\0\\0*)\n") << false;
        QTest::newRow("a byte array") << QByteArray("[General]\ntarvuke.glimp.customWords=@ByteArray(abc)\n") << false;
        QTest::newRow("broken section") << QByteArray("[General\ntarvuke.glimp.customWords=\"unterminated\n") << true;
    }
    void badFilesReadAsNothing()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, setAside);
        const QString file = path(QStringLiteral("bad-%1.conf").arg(QTest::currentDataTag()));
        if (!contents.isEmpty())
            writeFile(file, contents);
        SettingsPreferences prefs(file);
        if (!setAside) // a file QSettings can parse holds no text under the key
            QCOMPARE(prefs.readText(key), std::nullopt);
        // The next edit still gets stored.
        QVERIFY(prefs.writeText(key, u"новое"_s));
        QCOMPARE(SettingsPreferences(file).readText(key), u"новое"_s);
        // An unreadable file is kept beside the new one, not thrown away.
        QCOMPARE(QFileInfo::exists(file + u".corrupt"_s), setAside);
        if (setAside)
            QCOMPARE(readFile(file + u".corrupt"_s), contents);
    }

    // Each unreadable file is set aside under a name of its own, never over an earlier one.
    void everyUnreadableFileIsKept()
    {
        QVERIFY(QDir().mkpath(path(u"corrupt"_s)));
        const QString file = path(u"corrupt/glimp.conf"_s);
        const QStringList asides{file + u".corrupt"_s, file + u".corrupt.2"_s,
                                 file + u".corrupt.3"_s};
        const auto broken = [](qsizetype i) {
            return "[General\n" + QByteArray::number(i) + "=\"";
        };
        for (qsizetype i = 0; i < asides.size(); ++i) {
            writeFile(file, broken(i));
            QVERIFY(SettingsPreferences(file).writeText(key, u"слово"_s));
            QCOMPARE(SettingsPreferences(file).readText(key), u"слово"_s);
            for (qsizetype earlier = 0; earlier <= i; ++earlier)
                QCOMPARE(readFile(asides.at(earlier)), broken(earlier));
        }
    }

    // Only a regular file is read: a pipe in its place (which would block the start) reads
    // as nothing and the next write replaces it. A link to something that is not a file
    // stays as it is, and nothing is stored through it.
    void onlyFilesAreRead_data()
    {
        QTest::addColumn<QString>("linkedTo"); // what the file links to, empty for none
        QTest::addColumn<bool>("stored");
        QTest::newRow("a named pipe") << QString() << true;
        QTest::newRow("a link to a named pipe") << path(u"a-pipe"_s) << false;
        QTest::newRow("a link to /dev/null") << u"/dev/null"_s << false;
    }
    void onlyFilesAreRead()
    {
        QFETCH(QString, linkedTo);
        QFETCH(bool, stored);
        const QString folder = path(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + u"/glimp.conf"_s;
        if (linkedTo.isEmpty())
            QCOMPARE(::mkfifo(native(file).constData(), 0644), 0);
        else if (linkedTo.startsWith(m_dir.path()))
            QCOMPARE(::mkfifo(native(linkedTo).constData(), 0644), 0);
        if (!linkedTo.isEmpty())
            QVERIFY(QFile::link(linkedTo, file));
        const QByteArray target = standing(linkedTo);

        SettingsPreferences prefs(file);
        QCOMPARE(prefs.readText(key), std::nullopt);
        QCOMPARE(prefs.writeText(key, u"кит"_s), stored);
        QCOMPARE(QFileInfo(file).symLinkTarget(), linkedTo);
        if (stored)
            QCOMPARE(SettingsPreferences(file).readText(key), u"кит"_s);
        else
            QCOMPARE(standing(linkedTo), target);
    }

    // A write keeps the mode the file has, and writes through symbolic links (a dotfile
    // manager's) to the file at their end, in that file's folder, leaving the links be.
    void writesKeepWhatTheFileIs_data()
    {
        QTest::addColumn<QStringList>("links"); // glimp.conf's link, the next one's, ...
        QTest::addColumn<int>("mode");          // the file's, -1 when it is not made yet
        QTest::newRow("mode 600") << QStringList() << 0600;
        QTest::newRow("mode 640") << QStringList() << 0640;
        QTest::newRow("read-only") << QStringList() << 0444;
        QTest::newRow("a link elsewhere") << QStringList{u"../dotfiles/glimp.conf"_s} << 0600;
        QTest::newRow("a link to a link")
                << QStringList{u"glimp-link.conf"_s, u"../dotfiles/glimp.conf"_s} << 0644;
        QTest::newRow("an absolute link")
                << QStringList{path(u"an absolute link/dotfiles/glimp.conf"_s)} << 0640;
        QTest::newRow("a link to a file not made yet")
                << QStringList{u"../dotfiles/glimp.conf"_s} << -1;
    }
    void writesKeepWhatTheFileIs()
    {
        QFETCH(QStringList, links);
        QFETCH(int, mode);
        const QString root = path(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(root + u"/config"_s));
        QVERIFY(QDir().mkpath(root + u"/dotfiles"_s));
        const QString file = root + u"/config/glimp.conf"_s;
        QStringList chain{file}; // the links, then the file
        for (const QString &link : links) {
            QVERIFY(QFile::link(link, chain.last()));
            chain << QDir::cleanPath(QDir(QFileInfo(chain.last()).absolutePath()).filePath(link));
        }
        const QString at = chain.last();
        if (mode >= 0) {
            writeFile(at, "[General]\ntarvuke.glimp.customWords=\xd1\x91\xd0\xb6\n");
            QCOMPARE(::chmod(native(at).constData(), mode_t(mode)), 0);
        }
        const auto left = [&] {
            return entriesIn(root + u"/config"_s) + entriesIn(root + u"/dotfiles"_s);
        };
        QStringList before = left();
        if (mode < 0)
            before << u"glimp.conf"_s;

        for (const QString &text : {u"кит"_s, u"кит\nёж"_s}) {
            QVERIFY(SettingsPreferences(file).writeText(key, text));
            QCOMPARE(SettingsPreferences(file).readText(key), text);
        }
        for (qsizetype i = 0; i < links.size(); ++i)
            QCOMPARE(QFileInfo(chain.at(i)).symLinkTarget(), chain.at(i + 1));
        struct stat status{};
        QCOMPARE(::lstat(native(at).constData(), &status), 0);
        QVERIFY(S_ISREG(status.st_mode));
        if (mode >= 0)
            QCOMPARE(int(status.st_mode & 07777), mode);
        // Nothing left beside the links or the file.
        QCOMPARE(left(), before);
    }

    // Whatever stands where the lock should be, a write fails at once instead of waiting, is
    // tried again while the game runs and stored once the lock is free, and quitting waits
    // for it half a second at most. What stands there is left as it is, a stale lock being
    // QLockFile's business.
    void locksThatCannotBeTakenHoldNothingUp_data()
    {
        QTest::addColumn<QString>("lock");
        for (const char *lock : {"a folder", "a named pipe", "a user's own file",
                                 "held by a live process", "fresh, from another machine"})
            QTest::newRow(lock) << QString::fromLatin1(lock);
    }
    void locksThatCannotBeTakenHoldNothingUp()
    {
        QFETCH(QString, lock);
        const QString folder = path(u"lock "_s + lock);
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + u"/glimp.conf"_s;
        const QString lockPath = file + u".lock"_s;
        QLockFile held(lockPath);
        if (lock == u"a folder") {
            QVERIFY(QDir().mkdir(lockPath));
        } else if (lock == u"a named pipe") {
            QCOMPARE(::mkfifo(native(lockPath).constData(), 0644), 0);
        } else if (lock == u"a user's own file") {
            // Old enough for QLockFile to call it stale, were it a lock.
            writeFile(lockPath, "мои заметки\n");
            QFile notes(lockPath);
            QVERIFY(notes.open(QIODevice::ReadWrite));
            QVERIFY(notes.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                      QFileDevice::FileModificationTime));
        } else if (lock == u"held by a live process") {
            QVERIFY(held.lock());
        } else {
            writeFile(lockPath, "4242\ntarvuke-glimp\nanother-machine\n");
        }
        const QByteArray there = standing(lockPath);
        const auto make = [file] { return std::make_unique<SettingsPreferences>(file); };

        QVERIFY(!SettingsPreferences(file).writeText(key, u"кит"_s));
        QElapsedTimer quitting;
        {
            BackgroundPreferences prefs(make);
            QVERIFY(prefs.writeText(key, u"кит"_s));
            // Kept for the game, never said to be stored.
            QCOMPARE(prefs.readText(key), u"кит"_s);
            QVERIFY(!prefs.flush(300ms));
            quitting.start();
        }
        // A hang guard: ten times the half second quitting gives a last try.
        QVERIFY2(quitting.elapsed() < 5000, qPrintable(QString::number(quitting.elapsed())));
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(standing(lockPath), there);

        BackgroundPreferences prefs(make);
        prefs.writeText(key, u"ёж"_s);
        QVERIFY(!prefs.flush(300ms));
        if (lock == u"held by a live process")
            held.unlock();
        else if (lock == u"a folder")
            QVERIFY(QDir().rmdir(lockPath));
        else
            QVERIFY(QFile::remove(lockPath));
        QVERIFY(prefs.flush(20s));
        QCOMPARE(SettingsPreferences(file).readText(key), u"ёж"_s);
    }

    // A write clears only the folders our own killed writes left; a user's files beside the
    // file stay, whatever their names and whatever they hold.
    void onlyOurOwnLeftoversAreCleared()
    {
        const QString beside = path(u"beside"_s);
        QVERIFY(QDir().mkpath(beside));
        const QString file = beside + u"/glimp.conf"_s;
        QStringList kept{u"glimp.conf.backup"_s, u"glimp.conf.old123"_s, u"glimp.conf.Ab3xYz"_s,
                         u"glimp.conf.bak"_s, u"glimp.conf.tarvuke-glimp-write"_s,
                         u"glimp.conf.tarvuke-glimp-write.lock"_s,
                         u"glimp.conf.tarvuke-glimp-writeAbCdEf"_s};
        for (const QString &name : kept)
            writeFile(beside + u'/' + name, "their own");
        // Folders named like ours, but open to others, or holding something else.
        const auto folder = [&](const QString &name, QFile::Permissions access,
                                const QString &holding) {
            QVERIFY(QDir().mkdir(beside + u'/' + name, access));
            writeFile(beside + u'/' + name + u'/' + holding, "their own");
        };
        const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        folder(u"glimp.conf.tarvuke-glimp-write.123"_s,
               ownerOnly | QFile::ReadGroup | QFile::ExeGroup, u"glimp.conf"_s);
        folder(u"glimp.conf.tarvuke-glimp-write.2024"_s, ownerOnly, u"holiday.jpg"_s);
        folder(u"glimp.conf.tarvuke-glimp-write.shared"_s, ownerOnly, u"glimp.conf"_s);
        kept << u"glimp.conf.tarvuke-glimp-write.123"_s << u"glimp.conf.tarvuke-glimp-write.2024"_s
             << u"glimp.conf.tarvuke-glimp-write.shared"_s;
        // What a write killed half-way leaves: its folder, with the copy and QSettings' lock.
        folder(u"glimp.conf.tarvuke-glimp-write.4242"_s, ownerOnly, u"glimp.conf"_s);
        writeFile(beside + u"/glimp.conf.tarvuke-glimp-write.4242/glimp.conf.lock"_s, "");

        QVERIFY(SettingsPreferences(file).writeText(key, u"слово"_s));
        kept << u"glimp.conf"_s;
        kept.sort();
        QCOMPARE(entriesIn(beside), kept);
        QCOMPARE(readFile(beside + u"/glimp.conf.tarvuke-glimp-write.2024/holiday.jpg"_s),
                 "their own");
    }

    // Where the file is: under XDG_CONFIG_HOME when that is an absolute path (a relative
    // one is to be ignored), else under the home folder, which without HOME is the account's.
    void defaultFileFollowsXdg_data()
    {
        QTest::addColumn<QByteArray>("configHome"); // unset when null
        QTest::addColumn<QByteArray>("home");       // unset when null
        QTest::addColumn<QString>("folder");        // "account" for the account's home
        QTest::newRow("XDG_CONFIG_HOME") << "/srv/anna/config"_ba << "/home/anna"_ba
                                         << u"/srv/anna/config"_s;
        QTest::newRow("no XDG_CONFIG_HOME") << QByteArray() << "/home/anna"_ba
                                            << u"/home/anna/.config"_s;
        QTest::newRow("XDG_CONFIG_HOME empty") << ""_ba << "/home/anna"_ba
                                               << u"/home/anna/.config"_s;
        QTest::newRow("XDG_CONFIG_HOME relative") << "anna/config"_ba << "/home/anna"_ba
                                                  << u"/home/anna/.config"_s;
        QTest::newRow("no HOME") << QByteArray() << QByteArray() << u"account/.config"_s;
        QTest::newRow("HOME relative") << QByteArray() << "anna"_ba << u"account/.config"_s;
        QTest::newRow("no HOME, XDG_CONFIG_HOME") << "/srv/anna/config"_ba << QByteArray()
                                                  << u"/srv/anna/config"_s;
    }
    void defaultFileFollowsXdg()
    {
        QFETCH(QByteArray, configHome);
        QFETCH(QByteArray, home);
        QFETCH(QString, folder);
        const auto set = [](const char *name, const QByteArray &value) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        };
        const auto restore = qScopeGuard([set, xdg = qgetenv("XDG_CONFIG_HOME"),
                                          old = qgetenv("HOME")] {
            set("XDG_CONFIG_HOME", xdg);
            set("HOME", old);
        });
        set("XDG_CONFIG_HOME", configHome);
        set("HOME", home);
        const passwd *account = getpwuid(getuid());
        QVERIFY(account);
        folder.replace(u"account"_s, QFile::decodeName(account->pw_dir));
        QCOMPARE(SettingsPreferences::defaultFilePath(), folder + u"/tarvuke/glimp.conf"_s);
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
