#pragma once

namespace t1 {

struct Scene;

// One instant of each scene. The dispatcher has already advanced the clock
// and set the lesson's local tick when these run.
void idleTick(Scene& scene);
void presentationTick(Scene& scene);
void openLoopTick(Scene& scene);
void loopPTick(Scene& scene);
void loopPITick(Scene& scene);
void disturbModelTick(Scene& scene);
void disturbPTick(Scene& scene);
void disturbPITick(Scene& scene);

}  // namespace t1
