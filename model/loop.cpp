#include "model/loop.h"

#include "model/converters.h"

namespace t1::model {

Sample step(const Parameters& p, int k, LoopState& state, double noise, std::vector<OvenPiece>* pieces)
{
    Sample sm;
    sm.k = k;
    sm.e = p.e;
    sm.s = state.s;
    sm.noise = noise;
    sm.temperature = temperature(state.s);
    sm.x = toDigits(state.s + noise, p.quantised);
    sm.ep = p.e - sm.x;
    const Command c = regulate(law(p), p.quantised, sm.ep, state.memory);
    sm.epu = c.epu;
    sm.computed = c.computed;
    sm.u = c.u;
    sm.proportional = c.proportional;
    sm.integral = c.integral;
    sm.derivative = c.derivative;
    sm.saturated = c.saturated;
    sm.doorOpen = doorOpenAfter(p, k);

    send(state.line, p.oven.delay, c.u);
    state.s = ovenPeriod(p, k, state.s, state.line, pieces);
    state.memory = {c.epu, sm.ep, state.memory.ep};
    return sm;
}

}  // namespace t1::model
