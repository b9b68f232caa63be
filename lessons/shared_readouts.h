#pragma once

#include "picture/figures.h"
#include "picture/readouts.h"

namespace t1 {

// What two lessons write alike into the block diagram: a regulator label or
// a row of erase boxes. The rest of each lesson's labels and boxes are in
// its own file.

// The regulator's red patches: the whole label area, or the gain line alone
// (which leaves what the previous lesson wrote above it).
inline constexpr Box kWholeLabelPatch{142, 76, 229, 105};
inline constexpr Box kGainLinePatch{170, 90, 200, 100};
// The first line of every proportional regulator's label.
inline constexpr Label kProportional{155, 75, u"proportionnel"};

// A proportional regulator's label: its first line, and its gain ("G = 2")
// where the gain line's patch lies.
constexpr RegulatorLabel proportionalLabel(const Box& patch, QStringView gain)
{
    return {.patch = patch, .lines = {kProportional, Label{kGainLinePatch.x1, kGainLinePatch.y1, gain}}, .lineCount = 2};
}

// The two open-loop lessons, the identification and the disturbance model.
inline constexpr RegulatorLabel kOpenLoopRegulator = proportionalLabel(kWholeLabelPatch, u"G = 1");
// Their boxes are narrower than the values: they print the same E, Ep, Epu
// and U on every tick.
inline constexpr ReadoutBoxes kOpenLoopReadout{
    .e = {10, 60, 20, 70},
    .ep = {110, 60, 120, 70},
    .epu = {240, 60, 250, 70},
    .u = {335, 60, 345, 70},
    .s = {645, 60, 665, 75},
    .x = {Box{115, 130, 145, 148}},
    .openFeedback = true,
};

// The closed-loop lessons under P control; the two under PI control each
// change one of these boxes.
inline constexpr ReadoutBoxes kClosedLoopReadout{
    .e = {10, 60, 30, 75},
    .ep = {110, 60, 130, 75},
    .epu = {240, 60, 260, 75},
    .u = {335, 60, 355, 75},
    .s = {645, 60, 665, 75},
    .x = {Box{115, 130, 145, 148}},
};

// The two lessons under PI control.
inline constexpr RegulatorLabel kPIRegulator{
    .patch = kWholeLabelPatch,
    .lines = {Label{180, 75, u"PI"}},
    .lineCount = 1,
};

}  // namespace t1
