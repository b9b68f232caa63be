#pragma once

#include "model/oven_period.h"
#include "model/parameters.h"
#include "model/regulator.h"
#include "model/sample.h"

#include <vector>

namespace t1::model {

// The loop at an acquisition: S, the regulator's memory and the commands
// still on their way to the oven. Cold: all at rest at 0.
struct LoopState {
    double s = 0;
    RegulatorMemory memory;
    DelayLine line{Arrival{}};
};

// Acquisition k from the state at its instant, with `noise` volts on the
// measurement, and the period it starts: the state moves on to the next
// acquisition and the period's pieces of S are appended to `pieces` when
// given. The sample's time is left to the caller.
Sample step(const Parameters& p, int k, LoopState& state, double noise, std::vector<OvenPiece>* pieces = nullptr);

}  // namespace t1::model
