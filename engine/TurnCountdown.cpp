#include "TurnCountdown.h"

#include "Clock.h"
#include "GameStore.h"

using namespace std::chrono_literals;

std::shared_ptr<TurnCountdown> TurnCountdown::start(Clock &clock, GameStore *store)
{
    std::shared_ptr<TurnCountdown> countdown(new TurnCountdown(clock, store));
    countdown->sleep();
    return countdown;
}

TurnCountdown::TurnCountdown(Clock &clock, GameStore *store)
    : m_clock(clock)
    , m_store(store)
{
}

TurnCountdown::~TurnCountdown() = default;

void TurnCountdown::cancel()
{
    m_cancelled = true;
    m_timer.reset();
}

void TurnCountdown::sleep()
{
    // Each second starts after the previous tick was handled.
    const std::weak_ptr<TurnCountdown> self = weak_from_this();
    m_timer = m_clock.after(1s, [self] {
        if (const auto countdown = self.lock())
            countdown->wake();
    });
}

void TurnCountdown::wake()
{
    if (m_cancelled)
        return;
    // Keep the countdown alive while the store handles the tick: it may cancel us.
    const auto keepAlive = shared_from_this();
    if (GameStore *store = m_store.data())
        store->countdownTick();
    if (!m_cancelled)
        sleep();
}
