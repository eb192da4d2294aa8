// A whole game as a person plays it: the real game binary in a real window on a private X
// server (Xvfb) of a phone's size, driven by real pointer and key events (xdotool), ended
// by its window's close button and by a signal. What the game does is known only from the
// events it logs; a picture of the screen is kept at every step in artifacts/e2e/, with the
// game's log beside them.
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

namespace {

// The screen of a phone, and its paper where nothing is drawn.
constexpr int width = 390, height = 844;
constexpr QRgb paper = 0xFFFFF7E3;

// Where a finger goes on that screen, as the screens lay themselves out.
namespace Spot {
constexpr QPoint back(43, 35);               // every top bar
constexpr QPoint newGame(195, 540);          // home
constexpr QPoint ownWords(195, 637);         // home
constexpr QPoint namesEditor(195, 270);      // setup, scrolled to the top
constexpr QPoint tenSeconds(67, 652);        // setup, scrolled to the top
constexpr QPoint scrollArea(195, 600);       // setup
constexpr QPoint wordsToWin(195, 525);       // setup, scrolled to the end
constexpr QPoint threeSeconds(147, 657);     // setup, scrolled to the end
constexpr QPoint formTeams(195, 790);        // setup, scrolled to the end
constexpr QPoint randomPairs(195, 460);      // formation
constexpr QPoint toTeams(195, 790);          // observer wheel, once revealed
constexpr QPoint firstTeamName(195, 200);    // team editor
constexpr QPoint allReady(195, 587);         // team editor, two teams and an observer
constexpr QPoint anywhere(195, 560);         // ready and summary
constexpr QPoint card(195, 470);             // play
constexpr QPoint replay(195, 740);           // winner
constexpr QPoint wordsEditor(195, 330);      // own words
constexpr QPoint wordsDone(195, 790);        // own words
constexpr QRect wordsBox(22, 216, 346, 230); // own words
} // namespace Spot

// Hang guards, ten times a quiet run and more: a screen's event comes within 1.5 s of the
// tap, a turn of 10 s with its bonuses ends within 12 s.
constexpr int screenMs = 15000;
constexpr int turnMs = 120000;

template <typename T>
std::unique_ptr<T, void (*)(void *)> owned(T *reply)
{
    return {reply, std::free};
}

QStringList moveTo(QPoint point)
{
    return {u"mousemove"_s, QString::number(point.x()), QString::number(point.y())};
}

QByteArray xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(u"xdotool"_s, arguments);
    process.waitForFinished(10000);
    return process.readAllStandardOutput();
}

void tap(QPoint point) { xdotool(moveTo(point) << u"click"_s << u"1"_s); }
void key(const QString &keys) { xdotool({u"key"_s, u"--delay"_s, u"40"_s, keys}); }
// Selects a field's text with keys every layout has: Ctrl+A needs a Latin A, which xdotool
// maps in on the fly on a Russian keyboard, and the game may read the key before the map.
void selectLine()
{
    key(u"End"_s);
    key(u"shift+Home"_s);
}

// Return between the lines: xdotool types a newline as nothing.
void type(const QStringList &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            key(u"Return"_s);
        xdotool({u"type"_s, u"--delay"_s, u"40"_s, u"--"_s, lines.at(i)});
    }
}

// A finger put down on the card and moved sideways about a frame a step, so that the game
// sees every position on the way; lifted unless held.
void swipe(int dx, bool hold = false)
{
    QStringList arguments = moveTo(Spot::card) << u"mousedown"_s << u"1"_s;
    for (int i = 1; i <= 14; ++i)
        arguments << u"sleep"_s << u"0.016"_s << moveTo(Spot::card + QPoint(dx, 12) * i / 14);
    if (!hold)
        arguments << u"sleep"_s << u"0.03"_s << u"mouseup"_s << u"1"_s;
    xdotool(arguments);
}

} // namespace

#define AWAIT(match, pattern, ...)                                                             \
    const QRegularExpressionMatch match = event(pattern __VA_OPT__(, ) __VA_ARGS__);            \
    QVERIFY2(match.hasMatch(),                                                                 \
             qPrintable(u"no event \"%1\"; the game's last events:\n%2"_s.arg(pattern, recent())))

