#pragma once

#include <chrono>
#include <functional>
#include <memory>

// A pending wake-up; destroying it cancels the wake-up.
class ClockTimer
{
public:
    virtual ~ClockTimer() = default;
};

// Monotonic time and one-shot wake-ups on the main thread.
class Clock
{
public:
    virtual ~Clock() = default;

    virtual std::chrono::milliseconds now() const = 0;
    // Calls fire once, delay from now, on the main thread, unless the returned timer
    // is destroyed first.
    [[nodiscard]] virtual std::unique_ptr<ClockTimer> after(std::chrono::milliseconds delay,
                                                            std::function<void()> fire) = 0;
};
