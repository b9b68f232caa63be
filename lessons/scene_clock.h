#pragma once

#include "lessons/lesson_row.h"

namespace t1 {

inline constexpr int kIdleClock = 0;
inline constexpr int kPresentationClock = -1;

// A sampling period is 40 ticks; one tick is one pixel along both time axes.
inline constexpr int kPeriodTicks = 40;

// The clock is advanced before a lesson draws: its first drawn local tick.
inline constexpr int kFirstDrawnTick = 2;

// Exclusive bounds on the clock before it is advanced.
struct PeriodWindow {
    int low;
    int high;
    constexpr bool contains(int clock) const { return low < clock && clock < high; }
};

// Period 0 is the whole continuous run; period k admits local ticks
// 40(k-1)+1 .. 40k-1 (2..39 for the first, up to the run's end for the last).
constexpr PeriodWindow periodWindow(const LessonRow& lesson, int period)
{
    const int base = lesson.band.base;
    const int runEnd = base + kPeriodTicks * lesson.periods;
    if (period <= 0 || period > lesson.periods)
        return {base, runEnd};
    const int low = period == 1 ? base : base + kPeriodTicks * (period - 1) - 1;
    const int high = period == lesson.periods ? runEnd : base + kPeriodTicks * period - 1;
    return {low, high};
}

// Whether a tick with this clock runs the lesson in that period.
constexpr bool periodRuns(const LessonRow& lesson, int period, int clock)
{
    return clock > lesson.band.base && periodWindow(lesson, period).contains(clock);
}

// The sampling period a local tick lies in, counted from 1.
constexpr int periodOfTick(int t)
{
    return (t - 1) / kPeriodTicks + 1;
}

// One press of "Incrémenter la Période": moves the period index one step and
// puts the clock on that period's first value. Returns true when it starts
// period 1 again, after which the lesson area must be cleared.
bool advancePeriod(const LessonRow& lesson, int& period, int& clock);

}  // namespace t1
