#pragma once

#include "Clock.h"

#include <QtGlobal>
#include <map>

// Time stands still until the test advances it; due wake-ups then fire in order.
class ManualClock final : public Clock
{
public:
    std::chrono::milliseconds now() const override { return m_now; }
    std::unique_ptr<ClockTimer> after(std::chrono::milliseconds delay,
                                      std::function<void()> fire) override;

    // Moves time forward by delta, firing every wake-up that falls due on the way,
    // also those scheduled by earlier wake-ups within the same stretch.
    void advance(std::chrono::milliseconds delta);
    int pendingCount() const { return int(m_pending.size()); }

private:
    friend class ManualClockTimer;
    using Key = std::pair<std::chrono::milliseconds, quint64>;
    std::chrono::milliseconds m_now{0};
    quint64 m_sequence = 0;
    std::map<Key, std::function<void()>> m_pending;
};
