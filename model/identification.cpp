#include "model/identification.h"

#include <cmath>

namespace t1::model {

namespace {

// Each period is searched in this many slices for a change of side, then
// the slice halved this many times: 2^-3 2^-45 is below 1e-13.
constexpr int kSlices = 8;
constexpr int kHalvings = 45;

double side(const Simulation& run, double t, double level)
{
    return run.sAt(t) - level;
}

double halved(const Simulation& run, double low, double high, double level)
{
    const bool rising = side(run, low, level) < 0;
    for (int i = 0; i < kHalvings; ++i) {
        const double mid = (low + high) / 2;
        if ((side(run, mid, level) < 0) == rising)
            low = mid;
        else
            high = mid;
    }
    return (low + high) / 2;
}

// ΔU's share once it has acted for tau seconds.
double rise(double tau, double t1Seconds)
{
    if (tau <= 0)
        return 0;
    return t1Seconds > 0 ? -std::expm1(-tau / t1Seconds) : 1;
}

}  // namespace

std::array<StepLevel, kStepFractions.size()> stepLevels(double before, double after)
{
    std::array<StepLevel, kStepFractions.size()> levels{};
    for (std::size_t i = 0; i < levels.size(); ++i)
        levels[i] = {kStepFractions[i], before + kStepFractions[i] * (after - before)};
    return levels;
}

std::optional<double> crossing(const Simulation& run, double level, double from)
{
    const double end = run.simulatedPeriods();
    if (!(from >= 0) || from > end)
        return std::nullopt;
    if (side(run, from, level) == 0)
        return from;
    const double slice = 1.0 / kSlices;
    double sa = side(run, from, level);
    for (double a = from; a < end; a += slice) {
        const double b = std::fmin(a + slice, end);
        const double sb = side(run, b, level);
        if (sb == 0)
            return b;
        if ((sa < 0) != (sb < 0))
            return halved(run, a, b, level);
        sa = sb;
    }
    return std::nullopt;
}

std::optional<double> Tangent::reaches(double level) const
{
    if (slope == 0)
        return std::nullopt;
    return t + (level - s) / slope;
}

Tangent tangentAt(const Simulation& run, double t)
{
    return {t, run.sAt(t), run.slopeAt(t)};
}

CommandHistory commandHistory(const Simulation& run)
{
    CommandHistory h;
    if (run.steady())
        h.before = run.steady()->state.line.front().u;
    double last = h.before;
    for (const Sample& s : run.samples()) {
        if (h.changes.empty() || s.u != last)
            h.changes.push_back({s.seconds, s.u});
        last = s.u;
    }
    return h;
}

double modelResponse(const FirstOrderModel& model, const CommandHistory& commands, double seconds)
{
    double s = model.gain * commands.before;
    double previous = commands.before;
    for (const CommandChange& c : commands.changes) {
        s += model.gain * (c.volts - previous) * rise(seconds - c.seconds - model.delaySeconds, model.t1Seconds);
        previous = c.volts;
    }
    return s;
}

}  // namespace t1::model
