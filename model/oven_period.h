#pragma once

#include "model/parameters.h"

#include <vector>

namespace t1::model {

// A command on its way to the oven: from `at` (in T1, counted from the
// current acquisition) the oven gets u volts.
struct Arrival {
    double at = 0;
    double u = 0;

    bool operator==(const Arrival&) const = default;
};

// The commands on their way, in order: the first is what the oven gets at
// the acquisition (at <= 0), the others arrive later. Under the zero-order
// hold the oven's input is the staircase of U shifted by the delay.
using DelayLine = std::vector<Arrival>;

// U sent now, reaching the oven `delay` T1 later. A command sent later
// supersedes those arriving after it (the delay may have been shortened).
void send(DelayLine& line, double delay, double u);

// The oven between two breaks of its input, its command held: a first
// order solved exactly, S(tau) = F + (S0 - F) exp(-rate (tau - from)), with
// tau in periods since the acquisition. The room is the floor: the heat
// the open door lets out stops at the room's temperature, so that S stays
// at 0 V rather than going below it towards F < 0.
struct OvenPiece {
    double from = 0;
    double s0 = 0;
    double target = 0;  // F: K U, or K U - D with the door open
    double rate = 0;    // T / tc, the time constant in force

    double at(double tau) const;
    // dS/dtau there, in volts per period: 0 on the floor.
    double slope(double tau) const;
};

// The period acquisition k starts, from S0, its command already sent into
// `line`: appends its pieces (one per input the oven gets during it),
// moves the line on to the next acquisition and returns S there.
double ovenPeriod(const Parameters& p, int k, double s0, DelayLine& line, std::vector<OvenPiece>* pieces);

}  // namespace t1::model
