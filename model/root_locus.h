#pragma once

#include "model/parameters.h"

#include <complex>
#include <cstddef>
#include <optional>
#include <vector>

namespace t1::model {

// The gain the root locus runs along: the row's gain fields (gainFields)
// times one factor, which scales the whole law. The fields as set are
// factor 1; when they are all 0 (no feedback) the row's defaults are,
// and the setting is factor 0.
struct LocusGain {
    Parameters unit;      // the gain fields at factor 1
    double current = 1;   // the factor in force

    // Gain field i of the row (in gainFields' order) at a factor.
    double value(std::size_t i, double factor) const;
};

// None when the row has no gain: the manual command leaves the loop open.
std::optional<LocusGain> locusGain(const Parameters& p);

struct LocusPoint {
    std::complex<double> z;
    double factor = 0;
};

// Where the locus is looked at: a rectangle of the plane, and the most its
// points may lie apart there. Outside it the branches are followed in
// coarser steps.
struct LocusView {
    std::complex<double> low{-1, -1};   // bottom-left corner
    std::complex<double> high{1, 1};    // top-right corner
    double spacing = 0.01;
};

struct RootLocus {
    LocusGain gain;
    // One branch per closed-loop pole, from an open-loop pole at factor 0
    // through the factors in force and at the limit, to `last`.
    std::vector<std::vector<LocusPoint>> branches;
    // The poles and zeros of G R: where the branches start, and where those
    // that do not go to infinity end.
    std::vector<std::complex<double>> starts;
    std::vector<std::complex<double>> ends;
    // The factor at which a pole reaches the unit circle (stabilityLimit),
    // and where: the pole there nearest to the circle, Im z >= 0.
    std::optional<double> limit;
    std::optional<std::complex<double>> crossing;
    double last = 0;  // the largest factor followed, beyond the limit
};

// The locus of the closed loop's poles as the gain goes from 0 to past the
// stability limit and the gain in force; none without a gain. The points
// are the characteristic polynomial's roots, each to within a thousandth of
// the spacing, followed from factor to factor.
std::optional<RootLocus> rootLocus(const Parameters& p, const LocusView& view);

}  // namespace t1::model
