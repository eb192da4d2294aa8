#include "SteppedAnimationDriver.h"

#include <QCoreApplication>

void SteppedAnimationDriver::advanceBy(int ms)
{
    // Animations that were just started register on the next pass of the event loop.
    QCoreApplication::processEvents();
    for (int done = 0; done < ms; done += stepMs) {
        m_elapsed += stepMs;
        advance();
        QCoreApplication::processEvents();
    }
}
