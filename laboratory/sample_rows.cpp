#include "laboratory/sample_rows.h"

#include "lab/simulation.h"
#include "laboratory/experiment.h"

namespace t1 {

RunLog sampleLog(const lab::Simulation& run)
{
    RunLog log;
    for (const lab::Sample& s : run.samples())
        log.append({kTicksPerPeriod * s.k, s.e, s.ep, s.epu, s.u, s.s, s.x, s.temperature});
    return log;
}

}  // namespace t1
