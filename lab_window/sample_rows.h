#pragma once

#include "classroom/run_log.h"

namespace t1 {

namespace model {
class Simulation;
}

// A run's acquisitions as the lessons' export writes them: one row each,
// its local tick 40 k first.
RunLog sampleLog(const model::Simulation& run);

}  // namespace t1
