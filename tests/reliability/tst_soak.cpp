// Whole games, one after another, through the real window and router while the settings
// change from game to game. Once every screen has been seen, the live heap, QObjects and RSS
// must stay level; under the asan preset LeakSanitizer adds what was never freed at all.
// GLIMP_SOAK_TURNS sets the number of turns (scripts/soak plays 2,000).
#include "StoreRig.h"
#include "SteppedAnimationDriver.h"
#include "UiAssets.h"

#include <QFile>
#include <QMetaEnum>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <malloc.h>
#include <random>
#include <unistd.h>

using namespace Qt::StringLiterals;

// AddressSanitizer's live bytes (quarantine excluded), when it is linked in: its allocator is
// invisible to mallinfo2. From sanitizer/allocator_interface.h, which GCC does not install.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

using namespace std::chrono_literals;

// Qt's hooks for debugging tools (private header, fixed layout): [0] version, [1] size,
// [3] called for every QObject made, [4] for every one destroyed.
extern quintptr qtHookData[];

namespace {

std::atomic<qint64> liveObjects{0};

struct Footprint
{
    int turn = 0;
    qint64 heap = 0, objects = 0, resident = 0;
};

// The games come in cycles, each game of a cycle with the same settings and the same random
// draws, so that the end of one cycle finds memory where the previous one left it (the
// glyph caches are full after the first). Odd player counts bring the observer wheel.
constexpr int cycleGames = 8;
constexpr int playerCounts[cycleGames] = {5, 2, 4, 3, 6, 7, 2, 3};

} // namespace

// A failed check inside a helper ends the test at once.
#define SOAK_STEP(call)                                                                         \
    do {                                                                                        \
        call;                                                                                   \
        if (QTest::currentTestFailed())                                                         \
            return;                                                                             \
    } while (false)

class TestSoak : public QObject
{
    Q_OBJECT

public:
    static void initMain()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Frames only when the script draws one: the platform's frame timer would leave moving
        // text at new sub-pixel positions in the glyph cache, which would then never fill.
        qputenv("QT_QPA_UPDATE_IDLE_TIME", "3600000");
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        if (qtHookData[0] >= 1 && qtHookData[1] > 4) {
            qtHookData[3] = reinterpret_cast<quintptr>(+[](QObject *) { ++liveObjects; });
            qtHookData[4] = reinterpret_cast<quintptr>(+[](QObject *) { --liveObjects; });
            s_countsObjects = true;
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(UiAssets::install());
        QQuickStyle::setStyle(u"Basic"_s);
        m_driver.install();
        m_engine.addImportPath(u"qrc:/qt/qml"_s);
        m_engine.setInitialProperties({{u"game"_s, QVariant::fromValue(&m_rig.store)}});
        m_engine.load(QUrl(u"qrc:/qt/qml/TarvukeGlimp/Main.qml"_s));
        QVERIFY(!m_engine.rootObjects().isEmpty());
        m_window = qobject_cast<QQuickWindow *>(m_engine.rootObjects().constFirst());
        QVERIFY(m_window);
        for (QQuickItem *child : m_window->contentItem()->childItems()) {
            if (child->property("current").isValid())
                m_router = child;
        }
        QVERIFY(m_router);
        m_window->show();
        m_window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        expect(AppScreen::home);
    }

