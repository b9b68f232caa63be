#include "model/poles.h"

#include "model/transfer.h"

#include <cmath>

namespace t1::model {

namespace {

// A pole on the unit circle computes a few ulps inside it: it must not pass.
constexpr double kCircleMargin = 1e-9;
// A zero of the regulator cancels a pole when the numerator vanishes there
// to this fraction of its terms: the 5,52 and -4,52 of the lessons cancel
// a = exp(-1/5) so.
constexpr double kCancelTolerance = 1e-3;
// The stability limit is bracketed by factors of two from 1, as far as
// 2^30 either way, then bisected this many times.
constexpr int kBracketSteps = 30;
constexpr int kBisections = 52;

bool cancelledBy(const Polynomial& num, std::complex<double> z)
{
    if (isZero(num) || num.size() < 2)
        return false;
    double terms = 0;
    double power = 1;
    for (double c : num) {
        terms += std::abs(c) * power;
        power *= std::abs(z);
    }
    return std::abs(evaluate(num, z)) <= kCancelTolerance * terms;
}

// For the limit itself: strictly inside the circle, without the margin that
// keeps a pole computed a few ulps inside it from passing; tested without
// computing the roots, fast at the degree a long delay gives.
bool insideAt(const Characteristic& c, double factor)
{
    return rootsInsideUnitCircle(c.at(factor));
}

}  // namespace

bool stable(const std::vector<std::complex<double>>& roots)
{
    for (const std::complex<double>& z : roots)
        if (!(std::abs(z) < 1 - kCircleMargin))
            return false;
    return true;
}

Poles closedLoopPoles(const Parameters& p)
{
    const Transfer r = regulatorTransfer(p);
    const Transfer g = ovenTransfer(p);
    Poles result;
    result.closed = p.row().closed;
    for (const std::complex<double>& z : closedLoopRoots(p, 1))
        result.poles.push_back({z, cancelledBy(r.num, z)});
    result.zeros = roots(g.num * r.num);
    std::vector<std::complex<double>> all;
    for (const Pole& pole : result.poles)
        all.push_back(pole.z);
    result.stable = stable(all);
    return result;
}

std::vector<std::complex<double>> closedLoopRoots(const Parameters& p, double factor)
{
    return roots(characteristic(p).at(factor));
}

OpenLoop openLoop(const Parameters& p)
{
    const Characteristic c = characteristic(p);
    return {roots(c.fixed), isZero(c.gained) ? std::vector<std::complex<double>>{} : roots(c.gained)};
}

std::optional<double> stabilityLimit(const Parameters& p)
{
    const Characteristic c = characteristic(p);
    if (isZero(c.gained))
        return std::nullopt;
    // A stable and an unstable factor, side by side within a factor 2.
    double stableFactor = 1;
    double unstableFactor = 1;
    if (insideAt(c, 1)) {
        int n = 0;
        while (insideAt(c, unstableFactor *= 2))
            if (++n == kBracketSteps)
                return std::nullopt;
        stableFactor = unstableFactor / 2;
    } else {
        int n = 0;
        while (!insideAt(c, stableFactor /= 2))
            if (++n == kBracketSteps)
                return std::nullopt;
        unstableFactor = stableFactor * 2;
    }
    for (int i = 0; i < kBisections; ++i) {
        const double middle = (stableFactor + unstableFactor) / 2;
        (insideAt(c, middle) ? stableFactor : unstableFactor) = middle;
    }
    return unstableFactor;
}

}  // namespace t1::model
