#pragma once

#include "stage/export_formats.h"

#include <vector>

namespace t1 {

namespace model {
class Simulation;
}

// A run's acquisitions as the lessons' export writes them: one row each,
// its local tick 40 k first.
std::vector<RunRow> sampleRows(const model::Simulation& run);

}  // namespace t1
