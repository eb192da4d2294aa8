#include "SpringMotion.h"
#include "SteppedAnimationDriver.h"
#include "UiAssets.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QtTest>
#include <cmath>
#include <numbers>

namespace {

// Closed-form distance from the target of a damped oscillator released at rest, as a
// multiple of the initial distance.
double continuousOffset(double response, double zeta, double t)
{
    const double omega = 2 * std::numbers::pi / response;
    const double decay = std::exp(-zeta * omega * t);
    if (zeta < 1) {
        const double wd = omega * std::sqrt(1 - zeta * zeta);
        return decay * (std::cos(wd * t) + zeta * omega / wd * std::sin(wd * t));
    }
    if (zeta == 1)
        return decay * (1 + omega * t);
    const double wd = omega * std::sqrt(zeta * zeta - 1);
    return decay * (std::cosh(wd * t) + zeta * omega / wd * std::sinh(wd * t));
}

// The continuous oscillator's step-to-step recurrence e(t+h) = T·e(t) − D·e(t−h), read off
// the closed form itself: any of its trajectories obeys it.
std::pair<double, double> continuousRecurrence(double response, double zeta, double h)
{
    const double e0 = continuousOffset(response, zeta, 0);
    const double e1 = continuousOffset(response, zeta, h);
    const double e2 = continuousOffset(response, zeta, 2 * h);
    const double e3 = continuousOffset(response, zeta, 3 * h);
    // Solve e2 = T e1 − D e0 and e3 = T e2 − D e1.
    const double det = -e1 * e1 + e2 * e0;
    const double T = (-e2 * e1 + e3 * e0) / det;
    const double D = (e1 * e3 - e2 * e2) / det;
    return {T, D};
}

// Offsets from the target of SpringAnimation's own stepping, released at rest.
QList<double> steppedOffsets(SpringMotion::Parameters p, int steps)
{
    QList<double> offsets{1.0};
    double x = 1;
    double v = 0;
    for (int i = 0; i < steps; ++i) {
        v += p.spring * (0 - x) - p.damping * v;
        x += v * SpringMotion::stepSeconds;
        offsets.append(x);
    }
    return offsets;
}

} // namespace

class TestSpringMotion : public QObject
{
    Q_OBJECT

private slots:
    void knownValues()
    {
        const auto p = SpringMotion::fromResponse(0.4, 0.7);
        QCOMPARE(std::pair(qRound(p.spring * 1000), qRound(p.damping * 10000)), std::pair(3311, 2966));
    }

    // The stepping with the computed values follows the closed-form oscillator's recurrence
    // at every step, for under-, critically and over-damped springs.
    void followsClosedForm_data()
    {
        QTest::addColumn<double>("response");
        QTest::addColumn<double>("zeta");
        QTest::newRow("screen change") << 0.42 << 0.82;
        QTest::newRow("bouncy") << 0.4 << 0.3;
        QTest::newRow("critical") << 0.5 << 1.0;
        QTest::newRow("overdamped") << 0.3 << 1.6;
        QTest::newRow("slow") << 2.0 << 0.7;
        QTest::newRow("heavy") << 0.3 << 5.0;
    }

    void followsClosedForm()
    {
        QFETCH(double, response);
        QFETCH(double, zeta);
        const double h = SpringMotion::stepSeconds;
        const auto [T, D] = continuousRecurrence(response, zeta, h);
        const QList<double> e = steppedOffsets(SpringMotion::fromResponse(response, zeta), 120);
        for (int n = 1; n + 1 < e.size(); ++n)
            QVERIFY2(std::abs(e[n + 1] - (T * e[n] - D * e[n - 1])) < 1e-9,
                     qPrintable(QStringLiteral("step %1").arg(n)));
    }

    // Nonsense in gives a spring that stands still or creeps, never a growing swing,
    // infinities or NaN.
    void degenerateInput()
    {
        for (auto [response, zeta] : {std::pair{0.0, 0.8}, {-1.0, 0.8}, {std::nan(""), 0.8}, {0.4, -2.0},
                                      {0.4, 1e9}, {0.4, std::numeric_limits<double>::infinity()}}) {
            const auto p = SpringMotion::fromResponse(response, zeta);
            QVERIFY(std::isfinite(p.spring) && p.spring >= 0);
            QVERIFY(std::isfinite(p.damping) && p.damping >= 0 && p.damping <= 1);
        }
    }

    // Qt Quick's own SpringAnimation, driven by the helper through ResponseSpring, moves as the
    // stepping above: the conversion fits the toolkit, not only our model of it.
    void realSpringAnimation()
    {
        SteppedAnimationDriver driver;
        driver.install();

        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        QQmlComponent component(&engine);
        component.setData("import QtQuick\n"
                          "import TarvukeGlimp.Components\n"
                          "Item {\n"
                          "    Behavior on x {\n"
                          "        ResponseSpring { response: 0.42; dampingFraction: 0.82 }\n"
                          "    }\n"
                          "}\n",
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        auto *item = qobject_cast<QQuickItem *>(object.get());
        item->setX(100);

        const QList<double> expected =
                steppedOffsets(SpringMotion::fromResponse(0.42, 0.82), 80);
        item->setProperty("x", 0.0);
        // Qt may spend a tick or two starting the animation; from its first move on, every
        // tick must be exactly one step of the model.
        QList<double> ticks;
        for (int n = 0; n < 70; ++n) {
            driver.advanceBy(SteppedAnimationDriver::stepMs);
            if (!ticks.isEmpty() || item->x() != 100)
                ticks.append(item->x() / 100);
        }
        QVERIFY(ticks.size() >= 60);
        const qsizetype start = std::abs(ticks[0] - expected[1]) < 1e-9 ? 1 : 2;
        for (qsizetype n = 0; n < 60; ++n)
            QVERIFY2(std::abs(ticks[n] - expected[start + n]) < 1e-9,
                     qPrintable(QStringLiteral("tick %1: %2 vs %3")
                                        .arg(n).arg(ticks[n]).arg(expected[start + n])));
        driver.uninstall();
    }
};

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    UiAssets::install();
    TestSpringMotion test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_springmotion.moc"