class TestPlaythrough : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QDir m_artifacts{QStringLiteral(ARTIFACT_DIR)};
    QFile m_log{m_artifacts.filePath(u"game.log"_s)};
    QProcess m_xvfb;
    xcb_connection_t *m_x = nullptr;
    QProcess m_game;
    quint32 m_window = 0;
    QByteArray m_unread;
    QList<std::pair<qint64, QString>> m_events; // the game's time stamp in ms, the event
    qsizetype m_taken = 0;
    QElapsedTimer m_takenAt;
    int m_shots = 0;

    QImage grab() const
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_x)).data->root;
        const auto reply = owned(xcb_get_image_reply(
            m_x, xcb_get_image(m_x, XCB_IMAGE_FORMAT_Z_PIXMAP, root, 0, 0, width, height, ~0u),
            nullptr));
        if (!reply || xcb_get_image_data_length(reply.get()) < width * height * 4)
            return {};
        // Depth 24 comes as 32-bit pixels, 0x00RRGGBB in the machine's byte order.
        return QImage(xcb_get_image_data(reply.get()), width, height, QImage::Format_RGB32).copy();
    }

    // A picture of the screen under the next step number, once the cross-fade after the
    // last event is over (a spring of about half a second) and two pictures in a row agree.
    QImage shot(const QString &name)
    {
        QThread::msleep(qMax<qint64>(0, 700 - m_takenAt.elapsed()));
        QElapsedTimer waited;
        waited.start();
        QImage image = grab(), last;
        while (last != image && waited.elapsed() < 3000) {
            QThread::msleep(120);
            last = std::exchange(image, grab());
        }
        const QString step = u"%1"_s.arg(++m_shots, 2, 10, QChar(u'0'));
        image.save(m_artifacts.filePath(step + u'-' + name + u".png"_s));
        return image;
    }

    void readEvents()
    {
        // Under the message pattern we give it: "<seconds>.<ms> glimp.game: <event>".
        static const QRegularExpression line(u"^\\s*(\\d+)\\.(\\d{3}) glimp\\.game: (.*)$"_s);
        const QByteArray output = m_game.readAll();
        m_log.write(output);
        m_log.flush();
        m_unread += output;
        for (qsizetype end; (end = m_unread.indexOf('\n')) >= 0; m_unread.remove(0, end + 1)) {
            const auto match = line.match(QString::fromUtf8(m_unread.left(end)));
            if (match.hasMatch())
                m_events.append({match.captured(1).toLongLong() * 1000
                                     + match.captured(2).toLongLong(),
                                 match.captured(3)});
        }
    }

    // The first event not yet taken that matches, within timeoutMs; taking it takes the
    // ones before it too. An invalid match when none comes or the game has ended.
    QRegularExpressionMatch event(const QString &pattern, int timeoutMs = screenMs,
                                  bool take = true)
    {
        const QRegularExpression wanted(u"^(?:"_s + pattern + u")$"_s);
        QElapsedTimer waited;
        waited.start();
        for (qsizetype i = m_taken;;) {
            readEvents();
            for (; i < m_events.size(); ++i) {
                const QRegularExpressionMatch match = wanted.match(m_events.at(i).second);
                if (match.hasMatch() && take) {
                    m_taken = i + 1;
                    m_takenAt.start();
                }
                if (match.hasMatch())
                    return match;
            }
            if (waited.elapsed() >= timeoutMs || m_game.state() == QProcess::NotRunning)
                return {};
            m_game.waitForReadyRead(100);
        }
    }
    bool pending(const QString &pattern) { return event(pattern, 0, false).hasMatch(); }
    qint64 lastEventMs() const { return m_events.at(m_taken - 1).first; }

    QString recent() const
    {
        QStringList lines;
        for (qsizetype i = qMax<qsizetype>(0, m_taken - 8); i < m_events.size(); ++i)
            lines << (i < m_taken ? u"  taken: "_s : u"  new:   "_s) + m_events.at(i).second;
        if (m_game.state() == QProcess::NotRunning)
            lines << u"  (the game has ended)"_s;
        return lines.join(u'\n');
    }

    void startGame()
    {
        m_events.clear();
        m_taken = 0;
        m_log.write("---- the game starts\n");
        m_game.start(QStringLiteral(GAME_BINARY), {});
        QVERIFY(m_game.waitForStarted(10000));
        m_takenAt.start();
        const QStringList search{u"search"_s, u"--onlyvisible"_s, u"--pid"_s,
                                 QString::number(m_game.processId())};
        const auto shown = [&] {
            QThread::msleep(100);
            return (m_window = xdotool(search).split('\n').first().toUInt()) != 0;
        };
        QVERIFY2(QTest::qWaitFor(shown, 30000), "the game showed no window");
        QVERIFY(xdotool({u"getwindowgeometry"_s, u"--shell"_s, QString::number(m_window)})
                    .contains("X=0\nY=0\nWIDTH=390\nHEIGHT=844\n"));
        // Drawn once the paper is there.
        const auto drawn = [&] { QThread::msleep(100); return grab().pixel(2, 2) == paper; };
        QVERIFY(QTest::qWaitFor(drawn, 30000));
    }

    // Closes the window as a window manager's close button does, or sends the game a signal
    // (as a session ending does), which it takes the same way.
    void quitGame(int signal = 0)
    {
        if (signal) {
            QCOMPARE(::kill(pid_t(m_game.processId()), signal), 0);
            return awaitQuit();
        }
        const auto atom = [&](const char *name) {
            const auto cookie = xcb_intern_atom(m_x, 0, uint16_t(std::strlen(name)), name);
            const auto reply = owned(xcb_intern_atom_reply(m_x, cookie, nullptr));
            return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        };
        xcb_client_message_event_t close{};
        close.response_type = XCB_CLIENT_MESSAGE;
        close.format = 32;
        close.window = m_window;
        close.type = atom("WM_PROTOCOLS");
        close.data.data32[0] = atom("WM_DELETE_WINDOW");
        close.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_x, 0, m_window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char *>(&close));
        xcb_flush(m_x);
        awaitQuit();
    }

    void awaitQuit()
    {
        const bool quit = m_game.waitForFinished(15000);
        readEvents();
        QVERIFY2(quit && m_game.exitStatus() == QProcess::NormalExit && m_game.exitCode() == 0,
                 qPrintable(u"the game did not quit cleanly:\n"_s + recent()));
    }

