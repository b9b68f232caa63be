#pragma once

#include "model/parameters.h"

#include <complex>
#include <vector>

namespace t1::model {

// A closed-loop pole in z of the linear loop (no quantisation, no
// saturation). A pole the regulator's zero cancels no longer shows in the
// set-point response, but still in the answer to a disturbance.
struct Pole {
    std::complex<double> z;
    bool cancelled = false;
};

struct Poles {
    std::vector<Pole> poles;  // one under P, two under PI
    bool stable = false;      // every |z| < 1; on the unit circle is not stable
};

// P: z = a - G(1 - a). PI: the roots of (z - 1)(z - a) + (1 - a)(q0 z + q1).
Poles closedLoopPoles(const Parameters& p);

}  // namespace t1::model
