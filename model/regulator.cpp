#include "model/regulator.h"

#include "model/converters.h"

namespace t1::model {

Command regulate(const Law& law, bool quantised, double ep, const RegulatorMemory& previous)
{
    Command c;
    const double memory = law.integrates ? previous.epu : 0;
    c.computed = memory + law.q0 * ep + law.q1 * previous.ep + law.q2 * previous.ep2 + law.offset;
    if (law.integrates) {
        c.proportional = -(law.q1 + 2 * law.q2) * ep;
        c.derivative = law.q2 * (ep - previous.ep);
        c.integral = c.computed - c.proportional - c.derivative;
    } else {
        c.proportional = c.computed - law.offset;
    }
    c.epu = outputRegister(c.computed, quantised);
    c.u = toVolts(c.epu);
    c.saturated = c.computed < 0 || c.computed > kFullScaleDigits;
    return c;
}

}  // namespace t1::model
