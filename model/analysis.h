#pragma once

#include "model/parameters.h"
#include "model/poles.h"
#include "model/sample.h"

#include <optional>
#include <span>

namespace t1::model {

// The step response is settled once |X - X final| stays within this
// fraction of |X final - X first|.
inline constexpr double kSettlingBand = 0.05;
// The linear model is run at most this many periods to find its settling time.
inline constexpr int kTheoryHorizon = 100000;

// What a run's samples show, from the first sample to the last. Pass a
// subspan to measure from a mark on.
struct Measures {
    double finalX = 0;
    double finalS = 0;
    double staticError = 0;       // E - X final, with the last sample's E
    double overshootPercent = 0;  // beyond X final, in the direction of the change; 0 without change
    // Periods from the first sample until X stays within the band for good,
    // with at least two samples in it; none if the run never gets there.
    // Without change the band is X final itself: the time to get back to it.
    std::optional<int> settling;
};

Measures measure(std::span<const Sample> samples);

// What the linear model (no quantisation, no saturation, no door) predicts
// for a step from a cold oven to E. Everything but the poles is none when
// the loop is unstable.
struct Theory {
    Poles poles;
    std::optional<double> finalX;
    std::optional<double> finalS;
    std::optional<double> staticError;
    std::optional<double> overshootPercent;
    // None too when the model takes more than kTheoryHorizon periods.
    std::optional<int> settling;
};

Theory theory(const Parameters& p);

}  // namespace t1::model
