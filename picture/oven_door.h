#pragma once

namespace t1 {

class Canvas;

// What the disturbance lessons draw on the window just below the oven
// picture while its door is open. The door shut is drawn on the picture
// itself (drawClosedDoor).

// The door swung down from its hinge at the oven's lower left corner, and
// the red heat showing through the opening above it.
void drawOpenDoor(Canvas& window);

// Heat leaking out under the open door: two groups of three short violet
// strokes. A group at phase p sits half a pixel further right per unit of p;
// moving it to p wipes its strokes at p - 1 and draws them at p.
enum class LeakGroup { First, Second };
void moveLeakStrokes(Canvas& window, LeakGroup group, int phase);

// Wipes the area under the oven: the open door and the leak strokes.
void wipeUnderOven(Canvas& window);

}  // namespace t1
