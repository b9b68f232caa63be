#include "model/transfer.h"

#include <cmath>

namespace t1::model {

namespace {

// A delay this close to a whole number of periods is one.
constexpr double kWholePeriods = 1e-9;

}  // namespace

Transfer ovenTransfer(const Parameters& p)
{
    const double a = std::exp(-p.ratio);
    const double periods = p.oven.delay / p.ratio;
    double d = std::floor(periods);
    double f = periods - d;
    if (f > 1 - kWholePeriods) {
        d += 1;
        f = 0;
    } else if (f < kWholePeriods) {
        f = 0;
    }
    // a^(1-f), exactly a when f = 0 so that b2 vanishes.
    const double partial = f == 0 ? a : std::exp(-p.ratio * (1 - f));
    const double b1 = p.oven.gain * (1 - partial);
    const double b2 = p.oven.gain * (partial - a);
    Transfer g;
    g.num = trimmed({b2, b1});
    g.den.assign(static_cast<std::size_t>(d) + 1, 0.0);
    g.den.push_back(-a);
    g.den.push_back(1);
    removeCommonZ(g.num, g.den);
    return g;
}

Transfer regulatorTransfer(const Parameters& p)
{
    Transfer r;
    if (!p.row().closed)
        return r;
    // Epu(k) z^2 = [Epu z] + q0 Ep z^2 + q1 Ep z + q2 Ep.
    const Law l = law(p);
    r.num = trimmed({l.q2, l.q1, l.q0});
    r.den = {0, l.integrates ? -1.0 : 0.0, 1};
    removeCommonZ(r.num, r.den);
    return r;
}

Polynomial Characteristic::at(double factor) const
{
    return fixed + factor * gained;
}

Characteristic characteristic(const Parameters& p)
{
    const Transfer g = ovenTransfer(p);
    const Transfer r = regulatorTransfer(p);
    return {g.den * r.den, g.num * r.num};
}

Transfer stepResponse(const Parameters& p)
{
    const Transfer g = ovenTransfer(p);
    const Transfer r = regulatorTransfer(p);
    const Characteristic c = characteristic(p);
    return {p.e * (g.num * r.num) + law(p).offset * (g.num * r.den), c.at(1)};
}

double linearFinalX(const Parameters& p)
{
    // Factor by factor at z = 1, so that an integrator's den_R(1) = 0 makes
    // the set point's share exactly 1.
    const Transfer g = ovenTransfer(p);
    const Transfer r = regulatorTransfer(p);
    const auto at1 = [](const Polynomial& q) { return evaluate(q, 1.0).real(); };
    const double loop = at1(g.num) * at1(r.num);
    const double den = at1(g.den) * at1(r.den) + loop;
    if (den == 0)
        return 0;
    return p.e * (loop / den) + law(p).offset * (at1(g.num) * at1(r.den) / den);
}

}  // namespace t1::model
