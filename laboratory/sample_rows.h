#pragma once

#include "classroom/run_log.h"

namespace t1 {

namespace lab {
class Simulation;
}

// A run's acquisitions as the lessons' export writes them: one row each,
// its local tick 40 k first.
RunLog sampleLog(const lab::Simulation& run);

}  // namespace t1
