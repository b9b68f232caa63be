#pragma once

namespace t1::model {

// One acquisition at t = kT and the command held over [kT, (k+1)T).
struct Sample {
    int k = 0;
    // When it was made, from the start: in T1 (whatever each period's own
    // T/T1, so that runs with different periods share a time axis) and in
    // seconds for the T1 in seconds in force.
    double time = 0;
    double seconds = 0;
    double e = 0;  // digits, like X, Ep and Epu
    double x = 0;
    double ep = 0;
    double epu = 0;       // the output register
    double computed = 0;  // the control law's value before the register
    double u = 0;         // volts
    double s = 0;         // volts, at the acquisition
    double noise = 0;     // volts added to S before the A/N converter
    double temperature = 0;
    double proportional = 0;
    double integral = 0;
    double derivative = 0;
    bool saturated = false;
    bool doorOpen = false;  // during the period this acquisition starts
};

}  // namespace t1::model
