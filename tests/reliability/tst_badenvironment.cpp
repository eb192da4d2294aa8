// The game on a machine that works against it: preferences that are corrupt, unreadable as
// text or cannot be written, no session bus, no sound device. Whole games still play through
// the real platform services, what can be kept is kept, and nothing is printed.
#include "BackgroundPreferences.h"
#include "FeedbackdHaptics.h"
#include "GameStore.h"
#include "ManualClock.h"
#include "QtAudioBackend.h"
#include "DesktopIdleInhibitor.h"
#include "SettingsPreferences.h"
#include "SoundEffects.h"
#include "SystemRandom.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

QStringList messages;

void recordMessage(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    messages << QString::fromUtf8(context.category) + QStringLiteral(": ") + message;
}

// The platform services the application uses, with the clock in the test's hands.
struct RealServices
{
    explicit RealServices(const QString &preferencesFile,
                          const QString &soundFolder = u":/Sounds"_qs)
        : preferences([preferencesFile] {
            return std::make_unique<SettingsPreferences>(preferencesFile);
        })
        , audio(QtAudioBackend::Start::whenIdle, soundFolder)
    {
        game = std::make_unique<GameStore>(preferences, sound, haptics, clock, random);
        game->setIdleInhibitor(&idle);
    }

    BackgroundPreferences preferences;
    SystemRandom random;
    QtAudioBackend audio;
    SoundEffects sound{audio, random};
    FeedbackdHaptics haptics;
    DesktopIdleInhibitor idle;
    ManualClock clock;
    std::unique_ptr<GameStore> game;
};

// Plays one game to its winner: five players, own words on, three words to win.
void playAGame(RealServices &services)
{
    GameStore &game = *services.game;
    game.startNewGame();
    game.setPlayerText(u"Аня, Борис\nВика, Глеб\nДаша"_qs);
    game.setUsesCustomWords(true);
    game.setWordsToWin(3);
    game.openFormation();
    game.formTeams(true);
    QCOMPARE(game.screen(), AppScreen::observerWheel);
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

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestBadEnvironment : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        // No session bus at all: feedbackd and the screen saver are out of reach.
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DISPLAY");
        qInstallMessageHandler(recordMessage);
    }

    void init() { messages.clear(); }

    void cleanup() { QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'\n'))); }

    void gamesPlayWhateverThePreferencesHold_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("wordsAtStart");

        QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe[\x01=\x02\n\x80", 9) << QString();
        // What can be read is kept.
        QTest::newRow("cut off mid-escape")
            << QByteArray("[General]\ntarvuke.glimp.customWords=\"\xd1\x91\xd0\xb6\\") << u"ёж"_qs;
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("a list, not a text")
            << QByteArray("[General]\ntarvuke.glimp.customWords=\xd1\x91\xd0\xb6, \xd0\xba\xd0\xbe\xd1\x82\n")
            << QString();
        QTest::newRow("invalid UTF-8 in the text")
            << QByteArray("[General]\ntarvuke.glimp.customWords=\xd0\xba\xff\xd1\x82\n")
            << u"к\ufffdт"_qs;
        QTest::newRow("8 MB of words")
            << QByteArray("[General]\ntarvuke.glimp.customWords=") + QByteArray(1 << 20, 'w')
                   + "\\n" + QByteArray(7 << 20, 'z') + '\n'
            << u"w"_qs.repeated(1 << 20) + u'\n' + u"z"_qs.repeated(7 << 20);
    }
    void gamesPlayWhateverThePreferencesHold()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, wordsAtStart);
        const QString file = m_dir.filePath(QStringLiteral("%1.conf").arg(QTest::currentDataTag()));
        writeFile(file, contents);
        {
            RealServices services(file);
            QCOMPARE(services.game->customWordsText(), wordsAtStart);
            services.game->setCustomWordsText(u"кит\nёж"_qs);
            playAGame(services);
        }
        // The players' words of this session are what the next one finds.
        RealServices services(file);
        QCOMPARE(services.game->customWordsText(), u"кит\nёж"_qs);
    }

    void gamesPlayWhereNothingCanBeStored_data()
    {
        QTest::addColumn<QString>("file");
        // Root may write anywhere, but not below a regular file, nor into a directory
        // that stands where the file should be.
        const QString blocker = m_dir.filePath(u"a-file"_qs);
        writeFile(blocker, "x");
        QVERIFY(QDir(m_dir.path()).mkpath(u"a-directory/glimp.conf"_qs));
        QTest::newRow("below a regular file") << blocker + u"/tarvuke/glimp.conf"_qs;
        QTest::newRow("a directory in its place") << m_dir.filePath(u"a-directory/glimp.conf"_qs);
    }
    void gamesPlayWhereNothingCanBeStored()
    {
        QFETCH(QString, file);
        RealServices services(file);
        QCOMPARE(services.game->customWordsText(), QString());
        services.game->setCustomWordsText(u"кит\nёж"_qs);
        playAGame(services);
        // Kept for this session at least.
        QCOMPARE(services.game->customWordsText(), u"кит\nёж"_qs);
    }

    // Sound files cut short, replaced by text or noise, or gone: those cues stay silent,
    // the others play, and a whole game goes on around them.
    void gamePlaysOverBrokenSoundFiles()
    {
        const QString folder = m_dir.filePath(u"sounds"_qs);
        QVERIFY(QDir().mkpath(folder));
        for (const QFileInfo &cue : QDir(u":/Sounds"_qs).entryInfoList(QDir::Files)) {
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
            writeFile(folder + u'/' + cue.fileName(), bytes);
        }
        RealServices services(m_dir.filePath(u"broken-sounds.conf"_qs), folder);
        for (int round = 0; round < 3; ++round) {
            playAGame(services);
            services.game->replay();
        }
        services.audio.waitUntilLoaded();
        for (int i = 0; i < 6; ++i) {
            services.sound.playSkip();
            services.sound.playTurnEnd(i);
            services.sound.playGameEnd();
        }
        QTest::qWait(100);
        services.sound.stopAll();
    }

    void soundsWithoutADevice()
    {
        // The machines that run this have no sound card; the cues play into nothing.
        RealServices services(m_dir.filePath(u"sound.conf"_qs));
        SoundEffects &sound = services.sound;
        for (int i = 0; i < 3; ++i) {
            sound.playSkip();
            sound.playTurnEnd(i * 4);
            sound.playGameEnd();
            QTest::qWait(100);
        }
        sound.stopAll();
        QTest::qWait(100);
    }
};

QTEST_MAIN(TestBadEnvironment)
#include "tst_badenvironment.moc"
