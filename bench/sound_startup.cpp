// Start-up with sound: how long the first frame takes with the 14 cues loading, against a
// bare Qt Quick window, and what readying every cue costs. Each start is a fresh process
// (the benchmark runs itself), alternating the variants so that machine noise hits all alike.
//
//   bare     a Qt Quick window and nothing else
//   sound    SoundEffects made before the window loads, its backend made and the cues
//            loaded once the first frame is drawn, as in the game; the CPU time of every
//            thread and the wall time from then until every cue is ready
//   first    the same, with a cue played as the first frame is drawn: how long that play
//            call waits (its cue is loaded on the spot)
//   players  for comparison, one QMediaPlayer per cue made before the window loads
#include "BenchTable.h"
#include "DeferredAudioBackend.h"
#include "QtAudioBackend.h"
#include "SoundEffects.h"
#include "SystemRandom.h"

#include <QAudioOutput>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMediaPlayer>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <thread>
#include <vector>

#include <time.h>

using namespace Qt::StringLiterals;

namespace {

const char *const windowQml = R"(
import QtQuick
import QtQuick.Window
Window {
    width: 390; height: 844; visible: true; color: "#FFF7E3"
    Text { anchors.centerIn: parent; text: "Новая игра"; font.pixelSize: 32 }
}
)";

