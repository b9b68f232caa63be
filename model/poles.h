#pragma once

#include "model/parameters.h"

#include <complex>
#include <optional>
#include <vector>

namespace t1::model {

// A pole in z of the linear loop (no quantisation, no saturation). A pole
// a zero of the regulator cancels no longer shows in the set-point
// response, but still in the answer to a disturbance.
struct Pole {
    std::complex<double> z;
    bool cancelled = false;
};

struct Poles {
    // The closed loop's; in open loop (the manual command) the oven's own.
    std::vector<Pole> poles;
    // The zeros of X's response to E: the oven's (a delay's fraction of a
    // period) and the regulator's.
    std::vector<std::complex<double>> zeros;
    bool closed = true;
    bool stable = false;  // every |z| < 1; on the unit circle is not stable
};

// The roots of the characteristic polynomial (transfer.h).
Poles closedLoopPoles(const Parameters& p);

// The characteristic polynomial's roots with the regulator's coefficients
// times `factor`: the root locus, factor 1 being the loop as set.
std::vector<std::complex<double>> closedLoopRoots(const Parameters& p, double factor);

// Where the locus starts (factor 0) and ends: the poles and zeros of G R.
struct OpenLoop {
    std::vector<std::complex<double>> poles;
    std::vector<std::complex<double>> zeros;
};
OpenLoop openLoop(const Parameters& p);

bool stable(const std::vector<std::complex<double>>& roots);

// The factor on the regulator's coefficients at which a pole reaches the
// unit circle: the stable range of factors from 0 up ends there (P, G = 2,
// T = T1/5: 5,02, that is G = 10,03). None in open loop, without feedback,
// when no factor is stable, or when all up to 2^30 are.
std::optional<double> stabilityLimit(const Parameters& p);

}  // namespace t1::model
