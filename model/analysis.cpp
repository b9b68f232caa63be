#include "model/analysis.h"

#include "model/converters.h"

#include <algorithm>
#include <cmath>

namespace t1::model {

namespace {

// Below this many digits X has not moved.
constexpr double kNoChange = 1e-9;
constexpr double kPercent = 100;
// A measured settling needs this many samples inside the band: the last
// sample alone always is.
constexpr std::size_t kSamplesInBand = 2;
// The linear PI loop has reached its equilibrium once its whole state is
// this close to it, relative to E.
constexpr double kConverged = 1e-9;

// The error shrinks as |p|^k: the first k with |p|^k <= 5 %.
std::optional<int> proportionalSettling(double pole)
{
    const double m = std::abs(pole);
    if (m <= kSettlingBand)
        return 1;
    const double k = std::ceil(std::log(kSettlingBand) / std::log(m));
    if (k > kTheoryHorizon)
        return std::nullopt;
    return static_cast<int>(k);
}

// The PI loop in its linear form, from a cold oven: its overshoot and settling.
void linearPI(const Parameters& p, Theory& t)
{
    const double a = std::exp(-p.ratio);
    const double e = p.e;
    const double band = kSettlingBand * e;
    const double close = kConverged * e;
    double x = 0;
    double epuBefore = 0;
    double epBefore = 0;
    double beyond = 0;
    int lastOut = -1;
    for (int k = 0; k < kTheoryHorizon; ++k) {
        if (k > 0 && std::abs(x - e) <= close && std::abs(epuBefore - e) <= close && std::abs(epBefore) <= close) {
            t.settling = lastOut + 1;
            break;
        }
        if (std::abs(x - e) > band)
            lastOut = k;
        beyond = std::max(beyond, x - e);
        const double ep = e - x;
        const double epu = epuBefore + p.q0 * ep + p.q1 * epBefore;
        x = a * x + (1 - a) * epu;
        epuBefore = epu;
        epBefore = ep;
    }
    t.overshootPercent = kPercent * beyond / e;
}

}  // namespace

Measures measure(std::span<const Sample> samples)
{
    Measures m;
    if (samples.empty())
        return m;
    const Sample& first = samples.front();
    const Sample& last = samples.back();
    m.finalX = last.x;
    m.finalS = last.s;
    m.staticError = last.e - last.x;

    const double change = last.x - first.x;
    const double direction = change > 0 ? 1 : -1;
    const double band = kSettlingBand * std::abs(change);
    double beyond = 0;
    std::size_t settledFrom = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        beyond = std::max(beyond, direction * (samples[i].x - last.x));
        if (std::abs(samples[i].x - last.x) > band)
            settledFrom = i + 1;
    }
    if (std::abs(change) > kNoChange)
        m.overshootPercent = kPercent * beyond / std::abs(change);
    if (samples.size() - settledFrom >= kSamplesInBand)
        m.settling = samples[settledFrom].k - first.k;
    return m;
}

Theory theory(const Parameters& p)
{
    Theory t;
    t.poles = closedLoopPoles(p);
    if (!t.poles.stable)
        return t;
    if (p.kind == RegulatorKind::P) {
        t.finalX = p.g * p.e / (1 + p.g);
        t.staticError = p.e / (1 + p.g);
        const double pole = t.poles.poles.front().z.real();
        const bool moves = *t.finalX > kNoChange;
        t.overshootPercent = moves && pole < 0 ? -kPercent * pole : 0;
        t.settling = moves ? proportionalSettling(pole) : 0;
    } else {
        t.finalX = p.e;
        t.staticError = 0;
        if (p.e > kNoChange) {
            linearPI(p, t);
        } else {
            t.overshootPercent = 0;
            t.settling = 0;
        }
    }
    t.finalS = *t.finalX / kDigitsPerVolt;
    return t;
}

}  // namespace t1::model
