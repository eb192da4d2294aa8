#pragma once

#include <QAnimationDriver>
#include <QCoreApplication>

// Animation time that moves only when told, in the 16 ms steps Qt Quick animates in, so a
// spring or a timer can be looked at at an exact moment.
class SteppedAnimationDriver : public QAnimationDriver
{
public:
    static constexpr int stepMs = 16;

    using QAnimationDriver::QAnimationDriver;

    qint64 elapsed() const override { return m_elapsed; }
    // Moves time forward by ms, rounded up to whole steps, ticking every animation each step.
    void advanceBy(int ms)
    {
        // Animations that were just started register on the next pass of the event loop.
        QCoreApplication::processEvents();
        for (int done = 0; done < ms; done += stepMs) {
            m_elapsed += stepMs;
            advance();
            QCoreApplication::processEvents();
        }
    }

private:
    qint64 m_elapsed = 0;
};
