#pragma once

#include "Clock.h"

#include <QElapsedTimer>

// Wall-clock independent time (CLOCK_MONOTONIC) with precise QTimers.
class SystemClock final : public Clock
{
public:
    SystemClock();

    std::chrono::milliseconds now() const override;
    std::unique_ptr<ClockTimer> after(std::chrono::milliseconds delay,
                                      std::function<void()> fire) override;

private:
    QElapsedTimer m_elapsed;
};
