// Menu item 2: the closed-loop step response under P control.
#include "lessons/lessons.h"
#include "lessons/scene.h"

namespace t1 {

void loopPTick(Scene& /*scene*/)
{
}

}  // namespace t1
