// Menu item 3: the deadbeat closed-loop response under PI control.
#include "lessons/lessons.h"
#include "lessons/scene.h"

namespace t1 {

void loopPITick(Scene& /*scene*/)
{
}

}  // namespace t1
