#include "model/parameters.h"

#include <algorithm>
#include <cmath>

namespace t1::model {

namespace {

double within(double value, double low, double high, double fallback)
{
    return std::isnan(value) ? fallback : std::clamp(value, low, high);
}

}  // namespace

bool doorOpenAfter(const Parameters& p, int k)
{
    const int period = k + 1;
    return p.door.from <= period && period < p.door.from + p.door.periods;
}

Parameters sanitised(const Parameters& p)
{
    const Parameters d;
    Parameters s = p;
    // E is a digital register: whole digits.
    s.e = std::round(within(p.e, 0, kMaxSetPoint, d.e));
    s.g = within(p.g, 0, kMaxGain, d.g);
    s.q0 = within(p.q0, -kMaxCoefficient, kMaxCoefficient, d.q0);
    s.q1 = within(p.q1, -kMaxCoefficient, kMaxCoefficient, d.q1);
    s.ratio = within(p.ratio, kMinRatio, kMaxRatio, d.ratio);
    s.door.from = std::clamp(p.door.from, 1, kMaxDoorPeriod);
    s.door.periods = std::clamp(p.door.periods, 0, kMaxDoorPeriod);
    s.door.drop = within(p.door.drop, 0, kMaxDrop, d.door.drop);
    s.door.ratio = within(p.door.ratio, kMinDoorRatio, kMaxDoorRatio, d.door.ratio);
    return s;
}

}  // namespace t1::model
