// The idle oven picture, drawn while the clock is 0.
#include "lessons/scene.h"
#include "picture/oven_picture.h"

namespace t1 {

void idleTick(Scene& scene)
{
    drawIdleOven(scene.surfaces);
}

}  // namespace t1
