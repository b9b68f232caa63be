#pragma once

#include "lessons/animation_state.h"

namespace t1 {

// The lessons in the order of the menu; the index selects a lesson everywhere.
enum class Lesson : int {
    Presentation = 0,
    OpenLoop = 1,
    LoopP = 2,
    LoopPI = 3,
    DisturbModel = 4,
    DisturbP = 5,
    DisturbPI = 6,
};
inline constexpr int kLessonCount = 7;

inline constexpr int kIdleClock = 0;
inline constexpr int kPresentationClock = -1;

// A sampling period is 40 ticks; one tick is one pixel along both time axes.
inline constexpr int kPeriodTicks = 40;
inline constexpr int kPeriodCount = 6;

// A lesson's band of the scene clock: the start button puts the clock on
// `start`; it advances while base < clock < end and stops on `end`.
struct Band {
    int base;
    int start;
    int end;
};

inline constexpr Band kOpenLoopBand{0, 1, 255};
inline constexpr Band kLoopPBand{1000, 1001, 1240};
inline constexpr Band kLoopPIBand{2000, 2001, 2240};
inline constexpr Band kDisturbModelBand{3000, 3001, 3220};
inline constexpr Band kDisturbPBand{4000, 4001, 4240};
inline constexpr Band kDisturbPIBand{5000, 5001, 5240};

// Exclusive bounds on the clock before it is advanced.
struct PeriodWindow {
    int low;
    int high;
    constexpr bool contains(int clock) const { return low < clock && clock < high; }
};

// Period 0 is the whole continuous run; period k admits local ticks
// 40(k-1)+1 .. 40k-1 (2..39 for the first, up to 240 for the last).
constexpr PeriodWindow periodWindow(int base, int period)
{
    const int runTicks = kPeriodTicks * kPeriodCount;
    if (period <= 0 || period > kPeriodCount)
        return {base, base + runTicks};
    const int low = period == 1 ? base : base + kPeriodTicks * (period - 1) - 1;
    const int high = period == kPeriodCount ? base + runTicks : base + kPeriodTicks * period - 1;
    return {low, high};
}

// Whether a tick with this clock runs the lesson of that base in that period.
constexpr bool periodRuns(int base, int period, int clock)
{
    return clock > base && periodWindow(base, period).contains(clock);
}

// One press of "Incrémenter la Période": moves the period index one step and
// puts the clock on that period's first value. Returns true when it starts
// period 1 again, after which the lesson area must be cleared.
bool advancePeriod(int& period, int& clock, int base);

}  // namespace t1
