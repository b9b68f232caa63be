#pragma once

#include "lab/analysis.h"
#include "lab/simulation.h"

#include <QString>

namespace t1 {

// The measures beside the plots, as rich text: measured on the run, from its
// last parameter change on, and what the linear model predicts beside them,
// "—" where there is none. The overshoot and the settling time are predicted
// for a step from a cold oven only.
QString measuresText(const lab::Simulation& run, const lab::Theory& theory);

// The closed loop's poles in z, whether one is cancelled by the regulator's
// zero, and whether the loop is stable.
QString polesText(const lab::Poles& poles);

// The poles on one line, for a screen reader and the tests: "z = 0,45".
QString polesLine(const lab::Poles& poles);

}  // namespace t1
