#pragma once

#include "picture/loop_values.h"

namespace t1 {

// The open-loop step response: the oven, a first-order lag of T1 = 30.01
// ticks, answers the constant command U = 3,9 V.

// Row of the S(t) curve tau ticks after the step: from y = 299 toward 199.
int openLoopCurveY(int tau);

// What the loop's signals read at tick n of the lesson.
LoopValues openLoopValues(int n);

}  // namespace t1
