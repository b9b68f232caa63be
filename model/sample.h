#pragma once

namespace t1::model {

// One acquisition at t = kT and the command held over [kT, (k+1)T).
struct Sample {
    int k = 0;
    double e = 0;  // digits, like X, Ep and Epu
    double x = 0;
    double ep = 0;
    double epu = 0;       // the output register
    double computed = 0;  // the control law's value before the register
    double u = 0;         // volts
    double s = 0;         // volts, at the acquisition
    double temperature = 0;
    double proportional = 0;
    double integral = 0;
    bool saturated = false;
    bool doorOpen = false;  // during the period this acquisition starts
    double ratio = 0;       // T/T1 of that period
};

}  // namespace t1::model
