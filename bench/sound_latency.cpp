// From a skip swipe to the skip sound: the time GameStore::handleSwipe takes to reach the
// player's play call, and what the Qt Multimedia player's play call itself costs, on the
// real cues. With a sound server running the play call opens a stream and hands it the
// whole cue; without one (a headless box) it returns at once and stays silent.
#include "FakeHaptics.h"
#include "FakePreferences.h"
#include "GameStore.h"
#include "ManualClock.h"
#include "QtAudioBackend.h"
#include "SoundEffects.h"
#include "SystemRandom.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <algorithm>
#include <cstdio>
#include <vector>

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

void row(const char *name, std::vector<double> us)
{
    std::sort(us.begin(), us.end());
    std::printf("| %-68s | %8.1f µs | %8.1f µs |   report | — |\n", name, us[us.size() / 2],
                us[us.size() * 9 / 10]);
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

    game.setPlayerText(QStringLiteral("Аня\nБорис"));
    game.formTeams(false);
    game.setScreen(AppScreen::ready);

    const bool device = !QMediaDevices::defaultAudioOutput().isNull();
    std::printf("Skip swipe to skip sound, %s:\n\n",
                device ? "with a sound server" : "without a sound device (silent)");

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

    std::printf("| %-68s | %11s | %11s | %8s | %s |\n", "step", "median", "p90", "target", "");
    std::printf("|%s|%s|%s|%s|---|\n", QByteArray(70, '-').constData(),
                QByteArray(13, '-').constData(), QByteArray(13, '-').constData(),
                QByteArray(10, '-').constData());
    row("handleSwipe(-100) to the skip player's play call", toPlay);
    row("the play call itself (rewind, open stream, hand over the cue)", playUs);
    row("whole handleSwipe(-100), play call included", swipe);
    return 0;
}
