#pragma once

#include "picture/colours.h"
#include "picture/surfaces.h"

namespace t1 {

// How a lesson's oven looks on one tick: heat level n (the lesson's local
// tick: it turns the rotor and moves the heat lines), the colour of the
// inside and of the fan's ground, heat lines on or off.
struct OvenLook {
    int heatLevel;
    QRgb interior;
    QRgb fanGround;
    bool heatLines;
};

// The heating lessons: inside and fan in the heat colour of n.
constexpr OvenLook heatingOven(int n)
{
    return {n, heatColour(n), heatColour(n), true};
}

// The disturbance lessons: the oven is hot and stays red.
constexpr OvenLook hotOven(int n, bool heatLines)
{
    return {n, colour::red, colour::red, heatLines};
}

// A drawing that a lesson slips into the oven routine at a fixed point.
using OvenStep = void (*)(Surfaces& s, int heatLevel);

struct OvenHooks {
    // On the picture right after the inside is filled, before the leads and
    // the sensor, which are then outlined with whatever pen it leaves.
    OvenStep afterFill = nullptr;
    // After the sensor, before the heat lines.
    OvenStep afterSensor = nullptr;
    // After the fan sprite, the routine's last step.
    OvenStep afterLast = nullptr;
};

// The oven's door shut: a dark green line of width 2 along the bottom edge of
// the picture. It leaves that pen on the picture.
void drawClosedDoor(Canvas& fond);
// The same, as a step of the oven routine.
inline constexpr OvenStep kClosedDoor = [](Surfaces& s, int) { drawClosedDoor(s.fond); };

// The cold oven shown while no lesson runs: no heat lines, no motion.
void drawIdleOven(Surfaces& s);

// Rebuilds the oven picture for one lesson tick, from a fresh copy of the
// background. Turns the rotor of gFanBmpB and recolours gResistorBmp red.
void drawOven(Surfaces& s, const OvenLook& look, const OvenHooks& hooks = {});

// The oven's temperature, rounded up, under the sensor.
void drawTemperatureCaption(Canvas& fond, double temperature);

}  // namespace t1
