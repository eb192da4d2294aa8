#pragma once

#include <QElapsedTimer>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

// Times a step repeatedly and prints "benchmark | median | spread | target | verdict" rows,
// the one row format every benchmark prints (scripts/bench puts them under one header).
// A target of 0 only reports. Medians are what we compare: these machines are shared and
// noisy.
class BenchTable
{
public:
    void add(const QString &name, double targetMs, const std::function<void()> &step, int runs = 41)
    {
        add(name, targetMs, [] { }, step, runs);
    }

    // setup runs untimed before every timed step. A row with a target is judged on the
    // main thread's CPU time (on a shared machine the wall clock also counts the time other
    // processes held the core); the wall clock follows it as a row of its own.
    void add(const QString &name, double targetMs, const std::function<void()> &setup,
             const std::function<void()> &step, int runs = 41)
    {
        setup();
        step(); // warm caches and lazily built lists
        std::vector<double> ms;
        std::vector<double> cpuMs;
        for (int i = 0; i < runs; ++i) {
            setup();
            const double cpuStart = threadCpuMs();
            QElapsedTimer timer;
            timer.start();
            step();
            ms.push_back(timer.nsecsElapsed() / 1e6);
            cpuMs.push_back(threadCpuMs() - cpuStart);
        }
        const double median = percentile(ms, 50);
        const double p90 = percentile(ms, 90);
        if (targetMs <= 0) {
            row(name, ms3(median), QStringLiteral("p90 ") + ms3(p90), QString(), QString());
        } else {
            const double cpu = percentile(cpuMs, 50);
            verdict(name + QStringLiteral(" (CPU)"), ms3(cpu),
                    QStringLiteral("p90 ") + ms3(percentile(cpuMs, 90)),
                    QStringLiteral("≤ %1 ms").arg(targetMs, 0, 'f', 1), cpu <= targetMs);
            row(QStringLiteral("  the same, wall clock"), ms3(median),
                QStringLiteral("p90 ") + ms3(p90), QString(), QString());
        }
    }

    static double threadCpuMs()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
    }

    // A row with a target: remembers a miss for the exit code.
    void verdict(const QString &name, const QString &median, const QString &spread,
                 const QString &target, bool met)
    {
        m_failed |= !met;
        row(name, median, spread, target, met ? QStringLiteral("met") : QStringLiteral("MISSED"));
    }

    static void header()
    {
        std::printf("| %-70s | %12s | %16s | %12s | %-7s |\n", "benchmark", "median", "spread",
                    "target", "verdict");
        std::printf("|%s|%s|%s|%s|%s|\n", QByteArray(72, '-').constData(),
                    QByteArray(14, '-').constData(), QByteArray(18, '-').constData(),
                    QByteArray(14, '-').constData(), QByteArray(9, '-').constData());
        std::fflush(stdout);
    }

    static void row(const QString &name, const QString &median, const QString &spread,
                    const QString &target, const QString &verdict)
    {
        // Widths in characters, not bytes: most names are Russian or carry symbols.
        const auto pad = [](const QString &text, int width, bool right) {
            const QString fill(qMax(0, width - int(text.size())), QLatin1Char(' '));
            return (right ? fill + text : text + fill).toUtf8();
        };
        std::printf("| %s | %s | %s | %s | %s |\n", pad(name, 70, false).constData(),
                    pad(median, 12, true).constData(), pad(spread, 16, true).constData(),
                    pad(target.isEmpty() ? QStringLiteral("report") : target, 12, true).constData(),
                    pad(verdict.isEmpty() ? QStringLiteral("—") : verdict, 7, false).constData());
        std::fflush(stdout);
    }

    static QString ms3(double ms) { return QString::number(ms, 'f', 3) + QStringLiteral(" ms"); }

    // The value below which pct percent of the samples lie (nearest rank).
    static double percentile(std::vector<double> values, double pct)
    {
        if (values.empty())
            return 0;
        std::sort(values.begin(), values.end());
        const size_t rank = size_t(pct / 100.0 * double(values.size()));
        return values[std::min(rank, values.size() - 1)];
    }

    bool anyMissed() const { return m_failed; }

private:
    bool m_failed = false;
};
