#include "model/steady_state.h"

#include "model/converters.h"
#include "model/poles.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace t1::model {

namespace {

// Unquantised signals never repeat exactly; this close, in digits or volts,
// they do.
constexpr double kRepeatTolerance = 1e-9;

bool near(double x, double y, double tolerance)
{
    return std::abs(x - y) <= tolerance;
}

bool sameDigits(const Sample& a, const Sample& b, double tolerance)
{
    return near(a.x, b.x, tolerance) && near(a.ep, b.ep, tolerance) && near(a.epu, b.epu, tolerance);
}

SteadyState atRest(const LoopState& st, double x)
{
    return {st, 1, x, x};
}

// The state with the register at epu for ever: S has reached U.
SteadyState heldAt(const Parameters& p, double epu)
{
    LoopState st;
    st.memory.epu = outputRegister(epu, p.quantised);
    st.s = toVolts(st.memory.epu);
    const double x = toDigits(st.s, p.quantised);
    st.memory.ep = p.e - x;
    return atRest(st, x);
}

// The last `cycle` samples repeat the `cycle` before them, S included.
bool goesRound(const std::vector<Sample>& h, std::size_t cycle, double tolerance)
{
    if (h.size() < 2 * cycle)
        return false;
    for (std::size_t i = h.size() - cycle; i < h.size(); ++i) {
        const Sample& before = h[i - cycle];
        if (!sameDigits(h[i], before, tolerance) || !near(h[i].s, before.s, kRepeatTolerance))
            return false;
    }
    return true;
}

std::optional<SteadyState> searchFromCold(const Parameters& p)
{
    const double tolerance = p.quantised ? 0 : kRepeatTolerance;
    std::vector<Sample> history;
    history.reserve(kSteadySearchPeriods);
    LoopState st;
    for (int k = 0; k < kSteadySearchPeriods; ++k) {
        const Step s = step(p, k, st);
        const Sample& now = s.sample;
        if (!history.empty() && sameDigits(now, history.back(), tolerance)) {
            // U is held from now on and S moves monotonically towards it: if
            // X read at U is X read now, X never changes again, nor Epu.
            const SteadyState held = heldAt(p, now.epu);
            if (near(held.xLow, now.x, tolerance))
                return held;
        }
        history.push_back(now);
        st = s.next;
        for (std::size_t cycle = 2; cycle <= kLongestCycle; ++cycle) {
            if (goesRound(history, cycle, tolerance)) {
                const auto last = history.end() - static_cast<std::ptrdiff_t>(cycle);
                const auto [low, high] = std::minmax_element(
                    last, history.end(), [](const Sample& a, const Sample& b) { return a.x < b.x; });
                return SteadyState{st, static_cast<int>(cycle), low->x, high->x};
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<SteadyState> steadyState(const Parameters& parameters)
{
    Parameters p = parameters;
    p.door.periods = 0;
    const bool stable = closedLoopPoles(p).stable;
    if (p.kind == RegulatorKind::PI && stable)
        return heldAt(p, p.e);
    if (p.kind == RegulatorKind::P && stable && !p.quantised)
        return heldAt(p, p.g * p.e / (1 + p.g));
    return searchFromCold(p);
}

}  // namespace t1::model
