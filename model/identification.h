#pragma once

#include "model/simulation.h"

#include <array>
#include <optional>
#include <vector>

namespace t1::model {

// What the student may switch on to read an open-loop step on the exact
// curve, and the curve of the model he answers. None of it works out K, T1
// or θ: the student marks the levels and the points himself.

// The levels drawn over a step of S: 28 % and 40 % (Broïda's), and 63 %,
// the first order's 1 - 1/e reached one time constant after the delay.
inline constexpr std::array<double, 3> kStepFractions{0.28, 0.40, 0.63212055882855767840};

struct StepLevel {
    double fraction = 0;
    double s = 0;  // volts
};

// From the level S started the step at to the one it settled at, as the
// student marks them.
std::array<StepLevel, kStepFractions.size()> stepLevels(double before, double after);

// The first instant from `from` on, in periods, at which S reaches `level`
// (from either side); none within the run. To within 1e-12 of a period,
// provided S crosses the level once at most in an eighth of a period.
std::optional<double> crossing(const Simulation& run, double level, double from = 0);

// The tangent to S at t periods: after a break in the oven's input, the
// one S leaves with.
struct Tangent {
    double t = 0;
    double s = 0;      // volts
    double slope = 0;  // volts per period

    double at(double time) const { return s + slope * (time - t); }
    // When it reaches the level; none when it is flat.
    std::optional<double> reaches(double level) const;
};
Tangent tangentAt(const Simulation& run, double t);

// The command as the run held it: U before the start (0 from cold, the
// steady command otherwise), then each change, from its acquisition.
struct CommandChange {
    double seconds = 0;
    double volts = 0;
};
struct CommandHistory {
    double before = 0;
    std::vector<CommandChange> changes;
};
CommandHistory commandHistory(const Simulation& run);

// The student's model of the oven, in the units he answers in.
struct FirstOrderModel {
    double gain = 1;
    double t1Seconds = 1;
    double delaySeconds = 0;
};

// The model's S at that time for the same commands, exactly: at rest at
// K U before the start, then each change of U adding K ΔU (1 - e^(-t/T1))
// once the delay has passed. T1 at or below 0 follows U at once.
double modelResponse(const FirstOrderModel& model, const CommandHistory& commands, double seconds);

}  // namespace t1::model
