// Frames as the player sees them, through the real screens and a real store, 390 × 844 on
// the software renderer: the card dragged over 60 frames and thrown, the cross-fades between
// the screens of a turn, how many frames a swipe takes to show the next word, and the
// memory after start, after the first turns and its growth from there to turn 200;
// the CPU the play screen takes at rest during a turn (the clock's pulse its only motion).
// With --gl, the phone's draw path instead: OpenGL ES through EGL (Mesa's llvmpipe where
// there is no GPU), only the home screen's first frame and the play screen at rest.
#include "BenchTable.h"
#include "BenchWindow.h"
#include "FakeAudio.h"
#include "FakeHaptics.h"
#include "FakePreferences.h"
#include "GameStore.h"
#include "SoundEffects.h"
#include "SystemClock.h"
#include "SystemRandom.h"
#include "UiAssets.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPointer>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSurfaceFormat>
#include <QTest>
#include <QTimer>
#include <ctime>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

QElapsedTimer g_clock;

qint64 now()
{
    return g_clock.nsecsElapsed();
}

// CPU time of this thread: what the frame cost, without the time other processes on this
// shared machine took the core away.
qint64 cpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

// The times of one frame, in ns on g_clock.
struct Frame
{
    qint64 request = 0;     // the update request that started it
    qint64 renderStart = 0; // the scene graph's render pass
    qint64 renderEnd = 0;
    qint64 renderCpu = 0;   // CPU time of the render pass
    qint64 swapped = 0;
    QString word;           // the card's word as synchronised into this frame
};

// Notes every frame the window draws, and what the card showed in it.
class FrameRecorder : public QObject
{
public:
    explicit FrameRecorder(QQuickWindow *window) : m_window(window)
    {
        window->installEventFilter(this);
        connect(window, &QQuickWindow::afterSynchronizing, this,
                [this] { m_next.word = m_word ? m_word->property("text").toString() : QString(); },
                Qt::DirectConnection);
        connect(window, &QQuickWindow::beforeRendering, this,
                [this] {
                    m_next.renderStart = now();
                    m_renderCpuStart = cpuNow();
                }, Qt::DirectConnection);
        connect(window, &QQuickWindow::afterRendering, this, [this] {
            m_next.renderEnd = now();
            m_next.renderCpu = cpuNow() - m_renderCpuStart;
        }, Qt::DirectConnection);
        connect(window, &QQuickWindow::frameSwapped, this, [this] {
            m_next.swapped = now();
            if (!m_next.request)
                m_next.request = m_next.renderStart;
            frames.push_back(m_next);
            m_next = {};
        }, Qt::DirectConnection);
    }

    void watchWord(QQuickItem *word) { m_word = word; }

    // Runs the event loop until one more frame is drawn; false when none came in time.
    bool waitFrame(int timeoutMs = 200)
    {
        const size_t count = frames.size();
        QElapsedTimer wait;
        wait.start();
        while (frames.size() == count && wait.elapsed() < timeoutMs)
            spin();
        return frames.size() > count;
    }

    // Lets every animation run for ms, drawing whatever frames they ask for.
    void run(int ms)
    {
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < ms)
            spin();
    }

    std::vector<Frame> frames;

protected:
    // Up to 5 ms of the event loop, asleep while nothing happens, deleting what was let go as
    // the application's own loop would. (processEvents with a time limit never waits for
    // events: the benchmark would spin and count its own spinning as the game's CPU time.)
    static void spin()
    {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::UpdateRequest && !m_next.request)
            m_next.request = now();
        return false;
    }

private:
    QQuickWindow *m_window;
    QPointer<QQuickItem> m_word;
    Frame m_next;
    qint64 m_renderCpuStart = 0;
};

