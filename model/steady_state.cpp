#include "model/steady_state.h"

#include "model/converters.h"
#include "model/poles.h"
#include "model/transfer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace t1::model {

namespace {

// Unquantised signals never repeat exactly; this close, in digits, volts
// or T1, they do.
constexpr double kRepeatTolerance = 1e-9;
// Samples alike in a row before the loop may be at rest: Ep(k-2) is part
// of the law.
constexpr std::size_t kRestingSamples = 3;

bool near(double x, double y, double tolerance)
{
    return std::abs(x - y) <= tolerance;
}

bool sameDigits(const Sample& a, const Sample& b, double tolerance)
{
    return near(a.x, b.x, tolerance) && near(a.ep, b.ep, tolerance) && near(a.epu, b.epu, tolerance);
}

// The same input to the oven from now on: the one acting now, then the
// changes still to come (a change to the same value is none).
bool sameLine(const DelayLine& a, const DelayLine& b, double tolerance)
{
    const auto changes = [tolerance](const DelayLine& line) {
        DelayLine c{line.front()};
        for (std::size_t i = 1; i < line.size(); ++i)
            if (!near(line[i].u, c.back().u, tolerance))
                c.push_back(line[i]);
        return c;
    };
    const DelayLine x = changes(a);
    const DelayLine y = changes(b);
    if (x.size() != y.size() || !near(x[0].u, y[0].u, tolerance))
        return false;
    for (std::size_t i = 1; i < x.size(); ++i)
        if (!near(x[i].u, y[i].u, tolerance) || !near(x[i].at, y[i].at, kRepeatTolerance))
            return false;
    return true;
}

bool sameState(const LoopState& a, const LoopState& b, double tolerance)
{
    return near(a.s, b.s, kRepeatTolerance) && near(a.memory.epu, b.memory.epu, tolerance)
           && near(a.memory.ep, b.memory.ep, tolerance) && near(a.memory.ep2, b.memory.ep2, tolerance)
           && sameLine(a.line, b.line, tolerance);
}

bool holdsOne(const DelayLine& line, double u)
{
    return std::all_of(line.begin(), line.end(), [u](const Arrival& a) { return a.u == u; });
}

// The state with the register at epu for ever: S has reached K U.
SteadyState heldAt(const Parameters& p, double epu)
{
    LoopState st;
    st.memory.epu = outputRegister(epu, p.quantised);
    const double u = toVolts(st.memory.epu);
    st.line = {{0, u}};
    st.s = std::fmax(0.0, p.oven.gain * u);
    const double x = toDigits(st.s, p.quantised);
    st.memory.ep = p.e - x;
    st.memory.ep2 = st.memory.ep;
    return {st, 1, x, x};
}

bool staysAt(const Parameters& p, const LoopState& state, double tolerance)
{
    LoopState next = state;
    step(p, 0, next, 0);
    return sameState(next, state, tolerance);
}

std::optional<SteadyState> searchFromCold(const Parameters& p)
{
    const double tolerance = p.quantised ? 0 : kRepeatTolerance;
    std::vector<Sample> history;
    std::vector<LoopState> states;
    history.reserve(kSteadySearchPeriods);
    states.reserve(kSteadySearchPeriods);
    LoopState st;
    for (int k = 0; k < kSteadySearchPeriods; ++k) {
        const Sample now = step(p, k, st, 0);
        history.push_back(now);
        const std::size_t n = history.size();
        if (n >= kRestingSamples && sameDigits(now, history[n - 2], tolerance)
            && sameDigits(history[n - 2], history[n - 3], tolerance) && holdsOne(st.line, now.u)) {
            // Every input to come is this U and S moves monotonically
            // towards K U: if X read there is X read now, X never changes
            // again, nor Epu.
            const SteadyState held = heldAt(p, now.epu);
            if (near(held.xLow, now.x, tolerance) && staysAt(p, held.state, tolerance))
                return held;
        }
        states.push_back(st);
        for (std::size_t cycle = 2; cycle <= kLongestCycle && cycle < states.size(); ++cycle) {
            if (sameState(st, states[states.size() - 1 - cycle], tolerance)) {
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
    p.noise.millivolts = 0;
    if (closedLoopPoles(p).stable) {
        const SteadyState rest = heldAt(p, linearFinalX(p) / p.oven.gain);
        if (staysAt(p, rest.state, p.quantised ? 0 : kRepeatTolerance))
            return rest;
    }
    return searchFromCold(p);
}

}  // namespace t1::model
