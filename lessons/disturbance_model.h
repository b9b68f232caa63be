#pragma once

#include "picture/loop_values.h"

namespace t1 {

// The disturbance model: the oven at its steady state in open loop, its door
// opened for one sampling period between kT (tick 100) and (k+1)T (tick 140).

// Rows of the S(t) curve: the drop while the door is open (100 < d <= 140),
// the slow recovery after it closes (d > 140), and the whole curve.
int disturbDropY(int d);
int disturbRecoveryY(int d);
int disturbModelCurveY(int d);

// What the loop's signals read at local tick d of the lesson.
LoopValues disturbModelValues(int d);

}  // namespace t1
