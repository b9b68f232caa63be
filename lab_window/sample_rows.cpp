#include "lab_window/sample_rows.h"

#include "model/experiment.h"
#include "model/simulation.h"

namespace t1 {

std::vector<RunRow> sampleRows(const model::Simulation& run)
{
    std::vector<RunRow> rows;
    for (const model::Sample& s : run.samples())
        rows.push_back({.tick = model::kTicksPerPeriod * s.k,
                        .values = {.gE = s.e, .gEp = s.ep, .gEpu = s.epu, .gX = s.x, .gU = s.u, .gS = s.s,
                                   .gTemperature = s.temperature}});
    return rows;
}

}  // namespace t1
