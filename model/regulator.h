#pragma once

#include "model/regulators.h"

namespace t1::model {

// What the regulator remembers: Epu(k-1) as its output register held it,
// Ep(k-1) and Ep(k-2). All 0 from a cold start.
struct RegulatorMemory {
    double epu = 0;
    double ep = 0;
    double ep2 = 0;

    bool operator==(const RegulatorMemory&) const = default;
};

struct Command {
    double computed = 0;  // the law's value
    double epu = 0;       // the output register
    double u = 0;         // volts, held until the next acquisition
    // The law's feedback split in its parts. Integrating: P = Kp Ep(k) with
    // Kp = -(q1 + 2 q2), D = q2 (Ep(k) - Ep(k-1)), I the rest; otherwise
    // all of it is proportional. The manual command is none of them.
    double proportional = 0;
    double integral = 0;
    double derivative = 0;
    bool saturated = false;  // the register clamped the law's value
};

// Epu(k-1) is read back from the 8-bit register, clamped (and whole when
// quantised): a saturated command does not pile up in the sum, so the
// integral cannot wind up.
Command regulate(const Law& law, bool quantised, double ep, const RegulatorMemory& previous);

}  // namespace t1::model
