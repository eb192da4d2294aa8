#pragma once

#include "Clock.h"

#include <QtGlobal>
#include <map>

// Time stands still until the test advances it; due wake-ups then fire in order.
class ManualClock final : public Clock
{
public:
    std::chrono::milliseconds now() const override { return m_now; }
    std::unique_ptr<ClockTimer> after(std::chrono::milliseconds delay, std::function<void()> fire) override
    {
        const Key key{m_now + delay, m_sequence++};
        m_pending.emplace(key, std::move(fire));
        return std::make_unique<Timer>(*this, key);
    }

    // Moves time forward by delta, firing every wake-up that falls due on the way,
    // also those scheduled by earlier wake-ups within the same stretch.
    void advance(std::chrono::milliseconds delta)
    {
        const auto end = m_now + delta;
        while (!m_pending.empty() && m_pending.begin()->first.first <= end) {
            auto due = m_pending.extract(m_pending.begin());
            m_now = due.key().first;
            due.mapped()();
        }
        m_now = end;
    }
    int pendingCount() const { return int(m_pending.size()); }

private:
    using Key = std::pair<std::chrono::milliseconds, quint64>;
    struct Timer final : ClockTimer
    {
        Timer(ManualClock &clock, Key key) : clock(clock), key(key) { }
        ~Timer() override { clock.m_pending.erase(key); }
        ManualClock &clock;
        Key key;
    };
    std::chrono::milliseconds m_now{0};
    quint64 m_sequence = 0;
    std::map<Key, std::function<void()>> m_pending;
};
