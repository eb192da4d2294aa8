// The game on a machine that works against it: preferences that are corrupt, unreadable as
// text, not a file, or cannot be written or locked, broken cue files, no session bus, no
// sound device. Whole games still play through the real platform services, what can be kept
// is kept, quitting is not held up, and nothing is printed.
#include "BackgroundPreferences.h"
#include "FeedbackdHaptics.h"
#include "GameStore.h"
#include "ManualClock.h"
#include "QtAudioBackend.h"
#include "DesktopIdleInhibitor.h"
#include "SettingsPreferences.h"
#include "SoundEffects.h"
#include "SystemRandom.h"
#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

using namespace std::chrono_literals;

namespace {

QStringList messages;

// The platform services the application uses, with the clock in the test's hands.
struct RealServices
{
    RealServices(const QString &file, const QString &soundFolder)
        : preferences([file] { return std::make_unique<SettingsPreferences>(file); })
        , audio(QtAudioBackend::Start::whenIdle, soundFolder)
    {
        game.setIdleInhibitor(&idle);
    }

    BackgroundPreferences preferences;
    SystemRandom random;
    QtAudioBackend audio;
    SoundEffects sound{audio, random};
    FeedbackdHaptics haptics;
    DesktopIdleInhibitor idle; // outlives the store, as in the game
    ManualClock clock;
    GameStore game{preferences, sound, haptics, clock, random};
};

// Plays one game to its winner: five players, own words on, three words to win.
void playAGame(RealServices &services)
{
    GameStore &game = services.game;
    game.startNewGame();
    game.setPlayerText(u"Аня, Борис\nВика, Глеб\nДаша"_s);
    game.setUsesCustomWords(true);
    game.setWordsToWin(3);
    game.openFormation();
    game.formTeams(true);
    game.confirmObserver();
    game.setScreen(AppScreen::ready);
    for (int turn = 0; turn < 20 && game.screen() != AppScreen::winner; ++turn) {
        game.startTurn();
        QCOMPARE(game.screen(), AppScreen::playing);
        game.handleSwipe(-100);
        game.handleSwipe(100);
        services.clock.advance(61s);
        if (game.screen() == AppScreen::summary)
            game.continueAfterSummary();
    }
    QCOMPARE(game.screen(), AppScreen::winner);
    QCOMPARE(game.winner()->score, 3);
}

} // namespace

class TestBadEnvironment : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_sounds = m_dir.filePath(u"sounds"_s);

private slots:
    void initTestCase()
    {
        // No session bus at all: feedbackd and the screen saver are out of reach.
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DISPLAY");
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &s) {
            messages << QString::fromUtf8(context.category) + u": "_s + s;
        });
        // The cues cut short, replaced by text or noise, or gone.
        QVERIFY(QDir().mkpath(m_sounds));
        for (const QFileInfo &cue : QDir(u":/Sounds"_s).entryInfoList(QDir::Files)) {
            QFile file(cue.filePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QByteArray bytes = file.readAll();
            const QString name = cue.completeBaseName();
            if (name == u"skip_sound1" || name.startsWith(u"turn_endscreen_0"))
                bytes.truncate(bytes.size() / 2);
            else if (name == u"game_end1")
                bytes = "not a sound at all";
            else if (name == u"skip_sound2")
                bytes.replace(bytes.size() / 2, 4096, QByteArray(4096, '\x5a'));
            else if (name == u"game_end2" || name == u"skip_sound3")
                continue;
            writeFile(m_sounds + u'/' + cue.fileName(), bytes);
        }
    }

    void init() { messages.clear(); }

    void cleanup() { QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'\n'))); }

    void gamesPlayWhateverThePreferencesHold_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("wordsAtStart");
        QTest::addColumn<bool>("stored");
        const auto row = [this](const char *tag, const QByteArray &contents, const QString &words) {
            const QString file = m_dir.filePath(QString::fromLatin1(tag) + u".conf"_s);
            writeFile(file, contents);
            QTest::newRow(tag) << file << words << true;
        };
        row("binary garbage", QByteArray("\x00\xff\xfe[\x01=\x02\n\x80", 9), {});
        // What can be read is kept.
        row("cut off mid-escape",
            "[General]\ntarvuke.glimp.customWords=\"\xd1\x91\xd0\xb6\\", u"ёж"_s);
        row("empty file", {}, {});
        row("a list, not a text",
            "[General]\ntarvuke.glimp.customWords=\xd1\x91\xd0\xb6, \xd0\xba\xd0\xbe\xd1\x82\n",
            {});
        row("invalid UTF-8 in the text",
            "[General]\ntarvuke.glimp.customWords=\xd0\xba\xff\xd1\x82\n", u"к\ufffdт"_s);
        row("8 MB of words",
            "[General]\ntarvuke.glimp.customWords=" + QByteArray(1 << 20, 'w') + "\\n"
                + QByteArray(7 << 20, 'z') + '\n',
            u"w"_s.repeated(1 << 20) + u'\n' + u"z"_s.repeated(7 << 20));

        // Root may write anywhere, but not below a regular file, nor into a directory that
        // stands where the file should be.
        writeFile(m_dir.filePath(u"a-file"_s), "x");
        QVERIFY(QDir(m_dir.path()).mkpath(u"a-directory/glimp.conf"_s));
        QTest::newRow("below a regular file")
            << m_dir.filePath(u"a-file/tarvuke/glimp.conf"_s) << QString() << false;
        QTest::newRow("a directory in its place")
            << m_dir.filePath(u"a-directory/glimp.conf"_s) << QString() << false;

        // Opening a pipe would wait for a writer; the first save replaces it.
        const QString pipe = m_dir.filePath(u"a-named-pipe.conf"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
        QTest::newRow("a named pipe in its place") << pipe << QString() << true;
        // A lock that can never be taken: no save, and no wait for one at the end.
        const QString locked = m_dir.filePath(u"locked.conf"_s);
        QVERIFY(QDir().mkdir(locked + u".lock"_s));
        QTest::newRow("a directory as its lock") << locked << QString() << false;
    }
    void gamesPlayWhateverThePreferencesHold()
    {
        QFETCH(QString, file);
        QFETCH(QString, wordsAtStart);
        QFETCH(bool, stored);
        QElapsedTimer quitting;
        {
            RealServices services(file, m_sounds);
            QCOMPARE(services.game.customWordsText(), wordsAtStart);
            services.game.setCustomWordsText(u"кит\nёж"_s);
            playAGame(services);
            // Kept for this session at least.
            QCOMPARE(services.game.customWordsText(), u"кит\nёж"_s);
            // Every cue once loaded, into no sound device: the broken ones stay silent.
            services.audio.waitUntilLoaded();
            for (int i = 0; i < 6; ++i) {
                services.sound.playSkip();
                services.sound.playTurnEnd(i);
                services.sound.playGameEnd();
            }
            QTest::qWait(100);
            services.sound.stopAll();
            quitting.start();
        }
        // A hang guard: ten times a quit that gives an unstorable edit its last half second.
        QVERIFY2(quitting.elapsed() < 5000, qPrintable(QString::number(quitting.elapsed())));
        // The players' words of this session are what the next one finds, where they can be
        // stored at all.
        RealServices services(file, m_sounds);
        QCOMPARE(services.game.customWordsText(), stored ? u"кит\nёж"_s : QString());
    }
};

QTEST_MAIN(TestBadEnvironment)
#include "tst_badenvironment.moc"
