#pragma once

#include "model/regulator.h"
#include "model/simulation.h"

namespace t1::testing {

using namespace t1::model;

inline Parameters proportional(double e, double g)
{
    Parameters p;
    p.e = e;
    p.g = g;
    return p;
}

inline Parameters pi(double e, double q0, double q1)
{
    Parameters p;
    p.kind = RegulatorKind::PI;
    p.e = e;
    p.q0 = q0;
    p.q1 = q1;
    return p;
}

inline Parameters deadbeatPI(double e, double ratio = kLessonRatio)
{
    const Coefficients c = deadbeat(ratio);
    Parameters p = pi(e, c.q0, c.q1);
    p.ratio = ratio;
    return p;
}

inline void advance(Simulation& sim, int periods)
{
    for (int k = 0; k < periods; ++k)
        sim.advance();
}

inline Simulation ran(const Parameters& p, int periods, Start start = Start::Cold)
{
    Simulation sim(p, start);
    advance(sim, periods);
    return sim;
}

}  // namespace t1::testing
