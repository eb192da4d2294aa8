#include "ManualClock.h"

class ManualClockTimer final : public ClockTimer
{
public:
    ManualClockTimer(ManualClock &clock, ManualClock::Key key) : m_clock(clock), m_key(key) { }
    ~ManualClockTimer() override { m_clock.m_pending.erase(m_key); }

private:
    ManualClock &m_clock;
    ManualClock::Key m_key;
};

std::unique_ptr<ClockTimer> ManualClock::after(std::chrono::milliseconds delay,
                                               std::function<void()> fire)
{
    const Key key{m_now + delay, m_sequence++};
    m_pending.emplace(key, std::move(fire));
    return std::make_unique<ManualClockTimer>(*this, key);
}

void ManualClock::advance(std::chrono::milliseconds delta)
{
    const auto end = m_now + delta;
    while (!m_pending.empty() && m_pending.begin()->first.first <= end) {
        auto due = m_pending.extract(m_pending.begin());
        m_now = due.key().first;
        due.mapped()();
    }
    m_now = end;
}
