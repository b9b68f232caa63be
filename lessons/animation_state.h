#pragma once

#include "lessons/lesson_table.h"
#include "picture/loop_values.h"

#include <array>

namespace t1 {

// A lesson's own clock.
struct LessonClock {
    int localTick = 0;  // the scene clock minus the lesson's base, kept after a run stops
    int period = 0;     // 0 continuous, 1.. the sampling period released in step mode
};

// Everything the animation remembers between ticks. One instance lives in
// the window; a test makes a fresh one. Nothing of it is ever saved.
struct AnimationState : LoopValues {
    // 0 idle, -1 presentation, otherwise inside a lesson's band.
    int gSceneTick = 0;

    // One clock per lesson, at the lesson's menu index.
    std::array<LessonClock, kLessonCount> lessonClocks{};

    LessonClock& clockOf(const LessonRow& row) { return lessonClocks[static_cast<std::size_t>(menuIndex(row))]; }
    const LessonClock& clockOf(const LessonRow& row) const
    {
        return lessonClocks[static_cast<std::size_t>(menuIndex(row))];
    }

    // The lessons' clocks under the names the program's documents give them.
    int& gTickLoopP() { return clockOf(lesson("closed loop P")).localTick; }
    int& gTickLoopPI() { return clockOf(lesson("closed loop PI")).localTick; }
    int& gTickDisturbModel() { return clockOf(lesson("disturbance model")).localTick; }
    int& gTickDisturbP() { return clockOf(lesson("disturbance P")).localTick; }
    int& gTickDisturbPI() { return clockOf(lesson("disturbance PI")).localTick; }
    int& gPeriodLoopP() { return clockOf(lesson("closed loop P")).period; }
    int& gPeriodLoopPI() { return clockOf(lesson("closed loop PI")).period; }
    int& gPeriodDisturbP() { return clockOf(lesson("disturbance P")).period; }
    int& gPeriodDisturbPI() { return clockOf(lesson("disturbance PI")).period; }
};

}  // namespace t1
