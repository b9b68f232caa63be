#pragma once

#include "picture/figures.h"

#include <cstdint>
#include <span>

namespace t1 {

class Canvas;

// A coloured stroke (pen width 2) that marks a block of text, written as
// the lessons write colours, 0x00BBGGRR.
struct TextMarker {
    std::uint32_t bgr;
    int x1, y1, x2, y2;
};

// Lines printed on every tick from `from` on, then their markers.
struct TextBlock {
    int from;
    std::span<const Label> lines;
    std::span<const TextMarker> markers = {};
};

// Prints every block whose first tick has come, each followed by its markers.
// Leaves the pen at width 2 when a marker was drawn: each stroke sets the
// width and nothing sets it back, which the next drawing of the tick relies on.
void printBlocks(Canvas& canvas, std::span<const TextBlock> blocks, int tick);

}  // namespace t1
