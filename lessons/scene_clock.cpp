#include "lessons/scene_clock.h"

namespace t1 {

bool advancePeriod(const LessonRow& lesson, int& period, int& clock)
{
    const int base = lesson.band.base;
    // After the last period the cycle starts over at period 1.
    if (period >= lesson.periods || period < 0)
        period = 0;
    if (period == 0) {
        period = 1;
        clock = base + 1;
        return true;
    }
    clock = base + kPeriodTicks * period;
    ++period;
    return false;
}

}  // namespace t1
