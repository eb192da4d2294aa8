#include "CardThrow.h"

#include "Clock.h"
#include "GameStore.h"

#include <cmath>

CardThrow::CardThrow(QObject *parent) : QObject(parent) { }

CardThrow::~CardThrow() = default;

void CardThrow::setGame(GameStore *game)
{
    m_game = game;
    emit gameChanged();
}

bool CardThrow::release(double dx)
{
    // NaN compares false both ways: it never throws.
    if (m_isLeaving || !m_game || !(std::abs(dx) > acceptDistanceValue))
        return false;
    const qint64 turn = m_game->turnNumber();
    setLeaving(true);
    m_timer = m_game->clock().after(reportDelay, [this, dx, turn] { land(dx, turn); });
    return true;
}

void CardThrow::land(double dx, qint64 turn)
{
    m_timer.reset();
    if (m_game)
        m_game->handleSwipeInTurn(dx, turn);
    setLeaving(false);
    emit landed(dx);
}

void CardThrow::setLeaving(bool leaving)
{
    m_isLeaving = leaving;
    emit isLeavingChanged();
}
