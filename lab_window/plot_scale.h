#pragma once

#include <array>
#include <optional>
#include <vector>

#include "time_display.h"

namespace t1 {

namespace model {
class Simulation;
}

// One of the two time plots: U(t) on the left, S(t) on the right. Time runs
// from x = left (t = 0) to x = right (the end of the shown periods).
struct PlotArea {
    int left;
    int right;

    bool operator==(const PlotArea&) const = default;
};

inline constexpr PlotArea kUPlot{52, 382};
inline constexpr PlotArea kSPlot{442, 772};
inline constexpr std::array<PlotArea, 2> kPlotAreas{kUPlot, kSPlot};
// Volts point up from the time axis: 0 V at the baseline, 10 V 200 px above.
inline constexpr int kPlotBaseline = 400;
inline constexpr int kPixelsPerVolt = 20;
// The range drawn: the model keeps S at 0 V or above, and S beyond 10 V
// (K above 1) is drawn on the top bound, inside the frame.
inline constexpr double kLowestVolts = 0;
inline constexpr double kHighestVolts = 10.5;
// The plots' band of the scene, cleared when they are drawn anew.
inline constexpr int kPlotsTop = 170;
inline constexpr int kPlotsBottom = 430;
inline constexpr int kPlotsRight = 800;
// The top of the value axes.
inline constexpr int kAxisTop = 180;

// Where a run's instant, t periods from its start, falls on the plots'
// common time axis: in T1, or in seconds. Each period lasts its own T/T1
// (and T1 in seconds); past the run's last acquisition, those of its next.
// Runs with different periods so compare in time.
double axisTime(const model::Simulation& run, double periods, TimeUnit unit);
// The inverse: the run's periods at an instant of the axis (0 before it).
double runPeriods(const model::Simulation& run, double time, TimeUnit unit);

// The common time axis: it spans the current run's shown periods, with
// their own durations (a change of T acts on the span). Pixels are
// truncated, as the lessons' screen coordinates are.
class PlotScale {
public:
    PlotScale(const model::Simulation& run, int shownPeriods, TimeUnit unit);

    TimeUnit unit() const { return m_unit; }
    int periods() const { return static_cast<int>(m_acquisitions.size()) - 1; }
    // The axis time at the right end.
    double span() const { return m_acquisitions.back(); }
    // The axis time of the current run's acquisition k, 0 .. periods().
    double acquisitionTime(int k) const;

    int x(const PlotArea& area, double time) const;
    // A run's instant, in its periods.
    int x(const PlotArea& area, const model::Simulation& run, double periods) const;
    double timeAt(const PlotArea& area, int x) const;
    double pixelsPerUnit() const;
    static int y(double volts);

    // The plot a point of the scene is over, if any.
    static std::optional<PlotArea> areaAt(int x, int y);

    bool operator==(const PlotScale&) const = default;

private:
    TimeUnit m_unit;
    std::vector<double> m_acquisitions;
};

}  // namespace t1
