// A whole game as a person plays it: the real game binary in a real window on a private X
// server of a phone's size, driven by real pointer and key events. What the game does is
// known only from the events it logs; a picture of the screen is kept at every step in
// artifacts/e2e/, with the game's log beside them.
#include "GameProcess.h"
#include "XSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>

namespace {

constexpr QSize phone(390, 844);
constexpr QRgb paper = 0xFFF7E3;

// Where a finger goes on a 390 × 844 screen, as the screens lay themselves out.
namespace Spot {
constexpr QPoint back(43, 35);                // every top bar
constexpr QPoint newGame(195, 540);           // home
constexpr QPoint ownWords(195, 637);          // home
constexpr QPoint namesEditor(195, 270);       // setup, scrolled to the top
constexpr QPoint tenSeconds(67, 652);         // setup, scrolled to the top
constexpr QPoint scrollArea(195, 600);        // setup
constexpr QPoint wordsToWin(195, 525);        // setup, scrolled to the end
constexpr QPoint threeSeconds(147, 657);      // setup, scrolled to the end
constexpr QPoint formTeams(195, 790);         // setup, scrolled to the end
constexpr QPoint randomPairs(195, 460);       // formation
constexpr QPoint toTeams(195, 790);           // observer wheel, once revealed
constexpr QPoint firstTeamName(195, 200);     // team editor
constexpr QPoint allReady(195, 587);          // team editor, two teams and an observer
constexpr QPoint anywhere(195, 560);          // ready and summary
constexpr QPoint card(195, 470);              // play
constexpr QPoint replay(195, 740);            // winner
constexpr QPoint wordsEditor(195, 330);       // own words
constexpr QPoint wordsDone(195, 790);         // own words
const QRect wordsEditorBox(22, 216, 346, 230); // own words
} // namespace Spot

constexpr int screenTimeoutMs = 15000;
// A turn of 10 s with bonuses, on a busy machine.
constexpr int turnTimeoutMs = 45000;

} // namespace

#define AWAIT(match, pattern, timeoutMs)                                                      \
    const QRegularExpressionMatch match = m_game->waitFor(pattern, timeoutMs);                \
    QVERIFY2(match.hasMatch(),                                                                 \
             qPrintable(u"no event \"%1\" within %2 ms; the game's last events:\n%3"_qs        \
                            .arg(pattern)                                                      \
                            .arg(timeoutMs)                                                    \
                            .arg(m_game->recent())))

