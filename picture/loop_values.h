#pragma once

namespace t1 {

// The loop's seven signals, one field each under the program's names, in
// one order: the set-point and the digital signals (E, Ep, Epu, X), the
// voltages (U, S), the temperature. The same fields hold their values
// (LoopValues) or the texts the readouts print of them (LoopTexts).
template <typename T>
struct LoopSignals {
    T gE{};            // set-point, digital 0..255
    T gEp{};           // error E - X, digital
    T gEpu{};          // regulator output, digital
    T gX{};            // feedback (converter A/N), digital
    T gU{};            // command voltage, volts
    T gS{};            // sensor voltage, volts
    T gTemperature{};  // oven temperature, degrees C
};

// Written by the lessons on every tick, never reset: a lesson that stops
// leaves its last values.
using LoopValues = LoopSignals<double>;

}  // namespace t1
