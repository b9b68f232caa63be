#pragma once

#include "lessons/scene_clock.h"

#include <array>

namespace t1::bench {

// One full continuous run of each lesson, as the start button begins it.
struct LessonRun {
    Lesson lesson;
    const char* name;
    int start;  // the clock the start button sets
    int ticks;  // drawn ticks until the clock stops
    const ClosedLoopLesson* sampled;  // the four lessons with sampling periods
};

// The presentation's clock never moves: it is given as many ticks as a
// closed-loop run.
inline constexpr int kPresentationTicks = kPeriodTicks * kPeriodCount;

constexpr int drawnTicks(const Band& band)
{
    return band.end - band.start;
}

inline constexpr std::array kLessonRuns{
    LessonRun{Lesson::Presentation, "presentation", kPresentationClock, kPresentationTicks, nullptr},
    LessonRun{Lesson::OpenLoop, "open loop", kOpenLoopBand.start, drawnTicks(kOpenLoopBand), nullptr},
    LessonRun{Lesson::LoopP, "closed loop P", kLoopPBand.start, drawnTicks(kLoopPBand), &kLoopP},
    LessonRun{Lesson::LoopPI, "closed loop PI", kLoopPIBand.start, drawnTicks(kLoopPIBand), &kLoopPI},
    LessonRun{Lesson::DisturbModel, "disturbance model", kDisturbModelBand.start, drawnTicks(kDisturbModelBand),
              nullptr},
    LessonRun{Lesson::DisturbP, "disturbance P", kDisturbPBand.start, drawnTicks(kDisturbPBand), &kDisturbP},
    LessonRun{Lesson::DisturbPI, "disturbance PI", kDisturbPIBand.start, drawnTicks(kDisturbPIBand), &kDisturbPI},
};

// The first and the last sampling period of a closed-loop run, in local
// ticks: what a flat cost compares.
inline constexpr int kFirstPeriodLast = kPeriodTicks - 1;
inline constexpr int kLastPeriodFirst = kPeriodTicks * (kPeriodCount - 1) + 1;

}  // namespace t1::bench
