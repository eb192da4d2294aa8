#pragma once

#include <QObject>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

// Turns a spring given as (response, damping fraction) into the spring and damping of
// QML's SpringAnimation, which steps v += spring·Δ − damping·v, x += v·h every h = 16 ms
// at mass 1. The values make that stepping land exactly on the continuous damped
// oscillator at every step, so animations keep the timing they were designed with.
class SpringMotion : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    struct Parameters
    {
        double spring = 0;
        double damping = 0;
    };

    // SpringAnimation's fixed step.
    static constexpr double stepSeconds = 0.016;

    // A response of zero or less (or not a number) means no animation: spring and damping
    // 0, which makes SpringAnimation jump to its target. Negative damping fractions count
    // as 0, and huge ones stay finite.
    static Parameters fromResponse(double response, double dampingFraction);

    // {spring, damping} for QML.
    Q_INVOKABLE QVariantMap parameters(double response, double dampingFraction) const;

    using QObject::QObject;
};
