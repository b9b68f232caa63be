#pragma once

#include "picture/figures.h"
#include "picture/loop_values.h"

#include <QString>

#include <array>
#include <span>

namespace t1 {

class Canvas;

// What a lesson writes into the block diagram on every tick: the regulator's
// label, the end of the feedback line at the comparator, and the values of
// the loop's signals. Texts use the window's current font (blue, 7 pt). The
// lessons hold their own labels and boxes.

// The regulator's label, over a red patch that wipes the previous one.
struct RegulatorLabel {
    Box patch;
    std::array<Label, 2> lines;
    int lineCount;
    constexpr std::span<const Label> text() const { return {lines.data(), static_cast<std::size_t>(lineCount)}; }
};

void drawRegulatorLabel(Canvas& window, const RegulatorLabel& label);

// Closed loop: the feedback line runs whole into the comparator.
void drawClosedFeedback(Canvas& window);

// A lesson's erase boxes, wiped in the background colour in this order
// before the values are printed again. With `openFeedback` the feedback line
// is also cut after the Ep box and X held at zero (an earth symbol).
struct ReadoutBoxes {
    Box e;
    Box ep;
    Box epu;
    Box u;
    Box s;
    std::array<Box, 2> x;  // one box, or two
    int xCount = 1;
    bool openFeedback = false;
    constexpr std::span<const Box> xBoxes() const { return {x.data(), static_cast<std::size_t>(xCount)}; }
};

// Wipes the lesson's boxes and prints E, Ep, Epu, U, S and X above their
// names in the diagram; the digital values and X rounded up, U and S as held.
void drawReadouts(Canvas& window, const LoopValues& values, const ReadoutBoxes& boxes);

// The same with the texts already written, for a window with a rule of its own.
struct ReadoutStrings {
    QString e, ep, epu, u, s, x;
};
void drawReadouts(Canvas& window, const ReadoutStrings& texts, const ReadoutBoxes& boxes);

}  // namespace t1
