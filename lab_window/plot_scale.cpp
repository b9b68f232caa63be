#include "lab_window/plot_scale.h"

#include <algorithm>
#include <cmath>

namespace t1 {

namespace {

// A pointer this far beside a plot still points into it.
constexpr int kPointerMargin = 6;

}  // namespace

PlotScale::PlotScale(int periods) : m_periods(std::max(periods, 1)) {}

double PlotScale::pixelsPerPeriod() const
{
    return double(kUPlot.right - kUPlot.left) / m_periods;
}

int PlotScale::x(const PlotArea& area, double t) const
{
    return area.left + static_cast<int>(t * (area.right - area.left) / m_periods);
}

int PlotScale::y(double volts)
{
    // fmin/fmax: a NaN lands on a bound.
    const double v = std::fmax(kLowestVolts, std::fmin(volts, kHighestVolts));
    return kPlotBaseline - static_cast<int>(std::lround(v * kPixelsPerVolt));
}

std::optional<int> PlotScale::sampleNear(int px, int py, int count) const
{
    if (count <= 0 || py < kPlotsTop || py >= kPlotsBottom)
        return std::nullopt;
    for (const PlotArea& area : {kUPlot, kSPlot}) {
        if (px < area.left - kPointerMargin || px > area.right + kPointerMargin)
            continue;
        const double t = double(px - area.left) * m_periods / (area.right - area.left);
        return std::clamp(static_cast<int>(std::lround(t)), 0, count - 1);
    }
    return std::nullopt;
}

}  // namespace t1
