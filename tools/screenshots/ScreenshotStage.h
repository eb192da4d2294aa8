#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QQmlApplicationEngine>
#include <memory>

class QQuickWindow;
class SteppedAnimationDriver;
class StoreRig;
struct Scenario;

// The game's window for one scenario, offscreen at a phone's size, with animation time that
// moves only when the scenario says so.
class ScreenshotStage
{
public:
    ScreenshotStage(const Scenario &scenario, SteppedAnimationDriver &driver,
                    QSize size = {390, 844});
    ~ScreenshotStage();

    // False when the window could not be built; errors were printed.
    bool isReady() const { return m_window != nullptr; }
    StoreRig &rig() { return *m_rig; }
    QQuickWindow *window() const { return m_window; }

    // Lets ms of animation time pass.
    void advance(int ms);
    void tap(QPointF at);
    // A finger put down at from and moved to to over ms, in 16 ms steps; lifted unless hold.
    void drag(QPointF from, QPointF to, int ms, bool hold = false);
    QImage grab();

private:
    SteppedAnimationDriver &m_driver;
    std::unique_ptr<StoreRig> m_rig;
    QQmlApplicationEngine m_engine;
    QQuickWindow *m_window = nullptr;
};
