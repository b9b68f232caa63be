// Menu item 6: the loop's answer to the disturbance under PI control.
#include "lessons/lessons.h"
#include "lessons/scene.h"

namespace t1 {

void disturbPITick(Scene& /*scene*/)
{
}

}  // namespace t1
