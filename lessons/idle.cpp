// The idle oven picture, drawn while the clock is 0.
#include "lessons/lessons.h"
#include "lessons/scene.h"

namespace t1 {

void idleTick(Scene& /*scene*/)
{
}

}  // namespace t1
