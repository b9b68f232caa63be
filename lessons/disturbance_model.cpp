// Menu item 4: the model of a door-opening disturbance.
#include "lessons/lessons.h"
#include "lessons/scene.h"

namespace t1 {

void disturbModelTick(Scene& /*scene*/)
{
}

}  // namespace t1
