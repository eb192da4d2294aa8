// From a skip swipe to the skip sound: the time GameStore::handleSwipe takes to reach the
// player's play call, and what the Qt Multimedia player's play call itself costs, on the
// real cues. With a sound server running the play call opens a stream and hands it the
// whole cue; without one (a headless box) it returns at once and stays silent. With a
// sound server, also the time until the cue's first samples come back from the sink's
// monitor (scripts/bench starts PulseAudio with a null sink for that).
#include "FakeHaptics.h"
#include "FakePreferences.h"
#include "GameStore.h"
#include "ManualClock.h"
#include "QtAudioBackend.h"
#include "SoundEffects.h"
#include "SystemRandom.h"

#include "BenchTable.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QProcess>
#include <cstdlib>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QElapsedTimer g_clock;

// Passes every call on to the real player, noting when play was called and how long it took.
class TimedPlayer final : public AudioPlayer
{
public:
    TimedPlayer(std::unique_ptr<AudioPlayer> player, std::vector<qint64> &calls,
                std::vector<qint64> &durations)
        : m_player(std::move(player)), m_calls(calls), m_durations(durations)
    {
    }

    void setVolume(float volume) override { m_player->setVolume(volume); }
    void prepare() override { m_player->prepare(); }
    void setPosition(double seconds) override { m_player->setPosition(seconds); }
    void play() override
    {
        const qint64 start = g_clock.nsecsElapsed();
        m_calls.push_back(start);
        m_player->play();
        m_durations.push_back(g_clock.nsecsElapsed() - start);
    }
    void stop() override { m_player->stop(); }

private:
    std::unique_ptr<AudioPlayer> m_player;
    std::vector<qint64> &m_calls;
    std::vector<qint64> &m_durations;
};

class TimedBackend final : public AudioBackend
{
public:
    QString locate(const QString &name) override { return real.locate(name); }
    std::unique_ptr<AudioPlayer> createPlayer(const QString &path) override
    {
        std::unique_ptr<AudioPlayer> player = real.createPlayer(path);
        if (!player)
            return nullptr;
        return std::make_unique<TimedPlayer>(std::move(player), playCalls, playDurations);
    }

    QtAudioBackend real;
    std::vector<qint64> playCalls;
    std::vector<qint64> playDurations;
};

void row(const char *name, const std::vector<double> &us)
{
    const auto text = [](double value) { return QString::number(value, 'f', 1) + u" µs"_s; };
    BenchTable::row(QString::fromUtf8(name), text(BenchTable::percentile(us, 50)),
                    u"p90 "_s + text(BenchTable::percentile(us, 90)), QString(), QString());
}

// Plays the skip cue repeatedly and times each play call until the first sample that is
// not silence comes back from the default sink's monitor, recorded by parec (Qt lists no
// monitor sources). What the monitor and parec add (a 2 ms fragment, a pipe) is part of the
// figure, so it is an upper bound of what reaches the sink. Empty when parec cannot run.
std::vector<double> sinkDelays(GameStore &game, TimedBackend &backend)
{
    QProcess parec;
    parec.start(u"parec"_s, {u"--raw"_s, u"--format=s16le"_s, u"--channels=1"_s,
                              u"--rate=48000"_s, u"--latency-msec=2"_s,
                              u"--device=@DEFAULT_MONITOR@"_s});
    if (!parec.waitForStarted(3000))
        return {};
    qint64 heardAt = -1;
    QByteArray pending;
    QObject::connect(&parec, &QProcess::readyReadStandardOutput, &parec, [&] {
        pending += parec.readAllStandardOutput();
        const qsizetype usable = pending.size() & ~qsizetype(1);
        const auto *samples = reinterpret_cast<const qint16 *>(pending.constData());
        for (qsizetype i = 0; heardAt < 0 && i < usable / 2; ++i) {
            if (std::abs(samples[i]) > 64)
                heardAt = g_clock.nsecsElapsed();
        }
        pending.remove(0, usable);
    });
    const auto spin = [](int ms) {
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    spin(500);
    std::vector<double> delays;
    for (int i = 0; i < 25; ++i) {
        if (game.screen() != AppScreen::playing) {
            game.setScreen(AppScreen::ready);
            game.startTurn();
        }
        backend.playCalls.clear();
        heardAt = -1;
        game.handleSwipe(-100);
        if (backend.playCalls.empty())
            continue;
        QElapsedTimer wait;
        wait.start();
        while (heardAt < 0 && wait.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (heardAt >= 0)
            delays.push_back((heardAt - backend.playCalls.back()) / 1e6);
        // The whole cue and its tail of silence, before the next swipe.
        spin(700);
    }
    parec.kill();
    parec.waitForFinished(3000);
    return delays;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    g_clock.start();
    FakePreferences prefs;
    FakeHaptics haptics;
    ManualClock clock;
    SystemRandom random;
    TimedBackend backend;
    SoundEffects sound(backend, random);
    GameStore game(prefs, sound, haptics, clock, random);
    backend.real.waitUntilLoaded();
    BenchTable table;

    game.setPlayerText(QStringLiteral("Аня\nБорис"));
    game.formTeams(false);
    game.setScreen(AppScreen::ready);

    const bool device = !QMediaDevices::defaultAudioOutput().isNull();

    std::vector<double> toPlay;
    std::vector<double> swipe;
    backend.playCalls.clear();
    backend.playDurations.clear();
    for (int i = 0; i < 200; ++i) {
        if (game.screen() != AppScreen::playing) {
            game.setScreen(AppScreen::ready);
            game.startTurn();
        }
        const qint64 start = g_clock.nsecsElapsed();
        game.handleSwipe(-100);
        swipe.push_back((g_clock.nsecsElapsed() - start) / 1e3);
        if (!backend.playCalls.empty())
            toPlay.push_back((backend.playCalls.back() - start) / 1e3);
        backend.playCalls.clear();
        // Let the sink settle as it would between two swipes.
        QCoreApplication::processEvents();
    }
    std::vector<double> playUs;
    for (qint64 ns : backend.playDurations)
        playUs.push_back(ns / 1e3);

    const QString where = device ? u"sound server"_s : u"no sound device, silent"_s;
    const double median = BenchTable::percentile(toPlay, 50);
    table.verdict(u"skip swipe → skip sound's play call (%1)"_s.arg(where),
                  QString::number(median, 'f', 1) + u" µs"_s,
                  u"p90 %1 µs"_s.arg(BenchTable::percentile(toPlay, 90), 0, 'f', 1),
                  u"< 1 ms"_s, !toPlay.empty() && median < 1000);
    row("  the play call itself (rewind, open stream, hand over the cue)", playUs);
    row("  whole handleSwipe(-100), play call included", swipe);

    if (device) {
        const std::vector<double> ms = sinkDelays(game, backend);
        if (ms.empty()) {
            BenchTable::row(u"skip play call → first samples at the sink"_s, u"—"_s, QString(),
                            QString(), u"not measured: parec recorded nothing"_s);
        } else {
            BenchTable::row(u"skip play call → first samples at the sink (monitor, parec)"_s,
                            BenchTable::ms3(BenchTable::percentile(ms, 50)),
                            u"p90 "_s + BenchTable::ms3(BenchTable::percentile(ms, 90)),
                            QString(), QString());
        }
    }
    return table.anyMissed() ? 1 : 0;
}
