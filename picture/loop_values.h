#pragma once

namespace t1 {

// The loop's signals as the readouts print them. Written by the lessons on
// every tick, never reset: a lesson that stops leaves its last values.
struct LoopValues {
    double gE = 0;            // set-point, digital 0..255
    double gEp = 0;           // error E - X, digital
    double gEpu = 0;          // regulator output, digital
    double gX = 0;            // feedback (converter A/N), digital
    double gU = 0;            // command voltage, volts
    double gS = 0;            // sensor voltage, volts
    double gTemperature = 0;  // oven temperature, degrees C
};

}  // namespace t1