    void staysLevel()
    {
        const int turns = qEnvironmentVariableIntValue("GLIMP_SOAK_TURNS") ?: 150;
        QVERIFY2(s_countsObjects, "Qt's object hooks are not available");
        // The warm-up ends with the first cycle past a tenth of the turns.
        std::optional<Footprint> warm;
        Footprint end;
        while (!warm || end.turn == warm->turn || m_turns < turns) {
            for (int game = 0; game < cycleGames; ++game, ++m_games)
                SOAK_STEP(playGame());
            end = measure();
            if (!warm && end.turn >= turns / 10)
                warm = end;
        }
        QCOMPARE(m_seen, (1 << QMetaEnum::fromType<AppScreen>().keyCount()) - 1);

        const int span = end.turn - warm->turn;
        const qint64 heapGrowth = end.heap - warm->heap;
        const qint64 residentGrowth = end.resident - warm->resident;
        const QString growth = u"in %1 turns from turn %2: heap %3 B, QObjects %4, RSS %5 kB"_s
                .arg(span).arg(warm->turn).arg(heapGrowth).arg(end.objects - warm->objects)
                .arg(residentGrowth / 1024);
        std::printf("soak: %d games, %s\n", m_games, qPrintable(growth));
        // Between cycles the heap breathes by some tens of kilobytes (the collector, the
        // engine's caches); a leak of 64 bytes a turn fails 2,000 turns.
        QVERIFY2(heapGrowth <= 64 * 1024 + 32 * span, qPrintable(growth));
        // The same moment of every cycle has the same objects.
        QVERIFY2(end.objects <= warm->objects, qPrintable(growth));
        // What the heap figure misses: the JavaScript heap, mapped memory. (AddressSanitizer's
        // quarantine makes the RSS rise regardless.)
        QVERIFY2(__sanitizer_get_current_allocated_bytes
                         || residentGrowth <= 1024 * 1024 + 256 * span,
                 qPrintable(growth));
    }

private:
    QQuickItem *layer() const { return m_router->property("current").value<QQuickItem *>(); }

