#include "lessons/lesson_text.h"

#include "picture/canvas.h"
#include "picture/colours.h"

namespace t1 {

namespace {
constexpr int kMarkerWidth = 2;
}

void printBlocks(Canvas& canvas, std::span<const TextBlock> blocks, int tick)
{
    for (const TextBlock& b : blocks) {
        if (tick < b.from)
            continue;
        printLabels(canvas, b.lines);
        for (const TextMarker& m : b.markers) {
            canvas.setPenStyle(PenStyle::Solid);
            canvas.setPenWidth(kMarkerWidth);
            canvas.setPenColour(fromBgr(m.bgr));
            canvas.line(m.x1, m.y1, m.x2, m.y2);
        }
    }
}

}  // namespace t1
