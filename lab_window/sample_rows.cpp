#include "lab_window/sample_rows.h"

#include "model/simulation.h"
#include "model/experiment.h"

namespace t1 {

RunLog sampleLog(const model::Simulation& run)
{
    RunLog log;
    for (const model::Sample& s : run.samples())
        log.append({model::kTicksPerPeriod * s.k, s.e, s.ep, s.epu, s.u, s.s, s.x, s.temperature});
    return log;
}

}  // namespace t1