    // The store must now show screen: the cross-fade runs out, the old layers go, a frame is
    // drawn.
    void expect(AppScreen screen)
    {
        QCOMPARE(m_rig.store.screen(), screen);
        for (int waited = 0;; waited += SteppedAnimationDriver::stepMs) {
            QVERIFY2(waited < 5000, "the cross-fade does not end: an old screen stays");
            // A faded layer deletes itself later, as the event loop would.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (layer() && layer()->parentItem()->childItems().size() == 1
                && layer()->opacity() >= 0.999)
                break;
            m_driver.advanceBy(SteppedAnimationDriver::stepMs);
        }
        QCOMPARE(layer()->property("screenName").toString(), screenName(screen));
        SOAK_STEP(render());
        m_seen |= 1 << int(screen);
    }

    // What the platform's frame timer would deliver, now.
    void render()
    {
        QSignalSpy swapped(m_window, &QQuickWindow::frameSwapped);
        m_window->update();
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(m_window, &request);
        QCOMPARE(swapped.count(), 1);
    }

    // A player's tap on the shown screen.
    void tap(const char *objectName)
    {
        auto *target = layer()->property("view").value<QQuickItem *>()->findChild<QQuickItem *>(
                QLatin1String(objectName));
        QVERIFY2(target, objectName);
        QTest::mouseClick(m_window, Qt::LeftButton, {},
                          target->mapToScene(target->boundingRect().center()).toPoint());
    }

    Footprint measure()
    {
        // What only waits for the collector or the event loop is not growth.
        for (int round = 0; round < 3; ++round) {
            m_engine.collectGarbage();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
        // Small blocks in the arenas and large ones mapped on their own (a window's pixels).
        const struct mallinfo2 info = mallinfo2();
        Footprint f{m_turns, qint64(info.uordblks + info.hblkhd), liveObjects.load(), 0};
        if (__sanitizer_get_current_allocated_bytes)
            f.heap = qint64(__sanitizer_get_current_allocated_bytes());
        QFile statm(u"/proc/self/statm"_s);
        if (statm.open(QIODevice::ReadOnly)) // pages resident come second
            f.resident = statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
        std::printf("soak: turn %5d  heap %10lld B  QObjects %6lld  RSS %8lld kB\n", f.turn,
                    qlonglong(f.heap), qlonglong(f.objects), qlonglong(f.resident / 1024));
        std::fflush(stdout);
        return f;
    }

    void playGame()
    {
        GameStore &store = m_rig.store;
        const int s = m_games % cycleGames;
        m_rig.random = ScriptedRandom(1000 + s);
        m_dice.seed(1000 + s);
        // The fakes' records grow with every turn; they are not the game's memory.
        m_rig.haptics.cues.clear();
        m_rig.audio.log.clear();

        if (store.screen() == AppScreen::home) {
            if (s == 0 || s == 4) {
                store.setScreen(AppScreen::customWords);
                SOAK_STEP(expect(AppScreen::customWords));
                // Two lists taken in turn: the text changes, its size does not creep.
                store.setCustomWordsText(s == 0 ? u"самовар\nматрёшка\nборщ\nушанка"_s
                                                : u"дача\nбаня\nвеник\nкомпот\nкисель"_s);
                SOAK_STEP(render());
                store.goHome();
                SOAK_STEP(expect(AppScreen::home));
            }
            store.startNewGame();
        }
        SOAK_STEP(expect(AppScreen::setup));
        const QStringList names = u"Аня Боря Вика Гоша Даша Егор Жанна"_s.split(u' ');
        store.setPlayerText(names.mid(0, playerCounts[s]).join(u'\n'));
        store.setDifficulty(GameStore::difficultyLabels().at(s % 3));
        store.setUsesCustomWords(s % 2 == 0);
        store.setRoundDuration(GameStore::roundDurationValues().at(s % 5));
        store.setWordsToWin(2 + s % 5);
        store.setBonusTime(GameStore::bonusTimeValues().at(s % 4));
        SOAK_STEP(render());
        store.openFormation();
        SOAK_STEP(expect(AppScreen::formation));
        store.formTeams(s % 2 == 0);
        if (store.leavesObserver()) {
            SOAK_STEP(expect(AppScreen::observerWheel));
            if (s == 5) {
                // Back from the wheel before it stops.
                m_rig.clock.advance(500ms);
                store.cancelObserver();
                SOAK_STEP(expect(AppScreen::formation));
                store.formTeams(false);
                SOAK_STEP(expect(AppScreen::observerWheel));
            }
            // The names flick by on the game's clock, the disc spins on animation time.
            for (int i = 0; i < 8; ++i) {
                m_rig.clock.advance(400ms);
                m_driver.advanceBy(300);
            }
            m_driver.advanceBy(1000);
            SOAK_STEP(render());
            store.confirmObserver();
        }
        SOAK_STEP(expect(AppScreen::teams));
        store.setScreen(AppScreen::ready);

        for (int turn = 0;; ++turn) {
            SOAK_STEP(expect(AppScreen::ready));
            SOAK_STEP(tap("startTurn"));
            ++m_turns;
            SOAK_STEP(expect(AppScreen::playing));
            // Cards thrown on the screen; the store hears of each once it has flown.
            for (int words = int(m_dice() % 5); words > 0 && store.screen() == AppScreen::playing;
                 --words) {
                const qint64 before = store.guessedCount() + store.skippedCount();
                QTest::keyClick(m_window, m_dice() % 2 ? Qt::Key_Right : Qt::Key_Left);
                m_driver.advanceBy(100);
                m_rig.clock.advance(210ms);
                QCOMPARE(store.guessedCount() + store.skippedCount(), before + 1);
                m_driver.advanceBy(100);
                SOAK_STEP(render());
            }
            if (store.screen() == AppScreen::playing)
                m_rig.clock.advance(std::chrono::seconds(store.remainingTime() + 1));
            if (store.screen() == AppScreen::winner)
                break;
            SOAK_STEP(expect(AppScreen::summary));
            if (s == 6 && turn == 1) {
                store.goHome(); // left in the middle of the game
                SOAK_STEP(expect(AppScreen::home));
                return;
            }
            SOAK_STEP(tap("continueTarget"));
        }
        SOAK_STEP(expect(AppScreen::winner));
        // The last game of a cycle ends at home.
        if (s % 2 == 1) {
            store.goHome();
            SOAK_STEP(expect(AppScreen::home));
        } else {
            store.replay();
        }
    }

    static inline bool s_countsObjects = false;
    SteppedAnimationDriver m_driver;
    StoreRig m_rig;
    QQmlApplicationEngine m_engine;
    QQuickWindow *m_window = nullptr;
    QQuickItem *m_router = nullptr;
    std::mt19937 m_dice;
    int m_seen = 0; // a bit for every screen shown
    int m_games = 0;
    int m_turns = 0;
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
