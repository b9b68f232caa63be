#include "lessons/scene.h"

#include "lessons/lessons.h"
#include "lessons/scene_clock.h"

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

// A continuous-only band: runs while base < clock < end.
bool advanceBand(AnimationState& st, const Band& band)
{
    if (st.gSceneTick <= band.base || st.gSceneTick >= band.end)
        return false;
    ++st.gSceneTick;
    return true;
}

// A sampled lesson runs only inside the window of its current period.
void runClosedLoop(Scene& scene, const ClosedLoopLesson& lesson, void (*tick)(Scene&))
{
    AnimationState& st = scene.st;
    if (!periodRuns(lesson.band.base, st.*lesson.period, st.gSceneTick))
        return;
    ++st.gSceneTick;
    st.*lesson.localTick = st.gSceneTick - lesson.band.base;
    tick(scene);
}

}  // namespace

// The tests follow one another without an else, as the bands are disjoint
// and each step moves the clock only inside its own band.
void sceneTick(Scene& scene)
{
    AnimationState& st = scene.st;
    if (st.gSceneTick == kIdleClock)
        idleTick(scene);
    if (st.gSceneTick == kPresentationClock)
        presentationTick(scene);
    if (advanceBand(st, kOpenLoopBand))
        openLoopTick(scene);
    runClosedLoop(scene, kLoopP, loopPTick);
    runClosedLoop(scene, kLoopPI, loopPITick);
    if (advanceBand(st, kDisturbModelBand)) {
        st.gTickDisturbModel = st.gSceneTick - kDisturbModelBand.base;
        disturbModelTick(scene);
    }
    runClosedLoop(scene, kDisturbP, disturbPTick);
    runClosedLoop(scene, kDisturbPI, disturbPITick);
}

}  // namespace t1
