// Whole games, one after another, through the real window and router: every screen is built,
// drawn and torn down again thousands of times while the settings change from game to game.
// Once every screen has been seen, the live heap, the live QObjects and the resident memory
// must stay level from then on. Under the asan preset, LeakSanitizer adds what was never
// freed at all.
//
// GLIMP_SOAK_TURNS sets the number of turns (scripts/soak plays 2,000).
#include "StoreRig.h"
#include "SteppedAnimationDriver.h"
#include "UiAssets.h"

#include <QElapsedTimer>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <cstdio>
#include <malloc.h>
#include <optional>
#include <random>
#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GLIMP_SOAK_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(GLIMP_SOAK_ASAN)
#define GLIMP_SOAK_ASAN 1
#endif
#ifdef GLIMP_SOAK_ASAN
// From the sanitizers' public interface (sanitizer/allocator_interface.h, which GCC does not
// install here): the bytes allocated and not yet freed, quarantine excluded.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace std::chrono_literals;

// Qt's table of hooks for debugging tools. Its header is private, but the layout is fixed
// and versioned: [0] version, [1] size, [3] called for every QObject made, [4] for every one
// destroyed.
extern quintptr qtHookData[];

namespace {

std::atomic<qint64> liveObjects{0};

void objectAdded(QObject *)
{
    liveObjects.fetch_add(1, std::memory_order_relaxed);
}

void objectRemoved(QObject *)
{
    liveObjects.fetch_sub(1, std::memory_order_relaxed);
}

bool countObjects()
{
    constexpr int addHook = 3;
    constexpr int removeHook = 4;
    if (qtHookData[0] < 1 || qtHookData[1] <= quintptr(removeHook))
        return false;
    qtHookData[addHook] = reinterpret_cast<quintptr>(&objectAdded);
    qtHookData[removeHook] = reinterpret_cast<quintptr>(&objectRemoved);
    return true;
}

qint64 heapBytes()
{
#ifdef GLIMP_SOAK_ASAN
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    // Small blocks in the arenas and large ones mapped on their own (a window's pixels).
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
#endif
}

qint64 residentBytes()
{
    long pages = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        long size = 0;
        if (std::fscanf(statm, "%ld %ld", &size, &pages) != 2)
            pages = 0;
        std::fclose(statm);
    }
    return qint64(pages) * sysconf(_SC_PAGESIZE);
}

struct Footprint
{
    int turn = 0;
    qint64 heap = 0;
    qint64 objects = 0;
    qint64 resident = 0;
};

const QStringList allScreens = {
    u"home"_qs,  u"setup"_qs,   u"formation"_qs, u"observerWheel"_qs, u"teams"_qs,
    u"ready"_qs, u"playing"_qs, u"summary"_qs,   u"winner"_qs,        u"customWords"_qs,
};

const QStringList names = {
    u"Аня"_qs, u"Боря"_qs, u"Вика"_qs, u"Гоша"_qs, u"Даша"_qs, u"Егор"_qs, u"Жанна"_qs,
};

// Two lists of own words, taken in turn: the text changes, its size does not creep.
const QStringList ownWords = {
    u"самовар\nбалалайка\nматрёшка\nпельмени\nборщ\nушанка"_qs,
    u"дача\nбаня\nвеник\nкомпот\nсырники\nкисель\nблины"_qs,
};

// The games come in cycles: the same settings, the same draws of the store's random source
// and of the script's dice in the same game of every cycle. The caches that fill with what
// is shown (each word's glyphs at each size and position) are full after the first cycle;
// from then on, the end of a cycle must find the memory where the previous one left it.
constexpr int cycleGames = 8;

// Players in each game of a cycle: odd counts bring the observer wheel.
constexpr int playerCounts[cycleGames] = {5, 2, 4, 3, 6, 7, 2, 3};

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

public:
    static void initMain()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Frames are drawn when the script asks, at the same moments in every cycle. The
        // platform's own frame timer would add frames at moments that depend on the machine's
        // speed, each leaving the glyphs of a moving text at new sub-pixel positions in Qt's
        // glyph cache, which then goes on filling for thousands of turns.
        if (qEnvironmentVariableIsEmpty("QT_QPA_UPDATE_IDLE_TIME"))
            qputenv("QT_QPA_UPDATE_IDLE_TIME", "3600000");
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        s_countsObjects = countObjects();
    }

private slots:
    void initTestCase();
    void staysLevel();
    void cleanupTestCase();

