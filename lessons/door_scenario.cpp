#include "lessons/door_scenario.h"

#include "lessons/scene.h"
#include "picture/colours.h"
#include "picture/oven_door.h"
#include "picture/oven_picture.h"

namespace t1 {

namespace {

constexpr int kDoorOpens = 40;
constexpr int kDoorCloses = 80;
// The leak strokes move half a pixel per tick from this phase on.
constexpr int kLeakPhase = 60;
// The second group of strokes follows after half the opening.
constexpr int kSecondLeakAfter = 60;

bool doorOpen(int t)
{
    return kDoorOpens < t && t < kDoorCloses;
}

void leakStrokes(Surfaces& s, int t)
{
    moveLeakStrokes(s.window, LeakGroup::First, t + kLeakPhase);
    if (t > kSecondLeakAfter)
        moveLeakStrokes(s.window, LeakGroup::Second, t + kLeakPhase);
}

}  // namespace

QRgb redCurve(int)
{
    return colour::red;
}

void doorScenarioOvenStep(Scene& scene, int t)
{
    Surfaces& s = scene.surfaces;
    // A new run starts clean, even after a run left the door open.
    if (t == kFirstDrawnTick)
        wipeUnderOven(s.window);

    OvenHooks hooks;
    if (t < kDoorOpens)
        hooks.afterFill = kClosedDoor;
    if (doorOpen(t))
        hooks.afterSensor = leakStrokes;
    if (t > kDoorCloses)
        hooks.afterLast = kClosedDoor;
    drawOven(s, hotOven(t, true), hooks);

    if (doorOpen(t))
        drawOpenDoor(s.window);
    if (t > kDoorCloses)
        wipeUnderOven(s.window);
}

}  // namespace t1
