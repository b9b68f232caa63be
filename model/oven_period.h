#pragma once

#include "model/parameters.h"

namespace t1::model {

// The oven over one sampling period, its command held: a first order of
// gain 1 solved exactly, S(tau) = F + (S0 - F) exp(-tau T / tc), with tau
// the time since the acquisition in periods.
struct OvenPeriod {
    double s0 = 0;
    double target = 0;  // F
    double rate = 0;    // T / tc, the time constant in force

    double at(double tau) const;
    double end() const { return at(1); }
};

// The period acquisition k starts from S0 under U. The door open, the oven
// tends to U - D with T1d. F is kept even below 0 V: the oven cools towards
// the room then, and the A/N converter reads 0.
OvenPeriod ovenPeriod(const Parameters& p, int k, double s0, double u);

}  // namespace t1::model