QQuickItem *findItem(QQuickItem *item, const QString &name)
{
    if (item->objectName() == name && item->isVisible())
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

// The screens on show: the current one and those still fading out.
int screenLayers(QQuickItem *item)
{
    int layers = QByteArray(item->metaObject()->className()).startsWith("ScreenLayer");
    for (QQuickItem *child : item->childItems())
        layers += screenLayers(child);
    return layers;
}

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// What the allocator has handed out and not had back, every thread's arena and mmapped
// blocks together: the game's own memory, without the allocator's free pages.
double heapInUseMiB()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// The least-squares line through (x, y) points: its value at x = from, and its slope.
std::pair<double, double> leastSquaresLine(const std::vector<std::pair<double, double>> &points,
                                           double from)
{
    double meanX = 0, meanY = 0;
    for (const auto &[x, y] : points) {
        meanX += x;
        meanY += y;
    }
    meanX /= double(points.size());
    meanY /= double(points.size());
    double covariance = 0, variance = 0;
    for (const auto &[x, y] : points) {
        covariance += (x - meanX) * (y - meanY);
        variance += (x - meanX) * (x - meanX);
    }
    const double slope = variance > 0 ? covariance / variance : 0;
    return {meanY + slope * (from - meanX), slope};
}

// CPU time of the whole process, every thread (a threaded render loop draws on its own).
double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// A turn started, its screen settled, then 10 s of it untouched: the share of one core the
// process used, and the frames drawn per second.
std::pair<double, double> playScreenAtRest(GameStore &game, FrameRecorder &recorder)
{
    game.startTurn();
    recorder.run(1500);
    const size_t frames = recorder.frames.size();
    const double cpu = processCpuMs();
    QElapsedTimer wall;
    wall.start();
    recorder.run(10000);
    const double seconds = wall.nsecsElapsed() / 1e9;
    return {(processCpuMs() - cpu) / (seconds * 10.0), (recorder.frames.size() - frames) / seconds};
}

void restRow(const QString &name, const std::pair<double, double> &rest)
{
    BenchTable::row(name, QString::number(rest.first, 'f', 1) + QStringLiteral(" %"),
                    QString::number(rest.second, 'f', 1) + QStringLiteral(" frames/s"), {}, {});
}

struct Spread
{
    std::vector<double> medians;
    std::vector<double> p99s;

    enum Kind { render, renderCpu, whole };

    // One run's frames, in ms.
    void add(const std::vector<Frame> &frames, size_t from, Kind kind)
    {
        std::vector<double> ms;
        for (size_t i = from; i < frames.size(); ++i) {
            const Frame &f = frames[i];
            const qint64 ns = kind == whole       ? f.swapped - f.request
                              : kind == render ? f.renderEnd - f.renderStart
                                               : f.renderCpu;
            ms.push_back(ns / 1e6);
        }
        if (ms.empty())
            return;
        medians.push_back(BenchTable::percentile(ms, 50));
        p99s.push_back(BenchTable::percentile(ms, 99));
    }

    double median() const { return BenchTable::percentile(medians, 50); }
    double p99() const { return BenchTable::percentile(p99s, 50); }
};

} // namespace

