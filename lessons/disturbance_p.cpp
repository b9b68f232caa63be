// Menu item 5: the loop's answer to the disturbance under P control.
#include "lessons/lessons.h"
#include "lessons/scene.h"

namespace t1 {

void disturbPTick(Scene& /*scene*/)
{
}

}  // namespace t1
