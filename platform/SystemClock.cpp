#include "SystemClock.h"

#include <QTimer>

namespace {

class QtClockTimer final : public ClockTimer
{
public:
    QtClockTimer(std::chrono::milliseconds delay, std::function<void()> fire)
        : m_timer(new QTimer)
    {
        m_timer->setSingleShot(true);
        m_timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(m_timer, &QTimer::timeout, std::move(fire));
        m_timer->start(delay);
    }

    ~QtClockTimer() override
    {
        // The owner often lets go of its timer from inside the timeout itself.
        m_timer->stop();
        m_timer->deleteLater();
    }

private:
    QTimer *m_timer;
};

} // namespace

SystemClock::SystemClock()
{
    m_elapsed.start();
}

std::chrono::milliseconds SystemClock::now() const
{
    return std::chrono::milliseconds(m_elapsed.elapsed());
}

std::unique_ptr<ClockTimer> SystemClock::after(std::chrono::milliseconds delay,
                                               std::function<void()> fire)
{
    return std::make_unique<QtClockTimer>(delay, std::move(fire));
}
