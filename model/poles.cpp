#include "model/poles.h"

#include <cmath>

namespace t1::model {

namespace {

// A pole on the unit circle computes a few ulps inside it: it must not pass.
constexpr double kCircleMargin = 1e-9;
// The zero cancels a pole when q0 z + q1 vanishes there to this fraction of
// its terms: the 5,52 and -4,52 of the lessons cancel a = exp(-1/5) so.
constexpr double kCancelTolerance = 1e-3;

// z^2 + b z + c = 0, real roots taken so as not to subtract near equals.
std::vector<std::complex<double>> quadraticRoots(double b, double c)
{
    const double disc = b * b - 4 * c;
    if (disc < 0) {
        const double re = -b / 2;
        const double im = std::sqrt(-disc) / 2;
        return {{re, im}, {re, -im}};
    }
    const double q = -(b + std::copysign(std::sqrt(disc), b)) / 2;
    if (q == 0)
        return {0.0, 0.0};
    return {q, c / q};
}

bool cancelledByZero(const Parameters& p, std::complex<double> z)
{
    if (p.q0 == 0)
        return false;
    const double residue = std::abs(p.q0 * z + p.q1);
    return residue <= kCancelTolerance * (std::abs(p.q0) * std::abs(z) + std::abs(p.q1));
}

}  // namespace

Poles closedLoopPoles(const Parameters& p)
{
    const double a = std::exp(-p.ratio);
    Poles result;
    if (p.kind == RegulatorKind::P) {
        result.poles.push_back({a - p.g * (1 - a), false});
    } else {
        const double b = (1 - a) * p.q0 - (1 + a);
        const double c = a + (1 - a) * p.q1;
        for (std::complex<double> z : quadraticRoots(b, c))
            result.poles.push_back({z, cancelledByZero(p, z)});
    }
    result.stable = true;
    for (const Pole& pole : result.poles)
        result.stable = result.stable && std::abs(pole.z) < 1 - kCircleMargin;
    return result;
}

}  // namespace t1::model
