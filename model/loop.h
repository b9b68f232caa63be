#pragma once

#include "model/oven_period.h"
#include "model/parameters.h"
#include "model/regulator.h"
#include "model/sample.h"

namespace t1::model {

// The loop between acquisitions: S at the instant and the regulator's memory.
struct LoopState {
    double s = 0;
    RegulatorMemory memory;
};

struct Step {
    Sample sample;
    OvenPeriod period;
    LoopState next;  // at the following acquisition
};

// Acquisition k from the state at kT, and the period it starts.
Step step(const Parameters& p, int k, const LoopState& state);

}  // namespace t1::model