private:
    // ---- the stage
    // The shown screen's layer in the router; older layers are still fading out.
    QQuickItem *currentLayer() const;
    // Lets animation time pass until the cross-fade is over and the old layers are gone.
    void settle();
    void renderFrame();
    // The store must now show name; the screen is let in and drawn.
    void expectScreen(const QString &name);
    void tapCentre(const char *objectName);
    Footprint measure();

    // ---- the script
    int slot() const { return m_games % cycleGames; }
    int dice(int sides) { return std::uniform_int_distribution<int>(0, sides - 1)(m_dice); }
    void playGame();
    void visitOwnWords();
    void chooseSettings();
    void formTeams();
    void runObserverWheel();
    void playTurn();
    void throwWord();
    void letTimeRunOut();

    static inline bool s_countsObjects = false;

    SteppedAnimationDriver m_driver;
    std::unique_ptr<StoreRig> m_rig;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow *m_window = nullptr;
    QQuickItem *m_router = nullptr;
    std::mt19937 m_dice;
    QSet<QString> m_seen;
    int m_games = 0;
    int m_turns = 0;
};

// A failed check inside a helper ends the test at once.
#define SOAK_STEP(call)                                                                         \
    do {                                                                                        \
        call;                                                                                   \
        if (QTest::currentTestFailed())                                                         \
            return;                                                                             \
    } while (false)

void TestSoak::initTestCase()
{
    QVERIFY(UiAssets::install());
    QQuickStyle::setStyle(u"Basic"_qs);
    m_driver.install();

    m_rig = std::make_unique<StoreRig>();
    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engine->addImportPath(u"qrc:/qt/qml"_qs);
    m_engine->setInitialProperties({{u"game"_qs, QVariant::fromValue(&m_rig->store)}});
    m_engine->load(QUrl(u"qrc:/qt/qml/TarvukeGlimp/Main.qml"_qs));
    QVERIFY(!m_engine->rootObjects().isEmpty());
    m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().constFirst());
    QVERIFY(m_window);
    for (QQuickItem *child : m_window->contentItem()->childItems()) {
        if (child->property("current").isValid())
            m_router = child;
    }
    QVERIFY(m_router);
    m_window->show();
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    SOAK_STEP(expectScreen(u"home"_qs));
}

void TestSoak::cleanupTestCase()
{
    m_engine.reset();
    m_rig.reset();
}

QQuickItem *TestSoak::currentLayer() const
{
    return m_router->property("current").value<QQuickItem *>();
}

void TestSoak::settle()
{
    for (int waited = 0; waited < 5000; waited += SteppedAnimationDriver::stepMs) {
        // A layer that has faded out deletes itself later, as the event loop would.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QQuickItem *layer = currentLayer();
        if (layer && layer->parentItem()->childItems().size() == 1 && layer->opacity() >= 0.999)
            return;
        m_driver.advanceBy(SteppedAnimationDriver::stepMs);
    }
    QFAIL("the cross-fade does not end: an old screen stays");
}

void TestSoak::renderFrame()
{
    // What the platform's frame timer would deliver, now.
    QSignalSpy swapped(m_window, &QQuickWindow::frameSwapped);
    m_window->update();
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(m_window, &request);
    QVERIFY2(swapped.count() == 1, "no frame drawn");
}

void TestSoak::expectScreen(const QString &name)
{
    QCOMPARE(m_rig->store.screenNameText(), name);
    SOAK_STEP(settle());
    QQuickItem *layer = currentLayer();
    QCOMPARE(layer->property("screenName").toString(), name);
    QVERIFY2(layer->property("view").value<QQuickItem *>(), qPrintable(name));
    SOAK_STEP(renderFrame());
    m_seen.insert(name);
}

void TestSoak::tapCentre(const char *objectName)
{
    auto *view = currentLayer()->property("view").value<QQuickItem *>();
    auto *target = view->findChild<QQuickItem *>(QLatin1String(objectName));
    QVERIFY2(target, objectName);
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(m_window, Qt::LeftButton, {}, centre.toPoint());
}

