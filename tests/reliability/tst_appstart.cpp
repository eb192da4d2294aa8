// The real game binary starts on a hostile machine: a corrupt or unwritable preferences
// file, a read-only configuration directory, a session bus that is gone, no sound device,
// no fonts installed.
// It must come up, keep running, and print nothing a player would have to act on.
// Started again while it runs, it comes to the front instead; signalled, it quits as a
// closed window does.
#include "PrivateBus.h"
#include "TestFiles.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString appId = u"app.tarvuke.glimp"_s;

// The signals whose handler the process has set, or ignores: bit n - 1 for signal n.
quint64 signalMask(qint64 pid, const QByteArray &field)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().toULongLong(nullptr, 16);
    }
    return 0;
}

constexpr quint64 bit(int signal) { return quint64(1) << (signal - 1); }

} // namespace

class TestAppStart : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // A machine of its own under root: home, configuration and a private runtime directory;
    // offscreen, no session bus, messages shown with their category.
    QProcessEnvironment isolated(const QString &root)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        [&] {
            QVERIFY(QDir().mkpath(root + u"/home"_s));
            QVERIFY(QDir().mkpath(root + u"/config/tarvuke"_s));
            // A desktop session always has a private runtime directory; without one Qt says so.
            QVERIFY(QDir().mkdir(root + u"/runtime"_s, QFileDevice::ReadOwner
                                                            | QFileDevice::WriteOwner
                                                            | QFileDevice::ExeOwner));
        }();
        for (const QString &name : {u"DBUS_SESSION_BUS_ADDRESS"_s, u"DISPLAY"_s,
                                    u"WAYLAND_DISPLAY"_s, u"QT_LOGGING_RULES"_s})
            env.remove(name);
        env.insert(u"QT_MESSAGE_PATTERN"_s, u"%{if-category}%{category}: %{endif}%{message}"_s);
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"HOME"_s, root + u"/home"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, root + u"/runtime"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, root + u"/config"_s);
        return env;
    }