class TestPlaythrough : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<XSession> m_x;
    std::unique_ptr<GameProcess> m_game;
    QTemporaryDir m_home;
    QDir m_artifacts{QStringLiteral(ARTIFACT_DIR)};
    quint32 m_window = 0;
    int m_shots = 0;

    QProcessEnvironment gameEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"WAYLAND_DISPLAY"_qs);
        env.insert(u"QT_QPA_PLATFORM"_qs, u"xcb"_qs);
        env.insert(u"DISPLAY"_qs, m_x->display());
        env.insert(u"QT_QUICK_BACKEND"_qs, u"software"_qs);
        env.insert(u"QT_LOGGING_RULES"_qs, u"glimp.game.info=true;qt.multimedia*=false"_qs);
        // A home of its own: a player's own words on this machine stay untouched.
        env.insert(u"HOME"_qs, m_home.filePath(u"home"_qs));
        env.insert(u"XDG_CONFIG_HOME"_qs, m_home.filePath(u"config"_qs));
        env.insert(u"XDG_DATA_HOME"_qs, m_home.filePath(u"data"_qs));
        env.insert(u"XDG_CACHE_HOME"_qs, m_home.filePath(u"cache"_qs));
        env.insert(u"XDG_RUNTIME_DIR"_qs, m_home.filePath(u"runtime"_qs));
        // No session bus: no haptics daemon and no screen saver to talk to, and nothing
        // started on the side (an unset address would let D-Bus autolaunch one on X).
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_qs,
                   u"unix:path="_qs + m_home.filePath(u"runtime/no-bus"_qs));
        return env;
    }

    // A picture of the screen, kept under the next step number. With settle, it is taken
    // once the cross-fade after the last event is over (a spring of about half a second)
    // and two pictures in a row agree.
    QImage shot(const QString &name, bool settle = true)
    {
        if (settle && m_game) {
            while (m_game->sinceTaken() < 700)
                QThread::msleep(50);
        }
        QImage image = m_x->grab();
        if (settle) {
            QElapsedTimer waited;
            waited.start();
            while (waited.elapsed() < 3000) {
                QThread::msleep(120);
                const QImage next = m_x->grab();
                if (next == image)
                    break;
                image = next;
            }
        }
        keep(image, name);
        return image;
    }

    void keep(const QImage &image, const QString &name)
    {
        image.save(m_artifacts.filePath(u"%1-%2.png"_qs.arg(++m_shots, 2, 10, QChar(u'0')).arg(name)));
    }

    // The own words screen once it is fully shown: its editor's face is white and the
    // picture has stopped changing, so the fade from the screen before is over.
    QImage ownWordsShown(const QString &name)
    {
        const QPoint inside = Spot::wordsEditorBox.center() + QPoint(0, 60);
        QImage image = m_x->grab();
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 15000) {
            QThread::msleep(150);
            const QImage next = m_x->grab();
            const bool settled = next == image && next.pixel(inside) == 0xFFFFFFFFu;
            image = next;
            if (settled)
                break;
        }
        keep(image, name);
        return image.copy(Spot::wordsEditorBox);
    }

    void startGame()
    {
        m_game = std::make_unique<GameProcess>(m_artifacts.filePath(u"game.log"_qs));
        QVERIFY(m_game->start(QStringLiteral(GAME_BINARY), gameEnvironment()));
        m_window = m_x->waitForWindow(m_game->pid(), 30000);
        QVERIFY2(m_window != 0, "the game showed no window");
        QCOMPARE(m_x->geometry(m_window), QRect(QPoint(0, 0), phone));
        // Drawn once the paper is there.
        QElapsedTimer waited;
        waited.start();
        while (m_x->grab().pixel(2, 2) != (paper | 0xFF000000u) && waited.elapsed() < 30000)
            QThread::msleep(100);
        QCOMPARE(QColor(m_x->grab().pixel(2, 2)), QColor(paper));
    }

    void quitGame()
    {
        QVERIFY(m_x->closeWindow(m_window));
        QVERIFY2(m_game->waitForCleanExit(15000),
                 qPrintable(u"the game did not quit cleanly:\n"_qs + m_game->recent()));
    }

    void typeLines(const QStringList &lines)
    {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                m_x->key(u"Return"_qs);
            m_x->type(lines.at(i));
        }
    }

    void swipe(int dx) { m_x->drag(Spot::card, QPoint(dx, 12)); }

