// The real game binary starts on a hostile machine: a corrupt or unwritable preferences
// file, a read-only configuration directory, a session bus that is gone, no sound device,
// no fonts installed.
// It must come up, keep running, and print nothing a player would have to act on.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestAppStart : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static bool canMountPrivately()
    {
        if (QStandardPaths::findExecutable(u"unshare"_qs).isEmpty())
            return false;
        return QProcess::execute(u"unshare"_qs, {u"-m"_qs, u"--"_qs, u"mount"_qs, u"-t"_qs,
                                                 u"tmpfs"_qs, u"-o"_qs, u"ro"_qs, u"tmpfs"_qs,
                                                 u"/mnt"_qs})
               == 0;
    }

private slots:
    void startsQuietly_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::newRow("fresh machine") << u"fresh"_qs;
        QTest::newRow("corrupt preferences") << u"corrupt"_qs;
        QTest::newRow("preferences unreadable as text") << u"list"_qs;
        QTest::newRow("config below a regular file") << u"blocked"_qs;
        QTest::newRow("read-only config directory") << u"readonly"_qs;
        QTest::newRow("session bus gone") << u"deadbus"_qs;
        QTest::newRow("no system fonts") << u"nofonts"_qs;
    }
    void startsQuietly()
    {
        QFETCH(QString, setup);
        const QString root = m_dir.filePath(setup);
        QVERIFY(QDir().mkpath(root + u"/home"_qs));
        QVERIFY(QDir().mkpath(root + u"/config/tarvuke"_qs));
        QString config = root + u"/config"_qs;
        const QString file = config + u"/tarvuke/glimp.conf"_qs;

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DBUS_SESSION_BUS_ADDRESS"_qs);
        env.remove(u"DISPLAY"_qs);
        env.remove(u"WAYLAND_DISPLAY"_qs);
        env.remove(u"QT_LOGGING_RULES"_qs);
        env.insert(u"QT_MESSAGE_PATTERN"_qs, u"%{if-category}%{category}: %{endif}%{message}"_qs);
        env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
        env.insert(u"HOME"_qs, root + u"/home"_qs);
        // A desktop session always has one; without it Qt says so.
        QVERIFY(QDir().mkpath(root + u"/runtime"_qs));
        QFile::setPermissions(root + u"/runtime"_qs, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                        | QFileDevice::ExeOwner);
        env.insert(u"XDG_RUNTIME_DIR"_qs, root + u"/runtime"_qs);

        QString program = QStringLiteral(GAME_BINARY);
        QStringList arguments;
        if (setup == u"corrupt")
            writeFile(file, QByteArray("\x00\xff[General\n\x80=\"", 14));
        if (setup == u"list")
            writeFile(file, "[General]\ntarvuke.glimp.customWords=a, b\n");
        if (setup == u"blocked") {
            writeFile(root + u"/a-file"_qs, "x");
            config = root + u"/a-file/config"_qs;
        }
        if (setup == u"readonly") {
            if (!canMountPrivately())
                QSKIP("no private mounts here (needs unshare and mount rights)");
            writeFile(file, "[General]\ntarvuke.glimp.customWords=\xd1\x91\xd0\xb6\n");
            // The game runs in its own mount namespace, where the directory is read-only.
            arguments = {u"-m"_qs, u"--"_qs, u"sh"_qs, u"-c"_qs,
                         u"mount -o bind,ro \"$1\" \"$1\" && exec \"$2\""_qs, u"sh"_qs,
                         config + u"/tarvuke"_qs, program};
            program = u"unshare"_qs;
        }
        if (setup == u"deadbus")
            env.insert(u"DBUS_SESSION_BUS_ADDRESS"_qs, u"unix:path="_qs + root + u"/no-bus"_qs);
        if (setup == u"nofonts") {
            // A font configuration that finds no fonts at all: the game's own are built in.
            writeFile(root + u"/fonts.conf"_qs,
                      "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>"
                          + (root + u"/fontcache"_qs).toUtf8() + "</cachedir></fontconfig>\n");
            env.insert(u"FONTCONFIG_FILE"_qs, root + u"/fonts.conf"_qs);
        }
        env.insert(u"XDG_CONFIG_HOME"_qs, config);

        QProcess game;
        game.setProcessEnvironment(env);
        game.setProcessChannelMode(QProcess::MergedChannels);
        game.start(program, arguments);
        QVERIFY2(game.waitForStarted(), qPrintable(game.errorString()));
        // Up and running for a while: no crash, no early exit.
        const bool ended = game.waitForFinished(3000);
        const QByteArray output = game.readAll();
        QVERIFY2(!ended, qPrintable(QStringLiteral("exited with %1: %2")
                                        .arg(game.exitCode())
                                        .arg(QString::fromUtf8(output))));
        game.kill();
        game.waitForFinished();
        const QStringList printed = QString::fromUtf8(output + game.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(printed.isEmpty(), qPrintable(printed.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(TestAppStart)
#include "tst_appstart.moc"