int main(int argc, char *argv[])
{
    g_clock.start();
    const bool gl = argc >= 2 && QByteArray(argv[1]) == "--gl";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (gl) {
        // As on a phone: OpenGL ES through EGL, the render loop Qt picks.
        QSurfaceFormat format = QSurfaceFormat::defaultFormat();
        format.setRenderableType(QSurfaceFormat::OpenGLES);
        QSurfaceFormat::setDefaultFormat(format);
        QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);
    } else {
        qputenv("QSG_RENDER_LOOP", "basic");
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    UiAssets::install();
    const int runs = argc >= 2 && !gl ? qMax(3, QByteArray(argv[1]).toInt()) : 9;

    FakePreferences prefs;
    FakeHaptics haptics;
    SystemClock clock;
    SystemRandom random;
    FakeAudioBackend audio;
    SoundEffects sound(audio, random);
    GameStore game(prefs, sound, haptics, clock, random);
    game.setPlayerText(QStringLiteral("Аня\nБорис\nВера\nГлеб"));
    game.setDifficulty(QStringLiteral("Сложная"));
    game.setWordsToWin(1000000);
    game.setRoundDuration(600);

    QQmlApplicationEngine engine;
    const qint64 loading = now();
    const double loadingCpu = processCpuMs();
    QQuickWindow *window = loadGameWindow(engine, game);
    if (!window)
        return 2;
    FrameRecorder recorder(window);
    QString renderer;
    QObject::connect(window, &QQuickWindow::beforeRendering, window, [&renderer] {
        if (const QOpenGLContext *context = QOpenGLContext::currentContext(); context && renderer.isEmpty()) {
            renderer = QString::fromLatin1(reinterpret_cast<const char *>(
                    context->functions()->glGetString(GL_RENDERER))).section(QLatin1Char(' '), 0, 0);
            if (context->isOpenGLES())
                renderer += QStringLiteral(", GLES");
        }
    }, Qt::DirectConnection);
    if (!recorder.waitFrame(gl ? 30000 : 5000))
        return 2;
    if (gl) {
        const double firstFrameMs = (recorder.frames.front().swapped - loading) / 1e6;
        const double firstFrameCpu = processCpuMs() - loadingCpu;
        game.formTeams(false);
        game.setScreen(AppScreen::ready);
        recorder.run(1500);
        const auto rest = playScreenAtRest(game, recorder);
        if (!renderer.contains(QStringLiteral("GLES"))) {
            std::fprintf(stderr, "bench_frames --gl: no OpenGL ES context (%s)\n", qPrintable(renderer));
            return 2;
        }
        BenchTable::row(QStringLiteral("GL (%1): the home screen's window → first frame").arg(renderer),
                        BenchTable::ms3(firstFrameMs),
                        QStringLiteral("CPU ") + BenchTable::ms3(firstFrameCpu), {}, {});
        restRow(QStringLiteral("GL: play screen at rest during a turn, 10 s, CPU of one core"), rest);
        return 0;
    }
    // What the benchmark itself keeps (the frames it timed, the fakes' logs of every sound
    // and haptic cue) is let go before each reading and each later turn: only the game's
    // own memory is measured.
    const auto forgetRecords = [&] {
        recorder.frames.clear();
        audio.log.clear();
        haptics.cues.clear();
    };
    const auto settle = [&] {
        recorder.run(1200);
        forgetRecords();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        engine.collectGarbage();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // What glibc keeps free for reuse after a burst is not the game's: handed back first.
        malloc_trim(0);
    };
    // Settled on the home screen: the resident size after start.
    settle();
    const double startMiB = residentMiB();
    const double startHeap = heapInUseMiB();

    game.formTeams(false);
    game.setScreen(AppScreen::ready);
    settle();
    int turns = 0;

    Spread dragRender, dragCpu, dragWhole, fadeRender, fadeCpu, fadeWhole;
    std::vector<double> build[3];
    std::vector<double> swipeFrames, throwMs;
    // One cross-fade: the change of screen, then its frames until the springs settle.
    const auto fade = [&](int kind, const std::function<void()> &change) {
        const qint64 start = now();
        change();
        build[kind].push_back((now() - start) / 1e6);
        const size_t from = recorder.frames.size();
        recorder.run(900);
        fadeRender.add(recorder.frames, from, Spread::render);
        fadeCpu.add(recorder.frames, from, Spread::renderCpu);
        fadeWhole.add(recorder.frames, from, Spread::whole);
    };

    for (int run = 0; run < runs; ++run) {
        fade(0, [&] { game.startTurn(); });
        ++turns;
        QQuickItem *dragArea = findItem(window->contentItem(), QStringLiteral("dragArea"));
        QQuickItem *word = findItem(window->contentItem(), QStringLiteral("word"));
        if (!dragArea || !word) {
            std::fputs("bench_frames: no card on the play screen\n", stderr);
            return 2;
        }
        recorder.watchWord(word);

        // A swipe straight to the store: frames until the new word is drawn.
        for (int i = 0; i < 5; ++i) {
            game.handleSwipe(i % 2 ? -100 : 100);
            const QString next = game.currentWord();
            int frames = 0;
            while (recorder.waitFrame(500)) {
                ++frames;
                if (recorder.frames.back().word == next)
                    break;
            }
            swipeFrames.push_back(recorder.frames.back().word == next ? frames : 99);
            recorder.run(100);
        }

        // The drag: 60 frames of the finger moving right, then let go to throw the card.
        const QPoint centre = dragArea->mapToScene(QPointF(dragArea->width() / 2,
                                                           dragArea->height() / 2)).toPoint();
        const QString before = game.currentWord();
        const size_t from = recorder.frames.size();
        QTest::mousePress(window, Qt::LeftButton, {}, centre);
        QPoint at = centre;
        for (int i = 1; i <= 60; ++i) {
            at = centre + QPoint(i * 3, i / 4);
            QTest::mouseMove(window, at);
            recorder.waitFrame(50);
        }
        const qint64 released = now();
        QTest::mouseRelease(window, Qt::LeftButton, {}, at);
        qint64 shown = 0;
        QElapsedTimer flight;
        flight.start();
        while (flight.elapsed() < 600) {
            if (!recorder.waitFrame(50))
                continue;
            if (!shown && recorder.frames.back().word != before)
                shown = recorder.frames.back().swapped;
        }
        dragRender.add(recorder.frames, from, Spread::render);
        dragCpu.add(recorder.frames, from, Spread::renderCpu);
        dragWhole.add(recorder.frames, from, Spread::whole);
        if (shown)
            throwMs.push_back((shown - released) / 1e6);

        fade(1, [&] { game.endTurn(false); });
        recorder.watchWord(nullptr);
        fade(2, [&] { game.continueAfterSummary(); });
    }

    settle();
    const double warmMiB = residentMiB();
    const double warmHeap = heapInUseMiB();
    const int warmTurns = turns;
    // The heap after every turn from here on, what the script engine let go collected first.
    std::vector<std::pair<double, double>> heapByTurn{{turns, warmHeap}};

    // The rest of 200 turns, a few words each, its screens changed without waiting for their
    // fades; but a turn starts only once the last one's fades have settled, as a real turn
    // (a minute long) always does. Otherwise a burst of half-faded screens sets the heap's
    // high-water mark, which glibc keeps, and the row measured the burst, not the turns.
    while (turns < 200) {
        forgetRecords();
        game.startTurn();
        ++turns;
        recorder.waitFrame(50);
        for (int i = 0; i < 4; ++i) {
            game.handleSwipe(i % 2 ? -100 : 100);
            recorder.waitFrame(50);
        }
        game.endTurn(false);
        recorder.waitFrame(50);
        game.continueAfterSummary();
        QElapsedTimer settling;
        settling.start();
        while (screenLayers(window->contentItem()) > 1 && settling.elapsed() < 5000)
            recorder.waitFrame(50);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        engine.collectGarbage();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        heapByTurn.emplace_back(turns, heapInUseMiB());
    }
    settle();
    const double endMiB = residentMiB();
    const double endHeap = heapInUseMiB();
    const auto rest = playScreenAtRest(game, recorder);

    BenchTable table;
    const auto ms = [](double value) { return BenchTable::ms3(value); };
    // The verdict is on the render pass's own CPU time: on a shared machine the wall clock
    // also counts the time other processes held the core.
    table.verdict(QStringLiteral("card drag (60 frames) and throw: scene graph render (CPU)"),
                  ms(dragCpu.median()), QStringLiteral("p99 ") + ms(dragCpu.p99()),
                  QStringLiteral("p99 ≤ 8.3 ms"), dragCpu.p99() <= 8.3);
    BenchTable::row(QStringLiteral("  the same render pass, wall clock"), ms(dragRender.median()),
                    QStringLiteral("p99 ") + ms(dragRender.p99()), {}, {});
    BenchTable::row(QStringLiteral("  whole frame: update request → swapped (polish, sync, render)"),
                    ms(dragWhole.median()), QStringLiteral("p99 ") + ms(dragWhole.p99()), {}, {});
    table.verdict(QStringLiteral("cross-fades ready → play → summary → ready: render (CPU)"),
                  ms(fadeCpu.median()), QStringLiteral("p99 ") + ms(fadeCpu.p99()),
                  QStringLiteral("p99 ≤ 8.3 ms"), fadeCpu.p99() <= 8.3);
    BenchTable::row(QStringLiteral("  the same render pass, wall clock"), ms(fadeRender.median()),
                    QStringLiteral("p99 ") + ms(fadeRender.p99()), {}, {});
    BenchTable::row(QStringLiteral("  whole frame: update request → swapped (polish, sync, render)"),
                    ms(fadeWhole.median()), QStringLiteral("p99 ") + ms(fadeWhole.p99()), {}, {});
    const char *const builds[3] = {"  building the play screen (startTurn, before its first frame)",
                                   "  building the summary screen (endTurn)",
                                   "  building the ready screen (continueAfterSummary)"};
    for (int kind = 0; kind < 3; ++kind) {
        BenchTable::row(QString::fromUtf8(builds[kind]), ms(BenchTable::percentile(build[kind], 50)),
                        QStringLiteral("p90 ") + ms(BenchTable::percentile(build[kind], 90)), {},
                        {});
    }
    const double frames = BenchTable::percentile(swipeFrames, 50);
    table.verdict(QStringLiteral("swipe accepted (handleSwipe) → frames until the new word shows"),
                  QString::number(frames, 'f', 0) + QStringLiteral(" frames"),
                  QStringLiteral("max %1").arg(BenchTable::percentile(swipeFrames, 100), 0, 'f', 0),
                  QStringLiteral("1 frame"), BenchTable::percentile(swipeFrames, 100) <= 1);
    BenchTable::row(QStringLiteral("  card let go → new word drawn (its 0.2 s flight included)"),
                    ms(BenchTable::percentile(throwMs, 50)),
                    QStringLiteral("p90 ") + ms(BenchTable::percentile(throwMs, 90)), {}, {});
    restRow(QStringLiteral("play screen at rest during a turn, 10 s, CPU of one core"), rest);
    // Judged per turn: the first turns' screens and glyphs are the cost of playing, not a
    // leak, so growth is counted from the warm size on. The verdict is on the heap in use:
    // the resident size also holds what the allocator and the script engine's collector
    // keep of their high-water marks and the library code a new path first touches, all
    // of which level off by about turn 60.
    const auto mib = [](double value) { return QString::number(value, 'f', 2) + QStringLiteral(" MiB"); };
    const auto onWarm = [](double value, double warm) {
        return QString::asprintf("%+.2f %%", (value - warm) / warm * 100.0);
    };
    BenchTable::row(QStringLiteral("heap in use after start (home screen settled)"), mib(startHeap),
                    {}, {}, {});
    BenchTable::row(QStringLiteral("heap in use after %1 turns (fonts, screens, words in use)")
                            .arg(warmTurns),
                    mib(warmHeap), onWarm(warmHeap, startHeap) + QStringLiteral(" on start"), {}, {});
    BenchTable::row(QStringLiteral("heap in use after %1 turns").arg(turns), mib(endHeap),
                    onWarm(endHeap, warmHeap) + QStringLiteral(" on turn %1").arg(warmTurns), {}, {});
    // Two readings differ by whatever glyphs and font engines the last turns' words left in
    // Qt's font cache (up to 4 MB, about 2 % either way); a line through every turn's reading
    // measures the growth, not which words came last.
    const auto [atWarm, perTurn] = leastSquaresLine(heapByTurn, warmTurns);
    const double growth = perTurn * (turns - warmTurns) / atWarm * 100.0;
    table.verdict(QStringLiteral("heap in use, growth from turn %1 to %2 (a line through each turn's)")
                          .arg(warmTurns)
                          .arg(turns),
                  QString::asprintf("%+.2f %%", growth),
                  QString::asprintf("%+.1f KiB a turn", perTurn * 1024.0), QStringLiteral("< 1 %"),
                  growth < 1.0);
    BenchTable::row(QStringLiteral("resident size after start"), mib(startMiB), {}, {}, {});
    BenchTable::row(QStringLiteral("resident size after %1 turns").arg(warmTurns), mib(warmMiB),
                    onWarm(warmMiB, startMiB) + QStringLiteral(" on start"), {}, {});
    BenchTable::row(QStringLiteral("resident size after %1 turns, growth from turn %2").arg(turns).arg(warmTurns),
                    mib(endMiB), onWarm(endMiB, warmMiB), {}, {});
    return table.anyMissed() ? 1 : 0;
}
