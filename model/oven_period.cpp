#include "model/oven_period.h"

#include <cmath>

namespace t1::model {

double OvenPeriod::at(double tau) const
{
    return target + (s0 - target) * std::exp(-rate * tau);
}

OvenPeriod ovenPeriod(const Parameters& p, int k, double s0, double u)
{
    if (doorOpenAfter(p, k))
        return {s0, u - p.door.drop, p.ratio / p.door.ratio};
    return {s0, u, p.ratio};
}

}  // namespace t1::model