private slots:
    void initTestCase()
    {
        for (const QString &tool : {u"Xvfb"_s, u"xdotool"_s, u"setxkbmap"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(tool + u" is missing (scripts/install-deps installs it)"_s));
        }
        QVERIFY(m_artifacts.mkpath(u"."_s));
        for (const QString &old : m_artifacts.entryList({u"*.png"_s, u"*.log"_s}, QDir::Files))
            m_artifacts.remove(old);
        QVERIFY(m_log.open(QIODevice::WriteOnly));
        m_game.setProcessChannelMode(QProcess::MergedChannels);
        m_takenAt.start();

        // The server picks a free display itself and writes its number to our pipe.
        m_xvfb.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s,
                                  u"390x844x24"_s, u"-nolisten"_s, u"tcp"_s});
        QByteArray display;
        while (!display.contains('\n') && m_xvfb.waitForReadyRead(20000))
            display += m_xvfb.readAllStandardOutput();
        QVERIFY2(display.contains('\n'), m_xvfb.readAllStandardError().constData());
        // The game, xdotool and setxkbmap all inherit what is set here.
        qputenv("DISPLAY", ':' + display.trimmed());
        m_x = xcb_connect(nullptr, nullptr);
        QVERIFY(!xcb_connection_has_error(m_x));
        // The players here type in Russian; with the letters on the keyboard xdotool need not
        // remap keys on the fly, which loses the first keystrokes of a word.
        QCOMPARE(QProcess::execute(u"setxkbmap"_s, {u"ru"_s}), 0);

        qunsetenv("WAYLAND_DISPLAY");
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("QT_QUICK_BACKEND", "software");
        qputenv("QT_LOGGING_RULES", "glimp.game.info=true;qt.multimedia*=false");
        qputenv("QT_MESSAGE_PATTERN", "%{time process} %{category}: %{message}");
        // A home of its own: a player's own words on this machine stay untouched.
        const QDir home(m_home.path());
        for (const auto &[variable, dir] :
             {std::pair{"HOME", "home"}, {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"},
              {"XDG_CACHE_HOME", "cache"}, {"XDG_RUNTIME_DIR", "runtime"}}) {
            QVERIFY(home.mkpath(QString::fromLatin1(dir)));
            qputenv(variable, home.filePath(QString::fromLatin1(dir)).toUtf8());
        }
        QFile::setPermissions(home.filePath(u"runtime"_s), QFileDevice::ReadOwner
                                                               | QFileDevice::WriteOwner
                                                               | QFileDevice::ExeOwner);
        // No session bus: no haptics daemon and no screen saver to talk to, and nothing
        // started on the side (an unset address would let D-Bus autolaunch one on X).
        qputenv("DBUS_SESSION_BUS_ADDRESS",
                "unix:path=" + home.filePath(u"runtime/no-bus"_s).toUtf8());
    }

    void cleanup()
    {
        if (QTest::currentTestFailed())
            shot(u"failed"_s);
        m_game.kill();
        m_game.waitForFinished();
        readEvents();
    }

    void cleanupTestCase()
    {
        if (m_x)
            xcb_disconnect(m_x);
        m_xvfb.terminate();
        m_xvfb.waitForFinished();
    }

    // Five friends set up a quick game, form teams around an observer, name a team, play
    // three turns with real swipes to a winner, replay with the same settings, go home, type
    // own words and find them again after the game is quit and started anew.
    void playsAWholeGame()
    {
        startGame();
        AWAIT(none, u"custom words loaded 0"_s);
        shot(u"home"_s);

        tap(Spot::newGame);
        AWAIT(setup, u"screen setup"_s);
        shot(u"setup"_s);
        const QStringList players{u"Аня"_s, u"Боря"_s, u"Ёжик Ёлкин"_s, u"Вика"_s, u"Гоша"_s};
        tap(Spot::namesEditor);
        type(players);
        tap(Spot::tenSeconds);
        shot(u"setup-names"_s);
        // Fifteen turns of the wheel down to the end of the setup screen.
        xdotool(moveTo(Spot::scrollArea) << u"click"_s << u"--repeat"_s << u"15"_s << u"--delay"_s
                                         << u"40"_s << u"5"_s);
        shot(u"setup-scrolled"_s);
        tap(Spot::wordsToWin);
        selectLine();
        type({u"2"_s});
        tap(Spot::threeSeconds);
        shot(u"setup-rules"_s);

        tap(Spot::formTeams);
        AWAIT(named, u"players (.*)"_s);
        QCOMPARE(named.captured(1), players.join(u", "_s));
        AWAIT(rules, u"rules \\S+ turn 10 target 2 bonus 3 own words off"_s);
        AWAIT(formation, u"screen formation"_s);
        shot(u"formation"_s);

        tap(Spot::randomPairs);
        AWAIT(chosen, u"observer (.+)"_s);
        const QString observer = chosen.captured(1);
        QVERIFY(players.contains(observer));
        AWAIT(wheel, u"screen observerWheel"_s);
        AWAIT(revealed, u"observer revealed "_s + QRegularExpression::escape(observer), 40000);
        shot(u"wheel-revealed"_s);

        tap(Spot::toTeams);
        AWAIT(teams, u"teams 2"_s);
        AWAIT(editor, u"screen teams"_s);
        shot(u"teams"_s);
        tap(Spot::firstTeamName);
        selectLine();
        type({u"Кометы"_s});
        AWAIT(renamed, u"team 1 named Кометы"_s);
        shot(u"teams-named"_s);

        tap(Spot::allReady);
        AWAIT(ready1, u"screen ready"_s);
        shot(u"ready-1"_s);

        // Turn 1: a skip and a guess; the clock runs 10 s plus the 3 s the guess earned.
        tap(Spot::anywhere);
        AWAIT(first, u"word (.+)"_s);
        AWAIT(turn1, u"turn 1 team Кометы guesser (.+)"_s);
        const QString firstGuesser = turn1.captured(1);
        const qint64 turn1Start = lastEventMs();
        QVERIFY(players.contains(firstGuesser) && firstGuesser != observer);
        AWAIT(playing1, u"screen playing"_s);
        shot(u"play-1"_s);
        swipe(-150);
        AWAIT(skip1, u"skipped "_s + QRegularExpression::escape(first.captured(1)));
        AWAIT(second, u"word (.+)"_s);
        swipe(150);
        AWAIT(guess1, u"guessed "_s + QRegularExpression::escape(second.captured(1)));
        AWAIT(third, u"word (.+)"_s);
        shot(u"play-1-after-guess"_s);
        AWAIT(over1, u"turn over, guessed 1 skipped 1"_s, turnMs);
        const qint64 turn1Ms = lastEventMs() - turn1Start;
        QVERIFY2(turn1Ms >= 12500,
                 qPrintable(u"turn 1 lasted %1 ms, not 10 s and a 3 s bonus"_s.arg(turn1Ms)));
        AWAIT(summary1, u"screen summary"_s);
        shot(u"summary-1"_s);
        tap(Spot::anywhere);
        AWAIT(ready2, u"screen ready"_s);
        shot(u"ready-2"_s);

        // Turn 2: the same pair, the other player guesses. A hesitant drag springs back
        // and counts for nothing; then a skip, and the 10 s run out.
        tap(Spot::anywhere);
        AWAIT(fourth, u"word (.+)"_s);
        AWAIT(turn2, u"turn 2 team Кометы guesser (.+)"_s);
        QVERIFY(players.contains(turn2.captured(1)));
        QVERIFY(turn2.captured(1) != firstGuesser && turn2.captured(1) != observer);
        AWAIT(playing2, u"screen playing"_s);
        swipe(45);
        swipe(-150);
        AWAIT(swiped2, u"(?:guessed|skipped) .+"_s);
        QCOMPARE(swiped2.captured(0), u"skipped "_s + fourth.captured(1));
        AWAIT(over2, u"turn over, guessed 0 skipped 1"_s, turnMs);
        AWAIT(summary2, u"screen summary"_s);
        shot(u"summary-2"_s);
        tap(Spot::anywhere);
        AWAIT(ready3, u"screen ready"_s);
        shot(u"ready-3"_s);

        // Turn 3: the other pair guesses two words in a row and wins at the second.
        tap(Spot::anywhere);
        AWAIT(fifth, u"word (.+)"_s);
        AWAIT(turn3, u"turn 3 team Команда 2 guesser (.+)"_s);
        QVERIFY(turn3.captured(1) != firstGuesser && turn3.captured(1) != turn2.captured(1));
        AWAIT(playing3, u"screen playing"_s);
        // The card follows the finger and shows where it is going before it is let go.
        swipe(160, true);
        shot(u"play-3-held-right"_s);
        QVERIFY(!pending(u"guessed .+"_s));
        xdotool({u"mouseup"_s, u"1"_s});
        AWAIT(guess3, u"guessed "_s + QRegularExpression::escape(fifth.captured(1)));
        AWAIT(sixth, u"word (.+)"_s);
        swipe(160);
        AWAIT(guess4, u"guessed "_s + QRegularExpression::escape(sixth.captured(1)));
        AWAIT(winner, u"winner Команда 2 2"_s);
        AWAIT(winnerScreen, u"screen winner"_s);
        QVERIFY(!pending(u"word .+"_s));
        shot(u"winner"_s);

        // Replay, then home (what replay keeps is the whole-game UI test's).
        tap(Spot::replay);
        AWAIT(again, u"screen setup"_s);
        tap(Spot::back);
        AWAIT(home, u"screen home"_s);
        shot(u"home-again"_s);

        tap(Spot::ownWords);
        AWAIT(wordsEditor, u"screen customWords"_s);
        tap(Spot::wordsEditor);
        type({u"Бабушкин борщ"_s, u"Кот Василий"_s, u"Ёлка на даче"_s});
        AWAIT(saved, u"custom words handed over 3"_s);
        shot(u"own-words-typed"_s);
        tap(Spot::wordsDone);
        AWAIT(homeAgain, u"screen home"_s);
        shot(u"home-with-own-words"_s);
        // Seen afresh, without the caret, and once faded in (the editor's face white), to be
        // compared with after the restart: every letter typed is kept.
        const QPoint face = Spot::wordsBox.center() + QPoint(0, 60);
        const auto ownWordsShown = [&] { return grab().pixel(face) == 0xFFFFFFFFu; };
        tap(Spot::ownWords);
        AWAIT(shownBefore, u"screen customWords"_s);
        QVERIFY(QTest::qWaitFor(ownWordsShown, 15000));
        const QImage before = shot(u"own-words-before-quit"_s).copy(Spot::wordsBox);
        quitGame();

        startGame();
        AWAIT(kept, u"custom words loaded 3"_s);
        tap(Spot::ownWords);
        AWAIT(shownAfter, u"screen customWords"_s);
        QVERIFY(QTest::qWaitFor(ownWordsShown, 15000));
        QVERIFY2(shot(u"own-words-after-restart"_s).copy(Spot::wordsBox) == before,
                 "the own words editor shows something else after the restart");
        // Two more words, and the session ends the game right after the last keystroke: the
        // last edit is written all the same.
        tap(Spot::wordsEditor);
        key(u"ctrl+End"_s);
        key(u"Return"_s);
        type({u"Пирог"_s, u"Я"_s});
        AWAIT(savedMore, u"custom words handed over 5"_s);
        quitGame(SIGTERM);
        const QSettings file(qEnvironmentVariable("XDG_CONFIG_HOME") + u"/tarvuke/glimp.conf"_s,
                             QSettings::IniFormat);
        const QString words = file.value(u"tarvuke.glimp.customWords"_s).toString();
        QVERIFY2(words.endsWith(u"\nПирог\nЯ"_s), qPrintable(words));
    }
};

QTEST_GUILESS_MAIN(TestPlaythrough)
#include "tst_playthrough.moc"
