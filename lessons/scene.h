#pragma once

#include "lessons/animation_state.h"
#include "lessons/lesson_controls.h"
#include "picture/surfaces.h"

namespace t1 {

// The lower half of the window where the plots and lesson texts live.
// The menu, mode and start handlers clear it; lessons never do.
inline constexpr int kLessonAreaLeft = 0;
inline constexpr int kLessonAreaTop = 170;
inline constexpr int kLessonAreaRight = 800;
inline constexpr int kLessonAreaBottom = 480;

// What a tick works on: the animation state, the surfaces, the controls.
struct Scene {
    AnimationState st;
    Surfaces surfaces;
    LessonControls* controls = nullptr;
};

void clearLessonArea(Canvas& window);

// The oven at rest, drawn while the clock is idle.
void idleTick(Scene& scene);

// One timer tick after its prologue: by the clock's band, the idle oven,
// the presentation or one instant of a lesson. At most one of them draws.
void sceneTick(Scene& scene);

}  // namespace t1
