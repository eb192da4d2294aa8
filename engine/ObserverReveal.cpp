#include "ObserverReveal.h"

#include "Clock.h"
#include "GameStore.h"
#include "Haptics.h"

ObserverReveal::ObserverReveal(QObject *parent)
    : QObject(parent)
    , m_displayedName(QStringLiteral("Крутим…"))
{
}

ObserverReveal::~ObserverReveal() = default;

void ObserverReveal::setGame(GameStore *game)
{
    m_game = game;
    emit gameChanged();
}

bool ObserverReveal::start()
{
    if (!m_game || m_cancelled || m_started)
        return false;
    if (!m_game->observer() || m_game->observerCandidates().isEmpty())
        return false;
    m_started = true;
    m_observer = *m_game->observer();
    flick(0);
    return true;
}

void ObserverReveal::cancel()
{
    m_cancelled = true;
    m_timer.reset();
}

void ObserverReveal::flick(int step)
{
    if (m_cancelled || !m_game)
        return;
    if (step == stepCount) {
        reveal();
        return;
    }
    // The list is read afresh at every step; an emptied one keeps the last name shown.
    const QStringList &candidates = m_game->observerCandidates();
    if (!candidates.isEmpty())
        setDisplayedName(candidates.at(step % candidates.size()));
    m_timer = m_game->clock().after(std::chrono::milliseconds(waitAfterStepMs(step)),
                                    [this, step] { flick(step + 1); });
}

void ObserverReveal::reveal()
{
    m_timer.reset();
    setDisplayedName(m_observer);
    m_game->haptics().notify(HapticCue::success);
    qCInfo(lcGame).noquote() << "observer revealed" << m_observer;
    m_isComplete = true;
    emit isCompleteChanged();
}

void ObserverReveal::setDisplayedName(const QString &name)
{
    m_displayedName = name;
    emit displayedNameChanged();
}
