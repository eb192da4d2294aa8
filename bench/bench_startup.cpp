// Cold start: from starting the process to the first frame of the home screen, the game
// against a bare Qt Quick window that registers the same fonts and draws one line in them.
// Both offscreen on the software renderer, each start a fresh process, the two alternating
// so that machine noise hits both alike. The game prints the monotonic clock and its main
// thread's CPU time at its first frame when GLIMP_QUIT_AFTER_FIRST_FRAME is set, and quits.
// The wall clock is what is judged: the game's loader and font threads work while its main
// thread waits, so the main thread's CPU time (shown beside it) tells only part of the story.
// On a busy machine both programs slow down, the game's threads more; measure when quiet.
// The same two starts counted in instructions by callgrind, all threads together, up to the
// first frame (the count is dumped as the frame's handler calls QCoreApplication::exit):
// deterministic where the wall clock swings with the machine's load, and what a phone's
// slower cores pay for. One run each.
// Then, on a session bus of its own: a second start while the game runs, from starting it
// to the running game's window brought to the front (the time stamp of the game's log line)
// and to the second start's end.
#include "BenchTable.h"
#include "PrivateBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
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

// Instructions of all threads from the start of program to its first frame, or -1.
qint64 instructionsToFirstFrame(const QString &program, const QStringList &arguments,
                                const QProcessEnvironment &env, const QString &folder)
{
    const QString out = folder + QStringLiteral("/callgrind.out");
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("valgrind"),
                  QStringList{QStringLiteral("--tool=callgrind"), QStringLiteral("--trace-children=no"),
                              QStringLiteral("--separate-threads=no"),
                              QStringLiteral("--dump-before=QCoreApplication::exit*"),
                              QStringLiteral("--callgrind-out-file=") + out, program}
                          + arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0) {
        std::fprintf(stderr, "bench_startup: callgrind of %s failed:\n%s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        return -1;
    }
    // The dump taken at the first frame is the file's first part.
    QFile dump(out + QStringLiteral(".1"));
    if (!dump.open(QIODevice::ReadOnly))
        return -1;
    while (!dump.atEnd()) {
        const QByteArray line = dump.readLine().trimmed();
        if (line.startsWith("summary: ") || line.startsWith("totals: "))
            return line.mid(line.indexOf(' ') + 1).toLongLong();
    }
    return -1;
}

// The monotonic clock in ms, cut to 32 bits as the log's "%{time boot}" is.
quint32 bootMs()
{
    return quint32(QDeadlineTimer::current().deadline());
}

// Medians in ms: second start → running game's window to the front, and → second start ended.
// Empty when no bus could be had or a start failed.
std::vector<std::vector<double>> secondStarts(QProcessEnvironment env, int runs)
{
    const PrivateBus bus(env);
    if (bus.address().isEmpty())
        return {};
    env.remove(QStringLiteral("GLIMP_QUIT_AFTER_FIRST_FRAME"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("glimp.platform.info=true"));
    env.insert(QStringLiteral("QT_MESSAGE_PATTERN"), QStringLiteral("%{time boot} %{message}"));
    const QDBusConnection watcher = QDBusConnection::connectToBus(bus.address(), QStringLiteral("bench"));
    QProcess first;
    first.setProcessEnvironment(env);
    first.setProcessChannelMode(QProcess::MergedChannels);
    first.start(QStringLiteral(GLIMP_GAME_BINARY));
    QElapsedTimer waited;
    waited.start();
    while (!watcher.interface()->isServiceRegistered(QStringLiteral("app.tarvuke.glimp"))) {
        if (waited.elapsed() > 30000)
            return {};
        first.waitForReadyRead(20);
    }
    std::vector<double> raised, ended;
    QByteArray said;
    for (int run = 0; run < runs + 1; ++run) {
        QProcess second;
        second.setProcessEnvironment(env);
        const quint32 started = bootMs();
        second.start(QStringLiteral(GLIMP_GAME_BINARY));
        if (!second.waitForFinished(30000) || second.exitCode() != 0)
            return {};
        const double endedMs = bootMs() - started;
        qsizetype line;
        while ((line = said.indexOf(" window brought to the front\n")) < 0) {
            if (!first.waitForReadyRead(30000))
                return {};
            said += first.readAll();
        }
        const qsizetype from = said.lastIndexOf('\n', line) + 1;
        const double stamp = said.mid(from, line - from).trimmed().toDouble();
        said.remove(0, line + 1);
        if (run == 0)
            continue; // the first round only warms the disk cache
        raised.push_back(quint32(qRound64(stamp * 1000)) - started);
        ended.push_back(endedMs);
    }
    first.terminate();
    first.waitForFinished();
    return {raised, ended};
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

    if (QStandardPaths::findExecutable(QStringLiteral("valgrind")).isEmpty()) {
        std::fputs("bench_startup: valgrind is not installed (scripts/install-deps bench)\n", stderr);
        return 2;
    }
    QTemporaryDir counts;
    const qint64 bareIr = instructionsToFirstFrame(QCoreApplication::applicationFilePath(),
                                                   {QStringLiteral("--bare")}, env, counts.path());
    const qint64 gameIr = instructionsToFirstFrame(QStringLiteral(GLIMP_GAME_BINARY), {}, env,
                                                   counts.path());
    if (bareIr <= 0 || gameIr <= 0)
        return 2;
    const auto millions = [](qint64 ir) { return QString::number(ir / 1e6, 'f', 1) + QStringLiteral(" M"); };
    BenchTable::row(QStringLiteral("instructions → first frame, all threads: bare window (callgrind)"),
                    millions(bareIr), {}, {}, {});
    BenchTable::row(QStringLiteral("instructions → first frame, all threads: the game's home screen"),
                    millions(gameIr), {}, {}, {});
    const double irRatio = double(gameIr) / double(bareIr);
    table.verdict(QStringLiteral("instructions → first frame, game ÷ bare window"),
                  QString::number(irRatio, 'f', 2) + QStringLiteral("×"),
                  QStringLiteral("+") + millions(gameIr - bareIr), QStringLiteral("≤ 1.2×"),
                  irRatio <= 1.2);

    const auto second = secondStarts(env, runs);
    if (second.empty())
        return 2;
    BenchTable::row(QStringLiteral("second start → the running game's window to the front"),
                    BenchTable::ms3(median(second[0])),
                    QStringLiteral("p90 ") + BenchTable::ms3(BenchTable::percentile(second[0], 90)),
                    {}, {});
    BenchTable::row(QStringLiteral("  → the second start ended"), BenchTable::ms3(median(second[1])),
                    QStringLiteral("p90 ") + BenchTable::ms3(BenchTable::percentile(second[1], 90)),
                    {}, {});
    return table.anyMissed() ? 1 : 0;
}
