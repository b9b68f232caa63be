#pragma once

#include "picture/figures.h"

#include <array>

namespace t1 {

class Canvas;

// The two time plots in the lower half of the window: the command U(t) (or
// the disturbance Q(t)) on the left, the sensor voltage S(t) on the right.
// Local tick t lies at x = 140 + t and x = 490 + t; values point up from y = 300.

// Axes and arrowheads, blue.
void drawPlotFrame(Canvas& window);

// One stroke per sampling period of 40 ticks across both time axes, for the
// lessons that sample.
void drawPeriodMarks(Canvas& window);

// "T" and "2T" under the first two period marks of each plot.
using PeriodLabels = std::array<Label, 4>;
inline constexpr PeriodLabels kPeriodLabels{
    Label{175, 280, u"T"}, Label{210, 280, u"2T"}, Label{525, 280, u"T"}, Label{560, 280, u"2T"}};
// The PI loop lesson sets its U(t) labels a little lower and to the left.
inline constexpr PeriodLabels kLoopPIPeriodLabels{
    Label{173, 283, u"T"}, Label{208, 283, u"2T"}, Label{525, 280, u"T"}, Label{560, 280, u"2T"}};

void drawPeriodLabels(Canvas& window, const PeriodLabels& labels);

// What the left plot shows.
enum class LeftTitle { CommandU, DisturbanceQ };

// The left plot's title, the right plot's, and "t" on both time axes.
void drawPlotTitles(Canvas& window, LeftTitle left);

}  // namespace t1
