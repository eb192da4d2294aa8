#pragma once

#include <QPointer>
#include <memory>

class Clock;
class ClockTimer;
class GameStore;

// The once-a-second countdown of a running turn. It holds the store weakly and stops
// for good when cancelled: a cancelled countdown never touches a later turn.
class TurnCountdown : public std::enable_shared_from_this<TurnCountdown>
{
public:
    static std::shared_ptr<TurnCountdown> start(Clock &clock, GameStore *store);
    ~TurnCountdown();

    void cancel();
    bool isCancelled() const { return m_cancelled; }

private:
    TurnCountdown(Clock &clock, GameStore *store);
    void sleep();
    void wake();

    Clock &m_clock;
    QPointer<GameStore> m_store;
    std::unique_ptr<ClockTimer> m_timer;
    bool m_cancelled = false;
};
