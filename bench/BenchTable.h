#pragma once

#include <QElapsedTimer>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Times a step repeatedly and prints "name | median | p90 | target | verdict" rows;
// a target of 0 only reports.
// Medians are what we compare: these machines are shared and noisy.
class BenchTable
{
public:
    void add(const QString &name, double targetMs, const std::function<void()> &step, int runs = 41)
    {
        add(name, targetMs, [] { }, step, runs);
    }

    // setup runs untimed before every timed step.
    void add(const QString &name, double targetMs, const std::function<void()> &setup,
             const std::function<void()> &step, int runs = 41)
    {
        setup();
        step(); // warm caches and lazily built lists
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            setup();
            QElapsedTimer timer;
            timer.start();
            step();
            ms.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        const double median = ms[ms.size() / 2];
        const double p90 = ms[ms.size() * 9 / 10];
        if (targetMs <= 0) {
            std::printf("| %-68s | %8.3f ms | %8.3f ms |   report | — |\n", qPrintable(name), median, p90);
        } else {
            m_failed |= median > targetMs;
            std::printf("| %-68s | %8.3f ms | %8.3f ms | ≤ %.1f ms | %s |\n", qPrintable(name), median,
                        p90, targetMs, median <= targetMs ? "met" : "MISSED");
        }
        std::fflush(stdout);
    }

    bool anyMissed() const { return m_failed; }

private:
    bool m_failed = false;
};
