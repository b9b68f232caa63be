#pragma once

#include "picture/figures.h"
#include "picture/loop_values.h"

#include <array>
#include <span>

namespace t1 {

class Canvas;

// What a lesson writes into the block diagram on every tick: the regulator's
// label, the end of the feedback line at the comparator, and the values of
// the loop's signals. Texts use the window's current font (blue, 7 pt).

// The regulator's label, over a red patch that wipes the previous one: the
// larger patch the whole label, the smaller one only the gain line.
struct RegulatorLabel {
    Box patch;
    std::array<Label, 2> lines;
    int lineCount;
    constexpr std::span<const Label> text() const { return {lines.data(), static_cast<std::size_t>(lineCount)}; }
};

inline constexpr Box kWholeLabelPatch{142, 76, 229, 105};
inline constexpr Box kGainLinePatch{170, 90, 200, 100};
inline constexpr Label kProportional{155, 75, u"proportionnel"};

inline constexpr RegulatorLabel kOpenLoopRegulator{kWholeLabelPatch, {kProportional, Label{170, 90, u"G = 1"}}, 2};
inline constexpr RegulatorLabel kLoopPRegulator{kGainLinePatch, {kProportional, Label{170, 90, u"G = 2"}}, 2};
inline constexpr RegulatorLabel kLoopPIRegulator{kWholeLabelPatch, {Label{180, 75, u"PI"}}, 1};
inline constexpr RegulatorLabel kDisturbModelRegulator = kOpenLoopRegulator;
inline constexpr RegulatorLabel kDisturbPRegulator{kGainLinePatch, {kProportional, Label{170, 90, u"G = 4,55"}}, 2};
inline constexpr RegulatorLabel kDisturbPIRegulator = kLoopPIRegulator;

void drawRegulatorLabel(Canvas& window, const RegulatorLabel& label);

// Closed loop: the feedback line runs whole into the comparator.
void drawClosedFeedback(Canvas& window);

// A lesson's erase boxes, wiped in the background colour before the values
// are printed again: E, Ep, Epu, U, S, then X (one box or two). The open-loop
// lessons also cut the feedback line there and hold X at zero (earth symbol).
struct ReadoutBoxes {
    std::array<Box, 7> boxes;
    int boxCount;
    bool openFeedback;
    constexpr std::span<const Box> erase() const { return {boxes.data(), static_cast<std::size_t>(boxCount)}; }
};

inline constexpr ReadoutBoxes kOpenLoopReadout{
    {Box{10, 60, 20, 70}, Box{110, 60, 120, 70}, Box{240, 60, 250, 70}, Box{335, 60, 345, 70}, Box{645, 60, 665, 75},
     Box{115, 130, 145, 148}},
    6,
    true};
inline constexpr ReadoutBoxes kLoopPReadout{
    {Box{10, 60, 30, 75}, Box{110, 60, 130, 75}, Box{240, 60, 260, 75}, Box{335, 60, 355, 75}, Box{645, 60, 665, 75},
     Box{115, 130, 145, 148}},
    6,
    false};
inline constexpr ReadoutBoxes kLoopPIReadout{
    {Box{10, 60, 30, 75}, Box{110, 60, 130, 75}, Box{240, 60, 260, 75}, Box{335, 60, 355, 75}, Box{645, 60, 665, 75},
     Box{120, 130, 140, 145}, Box{115, 135, 135, 150}},
    7,
    false};
inline constexpr ReadoutBoxes kDisturbModelReadout = kOpenLoopReadout;
inline constexpr ReadoutBoxes kDisturbPReadout = kLoopPReadout;
// Its S box is wider: S shows hundredths there.
inline constexpr ReadoutBoxes kDisturbPIReadout{
    {Box{10, 60, 30, 75}, Box{110, 60, 130, 75}, Box{240, 60, 260, 75}, Box{335, 60, 355, 75}, Box{645, 60, 675, 75},
     Box{115, 130, 145, 148}},
    6,
    false};

// Wipes the lesson's boxes and prints E, Ep, Epu, U, S and X above their
// names in the diagram; the digital values and X rounded up, U and S as held.
void drawReadouts(Canvas& window, const LoopValues& values, const ReadoutBoxes& boxes);

}  // namespace t1
