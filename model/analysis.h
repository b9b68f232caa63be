#pragma once

#include "model/parameters.h"
#include "model/poles.h"
#include "model/sample.h"

#include <optional>
#include <span>
#include <vector>

namespace t1::model {

class Simulation;

// The step response is settled once |X - X final| stays within this
// fraction of |X final - X first|.
inline constexpr double kSettlingBand = 0.05;
// The linear model is run at most this many periods to find its settling time.
inline constexpr int kTheoryHorizon = 100000;

// What the linear model (no quantisation, no saturation, no door, no
// noise) predicts for a step from a cold oven to E (and to the manual
// command), for any kind, gain and delay. Everything but the poles is none
// when the loop is unstable.
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

// X of that linear loop at the acquisitions 0 .. periods, by the recurrence
// of its step response (transfer.h).
std::vector<double> linearStep(const Parameters& p, int periods);

// A run that came to rest within the band.
struct Settled {
    double finalX = 0;
    double finalS = 0;
    double staticError = 0;  // E - X final, with the last sample's E
    // Periods from the first sample until X stays within the band for
    // good, with at least two samples in it (four in a band of one digit).
    int settling = 0;
    // Beyond X final, in the direction of the step, over the step; only on
    // a set-point step (from a cold start, or a change of E).
    std::optional<double> overshootPercent;
};

// A run that goes round a cycle or diverges (against the stops): its swings
// beyond the band do not die down. X over the last cycle, in digits.
struct Oscillation {
    double low = 0;
    double high = 0;
    int period = 0;  // periods between the last two peaks of a kind
};

// What a run's samples show. Neither settled nor oscillating, with samples:
// not settled yet at the end of the run.
struct Measures {
    int from = 0;              // the acquisition measured from
    bool afterChange = false;  // from a change that acted, not from the start
    bool setPointStep = false;
    std::size_t count = 0;  // samples measured
    double lastX = 0;
    double lastS = 0;
    std::optional<Settled> settled;
    std::optional<Oscillation> oscillation;
};

// The samples as given, with the parameters in force over them. The band is
// at least a digit when quantised, and three standard deviations of the
// noise.
Measures measure(std::span<const Sample> samples, const Parameters& inForce, bool setPointStep);

// A run from the last change that acted (one made after the last
// acquisition waits for the next), or from its start.
Measures measureRun(const Simulation& run);

}  // namespace t1::model
