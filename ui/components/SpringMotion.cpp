#include "SpringMotion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

SpringMotion::Parameters SpringMotion::fromResponse(double response, double dampingFraction)
{
    if (!(response > 0) || !std::isfinite(response))
        return {};
    // Past a million the spring no longer moves in any time that matters.
    const double zeta = std::isnan(dampingFraction) ? 0.0 : std::clamp(dampingFraction, 0.0, 1e6);
    const double h = stepSeconds;
    const double omega = 2 * std::numbers::pi / response;
    const double a = zeta * omega * h;
    // The step's two eigenvalues must equal e^(λh) of the continuous spring: their product
    // fixes the damping, their sum (2·e^(−a)·C) the spring.
    const double decay = std::exp(-a);
    double decayC = decay;
    if (zeta < 1) {
        decayC = decay * std::cos(omega * h * std::sqrt(1 - zeta * zeta));
    } else if (zeta > 1) {
        // e^(−a)·cosh(b) without overflowing cosh for heavy damping.
        const double b = omega * h * std::sqrt(zeta * zeta - 1);
        decayC = 0.5 * (std::exp(b - a) + std::exp(-a - b));
    }
    return {(1 + decay * decay - 2 * decayC) / h, 1 - decay * decay};
}

QVariantMap SpringMotion::parameters(double response, double dampingFraction) const
{
    const Parameters p = fromResponse(response, dampingFraction);
    return {{QStringLiteral("spring"), p.spring}, {QStringLiteral("damping"), p.damping}};
}
