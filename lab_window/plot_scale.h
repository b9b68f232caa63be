#pragma once

#include <optional>

namespace t1 {

// One of the two time plots: U(t) on the left, S(t) on the right. Time runs
// from x = left (t = 0) to x = right (t = the shown periods).
struct PlotArea {
    int left;
    int right;
};

inline constexpr PlotArea kUPlot{52, 382};
inline constexpr PlotArea kSPlot{442, 772};
// Volts point up from the time axis: 0 V at the baseline, 10 V 200 px above.
inline constexpr int kPlotBaseline = 400;
inline constexpr int kPixelsPerVolt = 20;
// Values beyond are drawn on these bounds (S falls below 0 V with the door
// open under a small command).
inline constexpr double kLowestVolts = -0.4;
inline constexpr double kHighestVolts = 10.5;
// The plots' band of the scene, cleared when they are drawn anew.
inline constexpr int kPlotsTop = 170;
inline constexpr int kPlotsBottom = 430;
inline constexpr int kPlotsRight = 800;
// The top of the value axes.
inline constexpr int kAxisTop = 180;

// Time in sampling periods to pixels, for a number of shown periods.
class PlotScale {
public:
    explicit PlotScale(int periods);

    int periods() const { return m_periods; }
    // Truncated, as the lessons' screen coordinates are.
    int x(const PlotArea& area, double t) const;
    static int y(double volts);
    double pixelsPerPeriod() const;

    // The acquisition nearest to a point over either plot, among `count`;
    // none away from the plots.
    std::optional<int> sampleNear(int x, int y, int count) const;

private:
    int m_periods;
};

}  // namespace t1
