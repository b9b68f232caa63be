#pragma once

#include "model/parameters.h"

namespace t1::model {

// What the regulator remembers from acquisition k-1: Epu as its output
// register held it, and Ep. Both 0 from a cold start.
struct RegulatorMemory {
    double epu = 0;
    double ep = 0;
};

struct Coefficients {
    double q0 = 0;
    double q1 = 0;
};

// The PI coefficients that bring X to E in one period (the "réponse pile"):
// q0 = 1/(1 - a), q1 = -a/(1 - a), so that the regulator's zero cancels the
// oven's pole a = exp(-r).
Coefficients deadbeat(double ratio);

struct Command {
    double computed = 0;  // the control law's value
    double epu = 0;       // the output register
    double u = 0;         // volts, held until the next acquisition
    // The law's value split as Kp Ep(k) + the rest, Kp = -q1 under PI;
    // under P all of G Ep is proportional.
    double proportional = 0;
    double integral = 0;
    bool saturated = false;  // the register clamped the law's value
};

Command regulate(const Parameters& p, double ep, const RegulatorMemory& previous);

}  // namespace t1::model