private slots:
    void initTestCase()
    {
        const QStringList missing = XSession::missingTools();
        if (!missing.isEmpty())
            QSKIP(qPrintable(u"cannot play through a real window here: "_qs + missing.join(u", "_qs)
                             + u" not installed (scripts/install-deps installs them)"_qs));
        QVERIFY(m_home.isValid());
        for (const QString &dir : {u"home"_qs, u"config"_qs, u"data"_qs, u"cache"_qs, u"runtime"_qs})
            QVERIFY(QDir(m_home.path()).mkpath(dir));
        QFile::setPermissions(m_home.filePath(u"runtime"_qs), QFileDevice::ReadOwner
                                                                 | QFileDevice::WriteOwner
                                                                 | QFileDevice::ExeOwner);

        QVERIFY(m_artifacts.mkpath(u"."_qs));
        for (const QString &old : m_artifacts.entryList({u"*.png"_qs, u"*.log"_qs}, QDir::Files))
            m_artifacts.remove(old);

        m_x = std::make_unique<XSession>();
        QString error;
        QVERIFY2(m_x->start(phone, &error), qPrintable(error));
    }

    void cleanup()
    {
        if (QTest::currentTestFailed() && m_x && !m_x->display().isEmpty())
            shot(u"failed"_qs, false);
        m_game.reset();
    }

    void cleanupTestCase()
    {
        m_game.reset();
        m_x.reset();
    }

    // Five friends set up a quick game, form teams around an observer, name a team, play
    // three turns with real swipes to a winner, replay with the same settings, go home.
    void playsAWholeGame()
    {
        startGame();
        shot(u"home"_qs);

        m_x->tap(Spot::newGame);
        AWAIT(setup, u"screen setup"_qs, screenTimeoutMs);
        shot(u"setup"_qs);

        const QStringList players{u"Аня"_qs, u"Боря"_qs, u"Ёжик Ёлкин"_qs, u"Вика"_qs, u"Гоша"_qs};
        m_x->tap(Spot::namesEditor);
        typeLines(players);
        m_x->tap(Spot::tenSeconds);
        shot(u"setup-names"_qs);
        m_x->scroll(Spot::scrollArea, 15);
        shot(u"setup-scrolled"_qs);
        m_x->tap(Spot::wordsToWin);
        m_x->key(u"ctrl+a"_qs);
        m_x->type(u"2"_qs);
        m_x->tap(Spot::threeSeconds);
        shot(u"setup-rules"_qs);

        m_x->tap(Spot::formTeams);
        AWAIT(named, u"players (.*)"_qs, screenTimeoutMs);
        QCOMPARE(named.captured(1), players.join(u", "_qs));
        AWAIT(rules, u"rules \\S+ turn 10 target 2 bonus 3 own words off"_qs, screenTimeoutMs);
        AWAIT(formation, u"screen formation"_qs, screenTimeoutMs);
        shot(u"formation"_qs);

        m_x->tap(Spot::randomPairs);
        AWAIT(chosen, u"observer (.+)"_qs, screenTimeoutMs);
        const QString observer = chosen.captured(1);
        QVERIFY(players.contains(observer));
        AWAIT(wheel, u"screen observerWheel"_qs, screenTimeoutMs);
        shot(u"wheel-spinning"_qs, false);
        AWAIT(revealed, u"observer revealed "_qs + QRegularExpression::escape(observer), 20000);
        shot(u"wheel-revealed"_qs);

        m_x->tap(Spot::toTeams);
        AWAIT(teams, u"teams 2"_qs, screenTimeoutMs);
        AWAIT(editor, u"screen teams"_qs, screenTimeoutMs);
        shot(u"teams"_qs);
        m_x->tap(Spot::firstTeamName);
        m_x->key(u"ctrl+a"_qs);
        m_x->type(u"Кометы"_qs);
        AWAIT(renamed, u"team 1 named Кометы"_qs, screenTimeoutMs);
        shot(u"teams-named"_qs);

        m_x->tap(Spot::allReady);
        AWAIT(ready1, u"screen ready"_qs, screenTimeoutMs);
        shot(u"ready-1"_qs);

        // Turn 1: a skip and a guess; the clock runs 10 s plus the 3 s the guess earned.
        m_x->tap(Spot::anywhere);
        AWAIT(first, u"word (.+)"_qs, screenTimeoutMs);
        AWAIT(turn1, u"turn 1 team Кометы guesser (.+)"_qs, screenTimeoutMs);
        const QString firstGuesser = turn1.captured(1);
        const qint64 turn1Start = m_game->lastEventMs();
        QVERIFY(players.contains(firstGuesser) && firstGuesser != observer);
        AWAIT(playing1, u"screen playing"_qs, screenTimeoutMs);
        shot(u"play-1"_qs);
        swipe(-150);
        AWAIT(skip1, u"skipped "_qs + QRegularExpression::escape(first.captured(1)), screenTimeoutMs);
        AWAIT(second, u"word (.+)"_qs, screenTimeoutMs);
        swipe(150);
        AWAIT(guess1, u"guessed "_qs + QRegularExpression::escape(second.captured(1)), screenTimeoutMs);
        AWAIT(third, u"word (.+)"_qs, screenTimeoutMs);
        shot(u"play-1-after-guess"_qs);
        AWAIT(over1, u"turn over, guessed 1 skipped 1"_qs, turnTimeoutMs);
        QVERIFY2(m_game->lastEventMs() - turn1Start >= 12500,
                 qPrintable(u"turn 1 lasted %1 ms, not 10 s and a 3 s bonus"_qs.arg(
                     m_game->lastEventMs() - turn1Start)));
        AWAIT(summary1, u"screen summary"_qs, screenTimeoutMs);
        shot(u"summary-1"_qs);
        m_x->tap(Spot::anywhere);
        AWAIT(ready2, u"screen ready"_qs, screenTimeoutMs);
        shot(u"ready-2"_qs);

        // Turn 2: the same pair, the other player guesses. A hesitant drag springs back
        // and counts for nothing; then a skip, and the 10 s run out.
        m_x->tap(Spot::anywhere);
        AWAIT(fourth, u"word (.+)"_qs, screenTimeoutMs);
        AWAIT(turn2, u"turn 2 team Кометы guesser (.+)"_qs, screenTimeoutMs);
        QVERIFY(players.contains(turn2.captured(1)));
        QVERIFY(turn2.captured(1) != firstGuesser && turn2.captured(1) != observer);
        AWAIT(playing2, u"screen playing"_qs, screenTimeoutMs);
        swipe(45);
        swipe(-150);
        AWAIT(swiped2, u"(?:guessed|skipped) .+"_qs, screenTimeoutMs);
        QCOMPARE(swiped2.captured(0), u"skipped "_qs + fourth.captured(1));
        AWAIT(over2, u"turn over, guessed 0 skipped 1"_qs, turnTimeoutMs);
        AWAIT(summary2, u"screen summary"_qs, screenTimeoutMs);
        shot(u"summary-2"_qs);
        m_x->tap(Spot::anywhere);
        AWAIT(ready3, u"screen ready"_qs, screenTimeoutMs);
        shot(u"ready-3"_qs);

        // Turn 3: the other pair guesses two words in a row and wins at the second.
        m_x->tap(Spot::anywhere);
        AWAIT(fifth, u"word (.+)"_qs, screenTimeoutMs);
        AWAIT(turn3, u"turn 3 team Команда 2 guesser (.+)"_qs, screenTimeoutMs);
        QVERIFY(turn3.captured(1) != firstGuesser && turn3.captured(1) != turn2.captured(1));
        AWAIT(playing3, u"screen playing"_qs, screenTimeoutMs);
        // The card follows the finger and shows where it is going before it is let go.
        m_x->drag(Spot::card, QPoint(160, 12), true);
        shot(u"play-3-held-right"_qs);
        QVERIFY(!m_game->hasPending(u"guessed .+"_qs));
        m_x->lift();
        AWAIT(guess3, u"guessed "_qs + QRegularExpression::escape(fifth.captured(1)), screenTimeoutMs);
        AWAIT(sixth, u"word (.+)"_qs, screenTimeoutMs);
        swipe(160);
        AWAIT(guess4, u"guessed "_qs + QRegularExpression::escape(sixth.captured(1)), screenTimeoutMs);
        AWAIT(winner, u"winner Команда 2 2"_qs, screenTimeoutMs);
        AWAIT(winnerScreen, u"screen winner"_qs, screenTimeoutMs);
        QVERIFY(!m_game->hasPending(u"word .+"_qs));
        shot(u"winner"_qs);

        // Replay keeps the players and the rules: forming teams again reads them back.
        m_x->tap(Spot::replay);
        AWAIT(again, u"screen setup"_qs, screenTimeoutMs);
        shot(u"replay-setup"_qs);
        m_x->scroll(Spot::scrollArea, 15);
        shot(u"replay-setup-scrolled"_qs);
        m_x->tap(Spot::formTeams);
        AWAIT(namedAgain, u"players (.*)"_qs, screenTimeoutMs);
        QCOMPARE(namedAgain.captured(1), players.join(u", "_qs));
        AWAIT(rulesAgain, u"rules \\S+ turn 10 target 2 bonus 3 own words off"_qs, screenTimeoutMs);
        AWAIT(formationAgain, u"screen formation"_qs, screenTimeoutMs);
        m_x->tap(Spot::back);
        AWAIT(setupAgain, u"screen setup"_qs, screenTimeoutMs);
        m_x->tap(Spot::back);
        AWAIT(home, u"screen home"_qs, screenTimeoutMs);
        shot(u"home-again"_qs);

        quitGame();
    }

    // Own words typed in, the game quit and started again: the words are still there.
    void keepsOwnWordsAcrossARestart()
    {
        startGame();
        AWAIT(none, u"custom words loaded 0"_qs, screenTimeoutMs);
        m_x->tap(Spot::ownWords);
        AWAIT(editor, u"screen customWords"_qs, screenTimeoutMs);
        m_x->tap(Spot::wordsEditor);
        typeLines({u"Бабушкин борщ"_qs, u"Кот Василий"_qs, u"Ёлка на даче"_qs});
        AWAIT(saved, u"custom words saved 3"_qs, screenTimeoutMs);
        shot(u"own-words-typed"_qs);
        m_x->tap(Spot::wordsDone);
        AWAIT(home, u"screen home"_qs, screenTimeoutMs);

        // Seen afresh, without the caret, to compare with after the restart.
        m_x->tap(Spot::ownWords);
        AWAIT(editorAgain, u"screen customWords"_qs, screenTimeoutMs);
        const QImage before = ownWordsShown(u"own-words-before-quit"_qs);
        quitGame();

        startGame();
        AWAIT(kept, u"custom words loaded 3"_qs, screenTimeoutMs);
        m_x->tap(Spot::ownWords);
        AWAIT(editorAfter, u"screen customWords"_qs, screenTimeoutMs);
        const QImage after = ownWordsShown(u"own-words-after-restart"_qs);
        QVERIFY2(after == before, "the own words editor shows something else after the restart");
        quitGame();
    }
};

QTEST_GUILESS_MAIN(TestPlaythrough)
#include "tst_playthrough.moc"