// Every thread's CPU time so far, those that have ended included.
double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// One start in this process; prints "key=ms" pairs on one line.
int child(const QString &variant, int argc, char *argv[])
{
    QElapsedTimer clock;
    clock.start();
    QGuiApplication app(argc, argv);
    std::map<QString, double> result;
    const auto stamp = [&] { return clock.nsecsElapsed() / 1e6; };

    std::unique_ptr<DeferredAudioBackend> backend;
    std::unique_ptr<SystemRandom> random;
    std::unique_ptr<SoundEffects> sound;
    std::vector<std::unique_ptr<QMediaPlayer>> players;
    int playersLoaded = 0;
    std::thread watcher;

    const double before = stamp();
    const bool loads = variant == u"sound" || variant == u"first";
    if (loads) {
        backend = std::make_unique<DeferredAudioBackend>(
                [] { return std::make_unique<QtAudioBackend>(QtAudioBackend::Start::whenAsked); },
                u":/Sounds"_s);
        random = std::make_unique<SystemRandom>();
        sound = std::make_unique<SoundEffects>(*backend, *random);
    } else if (variant == u"players") {
        for (const QString &file : QDir(u":/Sounds"_s).entryList(QDir::Files)) {
            auto player = std::make_unique<QMediaPlayer>();
            player->setAudioOutput(new QAudioOutput(player.get()));
            QObject::connect(player.get(), &QMediaPlayer::mediaStatusChanged, &app,
                             [&](QMediaPlayer::MediaStatus status) {
                                 if (status != QMediaPlayer::LoadedMedia || ++playersLoaded < 14)
                                     return;
                                 result[u"ready"_s] = stamp();
                                 if (result.count(u"frame"_s))
                                     app.quit();
                             });
            player->setSource(QUrl(u"qrc:/Sounds/"_s + file));
            players.push_back(std::move(player));
        }
    }
    result[u"blocking"_s] = stamp() - before;

    QQmlApplicationEngine engine;
    engine.loadData(windowQml);
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().value(0));
    if (!window)
        return 1;
    QObject::connect(window, &QQuickWindow::frameSwapped, &app, [&] {
        if (!result.count(u"frame"_s))
            result[u"frame"_s] = stamp();
    }, Qt::DirectConnection);
    // Once the first frame is on screen, as the game does it.
    QObject::connect(window, &QQuickWindow::frameSwapped, &app, [&] {
        if (!loads) {
            if (variant == u"bare" || result.count(u"ready"_s))
                app.quit();
            return;
        }
        const double cpu = processCpuMs();
        const double start = stamp();
        backend->startLoading();
        if (variant == u"first") {
            sound->playLong(sound->skipNames.first());
            result[u"played"_s] = stamp() - start;
            app.quit();
            return;
        }
        auto *real = static_cast<QtAudioBackend *>(backend->backend());
        watcher = std::thread([&, real, cpu, start] {
            real->waitUntilLoaded();
            result[u"readyCpu"_s] = processCpuMs() - cpu;
            result[u"ready"_s] = stamp() - start;
            QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
        });
    }, Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    QTimer::singleShot(20000, &app, &QCoreApplication::quit);
    app.exec();
    if (watcher.joinable())
        watcher.join();

    for (const auto &[key, ms] : result)
        std::printf("%s=%.3f ", qPrintable(key), ms);
    std::printf("\n");
    return 0;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 3 && QByteArray(argv[1]) == "--child")
        return child(QString::fromLatin1(argv[2]), argc, argv);

    QCoreApplication app(argc, argv);
    // The comparison players complain about the missing sound server once each.
    qputenv("QT_LOGGING_RULES", "qt.multimedia*=false");
    const int runs = argc >= 2 ? qMax(3, QByteArray(argv[1]).toInt()) : 15;
    const QStringList variants{u"bare"_s, u"sound"_s, u"first"_s, u"players"_s};
    std::map<QString, std::map<QString, std::vector<double>>> samples;

    for (int run = 0; run < runs + 1; ++run) {
        for (const QString &variant : variants) {
            QProcess process;
            process.start(QCoreApplication::applicationFilePath(), {u"--child"_s, variant});
            if (!process.waitForFinished(30000) || process.exitCode() != 0) {
                std::fprintf(stderr, "sound_startup: the %s start failed:\n%s\n", qPrintable(variant),
                             process.readAllStandardError().constData());
                return 1;
            }
            if (run == 0)
                continue; // the first round only warms the disk cache
            for (const QByteArray &pair : process.readAllStandardOutput().trimmed().split(' ')) {
                const QList<QByteArray> parts = pair.split('=');
                if (parts.size() == 2)
                    samples[variant][QString::fromLatin1(parts[0])].push_back(parts[1].toDouble());
            }
        }
    }

    BenchTable table;
    const double bareFrame = median(samples[u"bare"_s][u"frame"_s]);
    const std::map<QString, const char *> labels{
        {u"bare"_s, "start-up with sound: bare Qt Quick window"},
        {u"sound"_s, "start-up with sound: cues loaded after the first frame"},
        {u"players"_s, "start-up with sound: 14 QMediaPlayers before the window"}};
    for (const QString &variant : variants) {
        auto &values = samples[variant];
        if (variant == u"first"_s) {
            BenchTable::row(u"  a cue played at the first frame: its play call (loads it first)"_s,
                            BenchTable::ms3(median(values[u"played"_s])),
                            u"p90 "_s + BenchTable::ms3(BenchTable::percentile(values[u"played"_s], 90)),
                            QString(), QString());
            continue;
        }
        const double frame = median(values[u"frame"_s]);
        BenchTable::row(QString::fromUtf8(labels.at(variant)) + u", first frame"_s,
                        BenchTable::ms3(frame), u"%1× bare"_s.arg(frame / bareFrame, 0, 'f', 2),
                        QString(), QString());
        if (variant != u"bare"_s) {
            BenchTable::row(u"  main thread held before the window"_s,
                            BenchTable::ms3(median(values[u"blocking"_s])), QString(), QString(),
                            QString());
        }
        if (values.count(u"readyCpu"_s)) {
            const double cpu = median(values[u"readyCpu"_s]);
            table.verdict(u"  every cue ready, from the first frame: all threads' CPU"_s,
                          BenchTable::ms3(cpu),
                          u"p90 "_s + BenchTable::ms3(BenchTable::percentile(values[u"readyCpu"_s], 90)),
                          u"≤ 100 ms"_s, cpu <= 100);
            BenchTable::row(u"  the same, wall clock"_s, BenchTable::ms3(median(values[u"ready"_s])),
                            u"p90 "_s + BenchTable::ms3(BenchTable::percentile(values[u"ready"_s], 90)),
                            QString(), QString());
        } else if (values.count(u"ready"_s)) {
            BenchTable::row(u"  every cue ready"_s, BenchTable::ms3(median(values[u"ready"_s])),
                            QString(), QString(), QString());
        }
    }
    return table.anyMissed() ? 1 : 0;
}
