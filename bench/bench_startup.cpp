// Cold start: from starting the process to the first frame of the home screen, the game
// against a bare Qt Quick window that registers the same fonts and draws one line in them.
// Both offscreen on the software renderer, each start a fresh process, the two alternating
// so that machine noise hits both alike. The game prints the monotonic clock and its main
// thread's CPU time at its first frame when GLIMP_QUIT_AFTER_FIRST_FRAME is set, and quits.
// The wall clock is what is judged: the game's loader and font threads work while its main
// thread waits, so the main thread's CPU time (shown beside it) tells only part of the story.
// On a busy machine both programs slow down, the game's threads more; measure when quiet.
#include "BenchTable.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

const char *const windowQml = R"(
import QtQuick
import QtQuick.Window
Window {
    width: 390; height: 844; visible: true; color: "#FFF7E3"
    Text {
        anchors.centerIn: parent
        text: "Новая игра"
        font { family: "Nunito"; pixelSize: 32; weight: Font.Black }
    }
}
)";

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

int bareWindow(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QDir fonts(QStringLiteral(":/fonts"));
    for (const QString &name : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(name));
    QQmlApplicationEngine engine;
    engine.loadData(windowQml);
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().value(0));
    if (!window)
        return 1;
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [] {
        timespec cpu{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        std::printf("first-frame-ns=%lld\nmain-thread-cpu-ns=%lld\n", monotonicNs(),
                    cpu.tv_sec * 1000000000LL + cpu.tv_nsec);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }, Qt::DirectConnection);
    return app.exec();
}

struct Start
{
    double wallMs = -1; // from starting the process to its first frame
    double cpuMs = -1;  // the main thread's CPU time until then
};

// One start, or a negative wall time when it failed.
Start start(const QString &program, const QStringList &arguments, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    const qint64 started = monotonicNs();
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        std::fprintf(stderr, "bench_startup: %s failed:\n%s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        return {};
    }
    Start result;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (line.startsWith("first-frame-ns="))
            result.wallMs = (line.mid(15).toLongLong() - started) / 1e6;
        else if (line.startsWith("main-thread-cpu-ns="))
            result.cpuMs = line.mid(19).toLongLong() / 1e6;
    }
    return result.cpuMs < 0 ? Start{} : result;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 2 && QByteArray(argv[1]) == "--bare")
        return bareWindow(argc, argv);

    QCoreApplication app(argc, argv);
    const int runs = argc >= 2 ? qMax(3, QByteArray(argv[1]).toInt()) : 41;
    // The game starts as on a first launch: its own empty settings directory.
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("GLIMP_QUIT_AFTER_FIRST_FRAME"), QStringLiteral("1"));

    std::vector<double> bare, game, bareCpu, gameCpu;
    for (int run = 0; run < runs + 1; ++run) {
        const Start b = start(QCoreApplication::applicationFilePath(), {QStringLiteral("--bare")}, env);
        const Start g = start(QStringLiteral(GLIMP_GAME_BINARY), {}, env);
        if (b.wallMs < 0 || g.wallMs < 0)
            return 2;
        if (run == 0)
            continue; // the first round only warms the disk cache
        bare.push_back(b.wallMs);
        game.push_back(g.wallMs);
        bareCpu.push_back(b.cpuMs);
        gameCpu.push_back(g.cpuMs);
    }
    const auto median = [](const std::vector<double> &v) { return BenchTable::percentile(v, 50); };
    const double ratio = median(game) / median(bare);
    const double cpuRatio = median(gameCpu) / median(bareCpu);
    BenchTable table;
    BenchTable::row(QStringLiteral("cold start → first frame: bare Qt Quick window, same fonts"),
                    BenchTable::ms3(median(bare)),
                    QStringLiteral("p90 ") + BenchTable::ms3(BenchTable::percentile(bare, 90)), {},
                    {});
    BenchTable::row(QStringLiteral("  its main thread's CPU time"), BenchTable::ms3(median(bareCpu)),
                    QStringLiteral("p90 ") + BenchTable::ms3(BenchTable::percentile(bareCpu, 90)),
                    {}, {});
    BenchTable::row(QStringLiteral("cold start → first frame: the game's home screen"),
                    BenchTable::ms3(median(game)),
                    QStringLiteral("p90 ") + BenchTable::ms3(BenchTable::percentile(game, 90)), {},
                    {});
    BenchTable::row(QStringLiteral("  its main thread's CPU time"), BenchTable::ms3(median(gameCpu)),
                    QStringLiteral("p90 ") + BenchTable::ms3(BenchTable::percentile(gameCpu, 90)),
                    {}, {});
    table.verdict(QStringLiteral("cold start, game ÷ bare window, wall clock (%1 starts each)").arg(runs),
                  QString::number(ratio, 'f', 2) + QStringLiteral("×"), {}, QStringLiteral("≤ 1.3×"),
                  ratio <= 1.3);
    BenchTable::row(QStringLiteral("  the same, main thread CPU"),
                    QString::number(cpuRatio, 'f', 2) + QStringLiteral("×"), {}, {}, {});
    return table.anyMissed() ? 1 : 0;
}
