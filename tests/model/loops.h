#pragma once

#include "model/regulators.h"
#include "model/simulation.h"

namespace t1::testing {

using namespace t1::model;

inline Parameters proportional(double e, double g)
{
    Parameters p;
    p.e = e;
    p.field(Regulator::P, kGainField) = g;
    return p;
}

inline Parameters pi(double e, double q0, double q1)
{
    Parameters p;
    p.regulator = Regulator::PI;
    p.e = e;
    p.field(Regulator::PI, kQ0Field) = q0;
    p.field(Regulator::PI, kQ1Field) = q1;
    return p;
}

inline Parameters deadbeatPI(double e, double ratio = kLessonRatio)
{
    const FieldValues c = deadbeat({ratio, 1});
    Parameters p = pi(e, c[kQ0Field], c[kQ1Field]);
    p.ratio = ratio;
    return p;
}

inline double gainOf(const Parameters& p)
{
    return p.field(Regulator::P, kGainField);
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
