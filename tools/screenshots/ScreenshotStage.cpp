#include "ScreenshotStage.h"

#include "Scenario.h"
#include "SteppedAnimationDriver.h"
#include "StoreRig.h"

#include <QQuickWindow>
#include <QTest>

ScreenshotStage::ScreenshotStage(const Scenario &scenario, SteppedAnimationDriver &driver,
                                 QSize size)
    : m_driver(driver), m_rig(std::make_unique<StoreRig>())
{
    if (scenario.prepare)
        scenario.prepare(*m_rig);

    m_engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    m_engine.setInitialProperties({{QStringLiteral("game"), QVariant::fromValue(&m_rig->store)}});
    const QString page = scenario.page.isEmpty()
            ? QStringLiteral("qrc:/qt/qml/TarvukeGlimp/Main.qml")
            : scenario.page;
    m_engine.load(QUrl(page));
    if (m_engine.rootObjects().isEmpty())
        return;
    m_window = qobject_cast<QQuickWindow *>(m_engine.rootObjects().constFirst());
    if (!m_window)
        return;
    m_window->resize(size);
    m_window->show();
    advance(SteppedAnimationDriver::stepMs);
    // Whatever moves comes to rest, unless the scenario is about the movement.
    if (scenario.act)
        scenario.act(*this);
    else
        advance(1500);
}

ScreenshotStage::~ScreenshotStage() = default;

void ScreenshotStage::advance(int ms)
{
    m_driver.advanceBy(ms);
}

void ScreenshotStage::tap(QPointF at)
{
    QTest::mouseClick(m_window, Qt::LeftButton, {}, at.toPoint());
    advance(SteppedAnimationDriver::stepMs);
}

void ScreenshotStage::drag(QPointF from, QPointF to, int ms, bool hold)
{
    QTest::mousePress(m_window, Qt::LeftButton, {}, from.toPoint());
    const int steps = std::max(1, ms / SteppedAnimationDriver::stepMs);
    for (int i = 1; i <= steps; ++i) {
        const QPointF at = from + (to - from) * (qreal(i) / steps);
        QTest::mouseMove(m_window, at.toPoint());
        advance(SteppedAnimationDriver::stepMs);
    }
    if (!hold)
        QTest::mouseRelease(m_window, Qt::LeftButton, {}, to.toPoint());
}

QImage ScreenshotStage::grab()
{
    return m_window->grabWindow();
}