private slots:
    void initTestCase()
    {
        // The games started here take the test's dispositions: a test run under nohup would
        // hand them an ignored SIGHUP.
        std::signal(SIGHUP, SIG_DFL);
    }

    void startsQuietly_data()
    {
        QTest::addColumn<QString>("setup");
        for (const char *setup : {"fresh machine", "corrupt preferences", "preferences unreadable"
                                  " as text", "config below a regular file", "read-only config"
                                  " directory", "session bus gone", "no system fonts"})
            QTest::newRow(setup) << QString::fromLatin1(setup);
    }
    void startsQuietly()
    {
        QFETCH(QString, setup);
        const QString root = m_dir.filePath(setup);
        QProcessEnvironment env = isolated(root);
        QString config = root + u"/config"_s;
        const QString file = config + u"/tarvuke/glimp.conf"_s;

        QString program = QStringLiteral(GAME_BINARY);
        QStringList arguments;
        if (setup == u"corrupt preferences")
            writeFile(file, QByteArray("\x00\xff[General\n\x80=\"", 14));
        if (setup == u"preferences unreadable as text")
            writeFile(file, "[General]\ntarvuke.glimp.customWords=a, b\n");
        if (setup == u"config below a regular file") {
            writeFile(root + u"/a-file"_s, "x");
            config = root + u"/a-file/config"_s;
        }
        if (setup == u"read-only config directory") {
            // The game runs in its own mount namespace, where the directory is read-only.
            if (QProcess::execute(u"unshare"_s, {u"-m"_s, u"--"_s, u"mount"_s, u"-t"_s,
                                                  u"tmpfs"_s, u"-o"_s, u"ro"_s, u"tmpfs"_s,
                                                  u"/mnt"_s})
                != 0)
                QSKIP("no private mounts here (needs unshare and mount rights)");
            writeFile(file, "[General]\ntarvuke.glimp.customWords=\xd1\x91\xd0\xb6\n");
            arguments = {u"-m"_s, u"--"_s, u"sh"_s, u"-c"_s,
                         u"mount -o bind,ro \"$1\" \"$1\" && exec \"$2\""_s, u"sh"_s,
                         config + u"/tarvuke"_s, program};
            program = u"unshare"_s;
        }
        if (setup == u"session bus gone")
            env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path="_s + root + u"/no-bus"_s);
        if (setup == u"no system fonts") {
            // A font configuration that finds no fonts at all: the game's own are built in.
            writeFile(root + u"/fonts.conf"_s,
                      "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>"
                          + (root + u"/fontcache"_s).toUtf8() + "</cachedir></fontconfig>\n");
            env.insert(u"FONTCONFIG_FILE"_s, root + u"/fonts.conf"_s);
        }
        env.insert(u"XDG_CONFIG_HOME"_s, config);

        QProcess game;
        game.setProcessEnvironment(env);
        game.setProcessChannelMode(QProcess::MergedChannels);
        game.start(program, arguments);
        QVERIFY2(game.waitForStarted(), qPrintable(game.errorString()));
        // Up and running for a while: no crash, no early exit.
        const bool ended = game.waitForFinished(3000);
        if (!ended) {
            game.kill();
            game.waitForFinished();
        }
        const QString printed = QString::fromUtf8(game.readAll()).trimmed();
        QVERIFY2(!ended, qPrintable(u"exited with %1: %2"_s.arg(game.exitCode()).arg(printed)));
        QVERIFY2(printed.isEmpty(), qPrintable(printed));
    }

    // The home screen's first frame comes whatever stands in the preferences' place (a named
    // pipe, which would block whoever opens it, as the file or as its lock), and loads only
    // the modules it draws with: the controls' templates and Qt Quick Layouts each cost
    // milliseconds before the player sees anything, and wait until a screen that uses them;
    // Qt Quick Shapes no screen uses; Qt Multimedia (and the sound server's libraries) waits
    // until the frame is drawn. No QML is compiled from source on the way: what the build
    // compiled is in the program (Qt would cache what it compiles under XDG_CACHE_HOME).
    void firstFrameLoadsOnlyWhatItDraws_data()
    {
        QTest::addColumn<QString>("pipe"); // what is made a named pipe, if anything
        QTest::newRow("fresh machine") << QString();
        QTest::newRow("preferences a named pipe") << u"glimp.conf"_s;
        QTest::newRow("their lock a named pipe") << u"glimp.conf.lock"_s;
    }
    void firstFrameLoadsOnlyWhatItDraws()
    {
        QFETCH(QString, pipe);
        const QString config =
                m_dir.filePath(u"first frame, "_s + QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(config + u"/tarvuke"_s));
        const QString pipePath = config + u"/tarvuke/"_s + pipe;
        if (!pipe.isEmpty())
            QCOMPARE(::mkfifo(QFile::encodeName(pipePath).constData(), 0644), 0);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, config);
        env.insert(u"XDG_CACHE_HOME"_s, config + u"/cache"_s);
        env.insert(u"GLIMP_QUIT_AFTER_FIRST_FRAME"_s, u"1"_s);
        // The dynamic loader names every library it opens.
        env.insert(u"LD_DEBUG"_s, u"files"_s);
        QProcess game;
        game.setProcessEnvironment(env);
        game.start(QStringLiteral(GAME_BINARY));
        QVERIFY(game.waitForFinished(30000));
        QCOMPARE(game.exitCode(), 0);
        QVERIFY(game.readAllStandardOutput().contains("first-frame-ns="));
        // Left as it was.
        struct stat status{};
        if (!pipe.isEmpty())
            QVERIFY(::lstat(QFile::encodeName(pipePath).constData(), &status) == 0
                    && S_ISFIFO(status.st_mode));
        const QString opened = QString::fromUtf8(game.readAllStandardError());
        QVERIFY(opened.contains(u"libQt6Quick.so"_s));
        for (const QString &module :
             {u"libQt6QuickTemplates2"_s, u"libQt6QuickLayouts"_s, u"libQt6QuickShapes"_s,
              u"libQt6Multimedia"_s})
            QVERIFY2(!opened.contains(module), qPrintable(module));
        QDirIterator cached(config + u"/cache"_s, {u"*.qmlc"_s}, QDir::Files, QDirIterator::Subdirectories);
        QVERIFY2(!cached.hasNext(), qPrintable(cached.hasNext() ? cached.next() : QString()));
    }

    // A second start while a game runs, from a terminal or a launcher that runs the desktop
    // entry's Exec, hands its activation token to the running game and ends; a launcher
    // that honours DBusActivatable calls the game's Activate itself, and the bus starts the
    // game from the installed service file when none runs.
    void oneGameAtATime_data()
    {
        QTest::addColumn<bool>("launcherActivates");
        QTest::newRow("started twice") << false;
        QTest::newRow("activated by a launcher") << true;
    }
    void oneGameAtATime()
    {
        QFETCH(bool, launcherActivates);
        QProcessEnvironment env = isolated(m_dir.filePath(QString::fromLatin1(QTest::currentDataTag())));
        env.insert(u"QT_LOGGING_RULES"_s, u"glimp.platform.info=true"_s);
        env.insert(u"XDG_DATA_DIRS"_s, QStringLiteral(GAME_SERVICE_DATA_DIR));
        const PrivateBus bus(env);
        if (bus.address().isEmpty())
            QSKIP("dbus-daemon is not installed");
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.address());
        const QDBusConnection watcher = QDBusConnection::connectToBus(bus.address(), u"watcher"_s);
        const auto disconnect = qScopeGuard([] { QDBusConnection::disconnectFromBus(u"watcher"_s); });
        QVERIFY(watcher.isConnected());
        QDBusConnectionInterface *names = watcher.interface();

        QProcess first;
        first.setProcessEnvironment(env);
        first.setProcessChannelMode(QProcess::MergedChannels);
        if (launcherActivates) {
            QDBusMessage activate = QDBusMessage::createMethodCall(
                    appId, u"/app/tarvuke/glimp"_s, u"org.freedesktop.Application"_s, u"Activate"_s);
            activate << QVariantMap{{u"activation-token"_s, u"launcher-token"_s}};
            const QDBusMessage reply = watcher.call(activate, QDBus::Block, 30000);
            QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
            // The game the bus started ends as a signalled one does.
            const uint pid = names->servicePid(appId);
            QVERIFY(pid > 0);
            QCOMPARE(::kill(pid_t(pid), SIGTERM), 0);
            QTRY_VERIFY_WITH_TIMEOUT(!names->isServiceRegistered(appId), 30000);
            return;
        }
        first.start(QStringLiteral(GAME_BINARY));
        QTRY_VERIFY_WITH_TIMEOUT(names->isServiceRegistered(appId), 30000);

        QProcess second;
        env.insert(u"XDG_ACTIVATION_TOKEN"_s, u"second-token"_s);
        second.setProcessEnvironment(env);
        second.setProcessChannelMode(QProcess::MergedChannels);
        second.start(QStringLiteral(GAME_BINARY));
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAll(), QByteArray());

        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += first.readAll()).contains("window brought to the front"), 30000);
        QVERIFY2(said.contains("glimp.platform: activated, token second-token\n"), said.constData());
        QCOMPARE(first.state(), QProcess::Running);
        first.terminate();
        QVERIFY(first.waitForFinished(30000));
    }

    // SIGTERM, SIGINT and SIGHUP end the game through its event loop, as a closed window
    // does, quietly; under nohup SIGHUP stays ignored.
    void signalsQuitAsAClosedWindowDoes_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("nohup");
        QTest::newRow("SIGTERM") << SIGTERM << false;
        QTest::newRow("SIGINT") << SIGINT << false;
        QTest::newRow("SIGHUP") << SIGHUP << false;
        QTest::newRow("SIGTERM under nohup") << SIGTERM << true;
    }
    void signalsQuitAsAClosedWindowDoes()
    {
        QFETCH(int, signal);
        QFETCH(bool, nohup);
        QProcess game;
        game.setProcessEnvironment(isolated(m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()))));
        game.setProcessChannelMode(QProcess::MergedChannels);
        if (nohup)
            game.start(u"nohup"_s, {QStringLiteral(GAME_BINARY)});
        else
            game.start(QStringLiteral(GAME_BINARY));
        QVERIFY(game.waitForStarted());
        // Handled from the moment the event loop runs.
        const quint64 quitting = bit(SIGTERM) | bit(SIGINT) | (nohup ? 0 : bit(SIGHUP));
        QTRY_COMPARE_WITH_TIMEOUT(signalMask(game.processId(), "SigCgt") & quitting, quitting, 30000);
        QCOMPARE(bool(signalMask(game.processId(), "SigCgt") & bit(SIGHUP)), !nohup);
        QCOMPARE(bool(signalMask(game.processId(), "SigIgn") & bit(SIGHUP)), nohup);
        QCOMPARE(::kill(pid_t(game.processId()), signal), 0);
        QVERIFY(game.waitForFinished(30000));
        QCOMPARE(game.exitStatus(), QProcess::NormalExit);
        QCOMPARE(game.exitCode(), 0);
        QCOMPARE(game.readAll(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestAppStart)
#include "tst_appstart.moc"
