#include "SpringMotion.h"

#include <cmath>
#include <numbers>

SpringMotion::Parameters SpringMotion::fromResponse(double response, double dampingFraction)
{
    if (!(response > 0) || !std::isfinite(response))
        return {};
    const double zeta = std::isnan(dampingFraction) ? 0.0 : std::max(0.0, dampingFraction);
    const double h = stepSeconds;
    const double omega = 2 * std::numbers::pi / response;
    const double a = zeta * omega * h;
    // The step's two eigenvalues must equal e^(λh) of the continuous spring: their product
    // fixes the damping, their sum the spring.
    double c = 1;
    if (zeta < 1)
        c = std::cos(omega * h * std::sqrt(1 - zeta * zeta));
    else if (zeta > 1)
        c = std::cosh(omega * h * std::sqrt(zeta * zeta - 1));
    const double decay = std::exp(-a);
    return {(1 + decay * decay - 2 * decay * c) / h, 1 - decay * decay};
}

QVariantMap SpringMotion::parameters(double response, double dampingFraction) const
{
    const Parameters p = fromResponse(response, dampingFraction);
    return {{QStringLiteral("spring"), p.spring}, {QStringLiteral("damping"), p.damping}};
}
