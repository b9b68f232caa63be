#pragma once

namespace t1 {

class Canvas;

// The sampled control loop as a block diagram in the upper band of the
// window. Leaves the surface's text font blue, 7 pt, for every later text.
void drawBlockDiagram(Canvas& canvas);

}  // namespace t1