Footprint TestSoak::measure()
{
    // What is only waiting for the collector or for the event loop is not growth.
    for (int round = 0; round < 3; ++round) {
        m_engine->collectGarbage();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    Footprint f;
    f.turn = m_turns;
    f.heap = heapBytes();
    f.objects = liveObjects.load();
    f.resident = residentBytes();
    std::printf("soak: turn %5d  heap %10lld B  QObjects %6lld  RSS %8lld kB\n", f.turn,
                static_cast<long long>(f.heap), static_cast<long long>(f.objects),
                static_cast<long long>(f.resident / 1024));
    std::fflush(stdout);
    return f;
}

// ---- the script --------------------------------------------------------------------------

void TestSoak::visitOwnWords()
{
    GameStore &store = m_rig->store;
    store.setScreenName(u"customWords"_qs);
    SOAK_STEP(expectScreen(u"customWords"_qs));
    store.setCustomWordsText(ownWords.at(slot() / 4));
    SOAK_STEP(renderFrame());
    store.goHome();
    SOAK_STEP(expectScreen(u"home"_qs));
}

void TestSoak::chooseSettings()
{
    GameStore &store = m_rig->store;
    const int s = slot();
    store.setPlayerText(names.mid(0, playerCounts[s]).join(u'\n'));
    store.setDifficulty(GameStore::difficultyLabels().at(s % 3));
    store.setUsesCustomWords(s % 2 == 0);
    const QList<int> durations = GameStore::roundDurationValues();
    store.setRoundDuration(durations.at(s % durations.size()));
    store.setWordsToWin(2 + s % 5);
    const QList<int> bonuses = GameStore::bonusTimeValues();
    store.setBonusTime(bonuses.at(s % bonuses.size()));
    SOAK_STEP(renderFrame());
}

void TestSoak::runObserverWheel()
{
    GameStore &store = m_rig->store;
    SOAK_STEP(expectScreen(u"observerWheel"_qs));
    // The names flick by on the game's clock, the disc spins on animation time.
    auto *view = currentLayer()->property("view").value<QQuickItem *>();
    for (int i = 0; i < 8; ++i) {
        m_rig->clock.advance(400ms);
        m_driver.advanceBy(300);
    }
    QVERIFY(view->property("isComplete").toBool());
    m_driver.advanceBy(1000);
    SOAK_STEP(renderFrame());
    store.confirmObserver();
}

void TestSoak::formTeams()
{
    GameStore &store = m_rig->store;
    const int s = slot();
    store.openFormation();
    SOAK_STEP(expectScreen(u"formation"_qs));
    if (s == 3) {
        // Back to the settings and on again.
        store.setScreenName(u"setup"_qs);
        SOAK_STEP(expectScreen(u"setup"_qs));
        store.openFormation();
        SOAK_STEP(expectScreen(u"formation"_qs));
    }
    const bool random = s % 2 == 0;
    store.formTeams(random);
    if (store.leavesObserver()) {
        if (s == 5) {
            // Back from the wheel before it stops, and again.
            SOAK_STEP(expectScreen(u"observerWheel"_qs));
            m_rig->clock.advance(500ms);
            store.cancelObserver();
            SOAK_STEP(expectScreen(u"formation"_qs));
            store.formTeams(random);
        }
        SOAK_STEP(runObserverWheel());
    }
    SOAK_STEP(expectScreen(u"teams"_qs));
    if (s % 3 == 0)
        store.setTeamName(0, u"Совы %1"_qs.arg(s));
    store.setScreenName(u"ready"_qs);
}

void TestSoak::throwWord()
{
    GameStore &store = m_rig->store;
    const qint64 before = store.guessedCount() + store.skippedCount();
    switch (dice(6)) {
    case 0:
    case 1:
        // The card thrown on the play screen itself; the store hears of it once it has flown.
        QTest::keyClick(m_window, dice(2) == 0 ? Qt::Key_Right : Qt::Key_Left);
        m_driver.advanceBy(100);
        m_rig->clock.advance(210ms);
        break;
    case 2:
        store.markGuessed();
        break;
    case 3:
        store.markSkipped();
        break;
    default:
        store.handleSwipeInTurn(dice(2) == 0 ? 140 : -140, store.turnNumber());
        break;
    }
    QCOMPARE(store.guessedCount() + store.skippedCount(), before + 1);
    m_driver.advanceBy(100);
    SOAK_STEP(renderFrame());
}

void TestSoak::letTimeRunOut()
{
    GameStore &store = m_rig->store;
    // Half the time with a frame drawn on the way, then the rest.
    m_rig->clock.advance(std::chrono::seconds(store.remainingTime() / 2));
    m_driver.advanceBy(300);
    SOAK_STEP(renderFrame());
    m_rig->clock.advance(std::chrono::seconds(store.remainingTime() + 1));
}

void TestSoak::playTurn()
{
    GameStore &store = m_rig->store;
    SOAK_STEP(expectScreen(u"ready"_qs));
    const qint64 turn = store.turnNumber();
    if (dice(2) == 0)
        SOAK_STEP(tapCentre("startTurn"));
    else
        store.startTurn();
    QCOMPARE(store.turnNumber(), turn + 1);
    ++m_turns;
    SOAK_STEP(expectScreen(u"playing"_qs));
    const int words = dice(5);
    for (int i = 0; i < words && store.screenNameText() == u"playing"; ++i)
        SOAK_STEP(throwWord());
    if (store.screenNameText() == u"playing")
        SOAK_STEP(letTimeRunOut());
}

void TestSoak::playGame()
{
    GameStore &store = m_rig->store;
    const int s = slot();
    // The same slot of every cycle draws the same numbers.
    m_rig->random = ScriptedRandom(1000 + s);
    m_dice.seed(1000 + s);
    // The fakes' own records would grow with every turn; they are not the game's memory.
    m_rig->haptics.cues.clear();
    m_rig->audio.log.clear();

    if (store.screenNameText() == u"home") {
        if (s == 0 || s == 4)
            SOAK_STEP(visitOwnWords());
        store.startNewGame();
    }
    SOAK_STEP(expectScreen(u"setup"_qs));
    SOAK_STEP(chooseSettings());
    SOAK_STEP(formTeams());

    for (int turnInGame = 0;; ++turnInGame) {
        SOAK_STEP(playTurn());
        if (store.screenNameText() == u"winner")
            break;
        SOAK_STEP(expectScreen(u"summary"_qs));
        if (s == 6 && turnInGame == 1) {
            // Left in the middle of the game.
            store.goHome();
            SOAK_STEP(expectScreen(u"home"_qs));
            return;
        }
        if (dice(2) == 0)
            SOAK_STEP(tapCentre("continueTarget"));
        else
            store.continueAfterSummary();
    }

    SOAK_STEP(expectScreen(u"winner"_qs));
    QVERIFY(store.winner().has_value());
    // The last game of a cycle always ends at home.
    if (s % 2 == 1) {
        store.goHome();
        SOAK_STEP(expectScreen(u"home"_qs));
    } else {
        store.replay();
    }
}

void TestSoak::staysLevel()
{
    const int turns = qEnvironmentVariableIntValue("GLIMP_SOAK_TURNS") > 0
            ? qEnvironmentVariableIntValue("GLIMP_SOAK_TURNS")
            : 150;
    QVERIFY2(s_countsObjects, "Qt's object hooks are not available");

    QElapsedTimer elapsed;
    elapsed.start();
    // The warm-up ends with the first cycle past a tenth of the turns: every screen has been
    // seen, and the caches hold what the games show.
    std::optional<Footprint> warm;
    Footprint end;
    while (!warm || end.turn == warm->turn || m_turns < turns) {
        for (int game = 0; game < cycleGames; ++game) {
            SOAK_STEP(playGame());
            ++m_games;
        }
        QCOMPARE(m_rig->store.screenNameText(), u"home"_qs);
        end = measure();
        if (!warm && end.turn >= turns / 10)
            warm = end;
    }
    QCOMPARE(QSet<QString>(allScreens.begin(), allScreens.end()), m_seen);

    const int span = end.turn - warm->turn;
    const qint64 heapGrowth = end.heap - warm->heap;
    const qint64 objectGrowth = end.objects - warm->objects;
    const qint64 residentGrowth = end.resident - warm->resident;
    std::printf("soak: %d turns in %d games, %.1f s; from turn %d to %d: heap %+lld B "
                "(%+.1f B/turn), QObjects %+lld, RSS %+lld kB (%+.1f B/turn)\n",
                m_turns, m_games, elapsed.elapsed() / 1000.0, warm->turn, end.turn,
                static_cast<long long>(heapGrowth), double(heapGrowth) / span,
                static_cast<long long>(objectGrowth),
                static_cast<long long>(residentGrowth / 1024), double(residentGrowth) / span);
    std::fflush(stdout);

    // From one cycle's end to the next the heap breathes by some tens of kilobytes, however
    // many turns were played (what the collector has not yet given back, the engine's
    // caches). A leak adds up with every turn: one of 64 bytes a turn fails 2,000 turns.
    const qint64 heapNoise = 64 * 1024;
    const qint64 heapPerTurn = 32;
    QVERIFY2(heapGrowth <= heapNoise + heapPerTurn * span,
             qPrintable(u"the heap grew by %1 bytes in %2 turns"_qs.arg(heapGrowth).arg(span)));
    // The same moment of every cycle has the same objects.
    QVERIFY2(objectGrowth <= 0,
             qPrintable(u"%1 more QObjects after %2 turns"_qs.arg(objectGrowth).arg(span)));
#ifndef GLIMP_SOAK_ASAN
    // Also what the heap figure does not see: the JavaScript heap, mapped memory. (Under
    // AddressSanitizer, freed memory waits in quarantine and the RSS rises regardless.)
    const qint64 residentNoise = 1024 * 1024;
    const qint64 residentPerTurn = 256;
    QVERIFY2(residentGrowth <= residentNoise + residentPerTurn * span,
             qPrintable(u"the RSS grew by %1 kB in %2 turns"_qs.arg(residentGrowth / 1024)
                                .arg(span)));
#endif
}

QTEST_MAIN(TestSoak)

#include "tst_soak.moc"
