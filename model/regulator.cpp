#include "model/regulator.h"

#include "model/converters.h"

#include <cmath>

namespace t1::model {

Coefficients deadbeat(double ratio)
{
    const double a = std::exp(-ratio);
    return {1 / (1 - a), -a / (1 - a)};
}

Command regulate(const Parameters& p, double ep, const RegulatorMemory& previous)
{
    Command c;
    if (p.kind == RegulatorKind::P) {
        c.computed = p.g * ep;
        c.proportional = c.computed;
    } else {
        // Epu(k-1) is read back from the 8-bit register, clamped (and whole
        // when quantised): a saturated command does not pile up in the sum,
        // so the integral cannot wind up.
        c.computed = previous.epu + p.q0 * ep + p.q1 * previous.ep;
        c.proportional = -p.q1 * ep;
        c.integral = c.computed - c.proportional;
    }
    c.epu = outputRegister(c.computed, p.quantised);
    c.u = toVolts(c.epu);
    c.saturated = c.computed < 0 || c.computed > kFullScaleDigits;
    return c;
}

}  // namespace t1::model
