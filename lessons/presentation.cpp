// Menu item 0: the introductory page.
#include "lessons/lessons.h"
#include "lessons/scene.h"

namespace t1 {

void presentationTick(Scene& /*scene*/)
{
}

}  // namespace t1
