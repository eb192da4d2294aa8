#pragma once

#include "RandomSource.h"

#include <QList>
#include <random>

// Seeded and repeatable. Queued values are handed out first (each taken modulo the
// bound), so a test can steer one particular draw.
class ScriptedRandom final : public RandomSource
{
public:
    explicit ScriptedRandom(quint64 seed = 1) : m_engine(seed) { }

    quint64 bounded(quint64 bound) override
    {
        ++drawCount;
        bounds.append(bound);
        if (!queue.isEmpty())
            return queue.takeFirst() % bound;
        return std::uniform_int_distribution<quint64>(0, bound - 1)(m_engine);
    }

    QList<quint64> queue;
    QList<quint64> bounds;
    int drawCount = 0;

private:
    std::mt19937_64 m_engine;
};
