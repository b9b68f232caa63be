#include "lab_window/sample_rows.h"

#include "model/experiment.h"
#include "model/simulation.h"

namespace t1 {

std::vector<RunRow> sampleRows(const model::Simulation& run)
{
    std::vector<RunRow> rows;
    for (const model::Sample& s : run.samples())
        rows.push_back({model::kTicksPerPeriod * s.k, s.e, s.ep, s.epu, s.u, s.s, s.x, s.temperature});
    return rows;
}

}  // namespace t1
