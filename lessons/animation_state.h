#pragma once

#include "picture/loop_values.h"

namespace t1 {

// Everything the animation remembers between ticks. One instance lives in
// the window; a test makes a fresh one. Nothing of it is ever saved.
struct AnimationState : LoopValues {
    // 0 idle, -1 presentation, otherwise inside a lesson's band.
    int gSceneTick = 0;

    // Local ticks: the clock minus the lesson's base, kept after a run stops.
    int gTickLoopP = 0;
    int gTickLoopPI = 0;
    int gTickDisturbModel = 0;
    int gTickDisturbP = 0;
    int gTickDisturbPI = 0;

    // 0 continuous, 1..6 the sampling period released in step mode.
    int gPeriodLoopP = 0;
    int gPeriodLoopPI = 0;
    int gPeriodDisturbP = 0;
    int gPeriodDisturbPI = 0;
};

}  // namespace t1
