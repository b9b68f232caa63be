#pragma once

namespace t1 {

struct Scene;

// The oven of the two closed-loop disturbance lessons: hot and red, its door
// open for the whole second sampling period (ticks 41 to 79), shut before
// and after. Ticks 40 and 80 show no door at all.
void doorScenarioOvenStep(Scene& scene, int t);

}  // namespace t1
