#include "lessons/scene.h"

#include "lessons/lesson_table.h"

namespace t1 {

void clearLessonArea(Canvas& window)
{
    window.setPenWidth(1);
    window.setPenStyle(PenStyle::Solid);
    window.setBrushStyle(BrushStyle::Solid);
    window.setPenAndBrush(colour::btnFace);
    window.rectangle(kLessonAreaLeft, kLessonAreaTop, kLessonAreaRight, kLessonAreaBottom);
}

namespace {

bool runs(const AnimationState& st, const LessonRow& row)
{
    switch (row.running) {
    case Running::Page:
        return st.gSceneTick == row.band.start;
    case Running::Continuous:
        return row.band.base < st.gSceneTick && st.gSceneTick < row.band.end;
    case Running::Sampled:
        // Only inside the window of its current period.
        return periodRuns(row, st.clockOf(row).period, st.gSceneTick);
    }
    return false;
}

}  // namespace

// The tests follow one another without an else, as the bands are disjoint
// and each step moves the clock only inside its own band.
void sceneTick(Scene& scene)
{
    AnimationState& st = scene.st;
    if (st.gSceneTick == kIdleClock)
        idleTick(scene);
    for (const LessonRow& row : kLessons) {
        if (!runs(st, row))
            continue;
        if (row.running != Running::Page)
            ++st.gSceneTick;
        const int t = st.gSceneTick - row.band.base;
        st.clockOf(row).localTick = t;
        row.tick(scene, t);
    }
}

}  // namespace t1
