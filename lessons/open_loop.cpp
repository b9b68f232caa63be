// Menu item 1: the open-loop step response (identification).
#include "lessons/lessons.h"
#include "lessons/scene.h"

namespace t1 {

void openLoopTick(Scene& /*scene*/)
{
}

}  // namespace t1
