#pragma once

#include "picture/figures.h"

#include <array>

namespace t1 {

class Canvas;

// The two time plots in the lower half of the window: the command U(t) (or
// the disturbance Q(t)) on the left, the sensor voltage S(t) on the right.
// Local tick t lies at x = 140 + t and x = 490 + t; values point up from y = 300.
inline constexpr int kLeftPlotOrigin = 140;
inline constexpr int kRightPlotOrigin = 490;

// Axes and arrowheads, blue.
void drawPlotFrame(Canvas& window);

// One stroke per sampling period of 40 ticks across both time axes, for the
// lessons that sample.
void drawPeriodMarks(Canvas& window);

// "T" and "2T" under the first two period marks of each plot: U(t), then S(t).
using PeriodLabels = std::array<Label, 4>;

void drawPeriodLabels(Canvas& window, const PeriodLabels& labels);

// What the left plot shows.
enum class LeftTitle { CommandU, DisturbanceQ };

// The left plot's title, the right plot's, and "t" on both time axes.
void drawPlotTitles(Canvas& window, LeftTitle left);

}  // namespace t1
