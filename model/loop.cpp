#include "model/loop.h"

#include "model/converters.h"

namespace t1::model {

Step step(const Parameters& p, int k, const LoopState& state)
{
    Step st;
    Sample& sm = st.sample;
    sm.k = k;
    sm.e = p.e;
    sm.s = state.s;
    sm.temperature = temperature(state.s);
    sm.x = toDigits(state.s, p.quantised);
    sm.ep = p.e - sm.x;
    const Command c = regulate(p, sm.ep, state.memory);
    sm.epu = c.epu;
    sm.computed = c.computed;
    sm.u = c.u;
    sm.proportional = c.proportional;
    sm.integral = c.integral;
    sm.saturated = c.saturated;
    sm.doorOpen = doorOpenAfter(p, k);
    sm.ratio = p.ratio;

    st.period = ovenPeriod(p, k, state.s, c.u);
    st.next = {st.period.end(), {c.epu, sm.ep}};
    return st;
}

}  // namespace t1::model
