#include "lab_window/plot_scale.h"

#include "model/experiment.h"
#include "model/simulation.h"

#include <algorithm>
#include <cmath>

namespace t1 {

namespace {

// A pointer this far beside a plot still points into it.
constexpr int kPointerMargin = 6;
// The axis never looks further past a run's last acquisition.
constexpr double kMostAhead = model::kMaxShownPeriods + 1;
// Truncation to pixels forgives this much, so that k periods summed one by
// one and k times a period land on the same pixel.
constexpr double kPixelSlack = 1e-9;
// How far off the plot a time is still placed before it is held there.
constexpr double kLowestFraction = -1;
constexpr double kHighestFraction = 2;

double duration(const model::Parameters& p, TimeUnit unit)
{
    return unit == TimeUnit::Seconds ? p.ratio * p.oven.t1Seconds : p.ratio;
}

double startOf(const model::Sample& s, TimeUnit unit)
{
    return unit == TimeUnit::Seconds ? s.seconds : s.time;
}

}  // namespace

double axisTime(const model::Simulation& run, double periods, TimeUnit unit)
{
    const auto& samples = run.samples();
    const double n = static_cast<double>(samples.size());
    // fmax/fmin: a NaN goes to the start.
    const double t = std::fmin(std::fmax(periods, 0.0), n + kMostAhead);
    if (t < n) {
        const auto i = static_cast<std::size_t>(t);
        return startOf(samples[i], unit) + (t - double(i)) * duration(run.parametersAt(int(i)), unit);
    }
    // Past the last acquisition, period after period as the run adds them.
    double time = 0;
    if (!samples.empty())
        time = startOf(samples.back(), unit) + duration(run.parametersAt(int(samples.size()) - 1), unit);
    const double next = duration(run.parameters(), unit);
    double k = n;
    for (; k + 1 <= t; ++k)
        time += next;
    return time + (t - k) * next;
}

double runPeriods(const model::Simulation& run, double time, TimeUnit unit)
{
    if (!(time > 0))
        return 0;
    const auto& samples = run.samples();
    double from = 0;
    double base = 0;
    if (!samples.empty()) {
        const int last = static_cast<int>(samples.size()) - 1;
        base = startOf(samples.back(), unit) + duration(run.parametersAt(last), unit);
        from = last + 1;
        if (time < base) {
            const auto after = std::upper_bound(samples.begin(), samples.end(), time, [unit](double v, const model::Sample& s) {
                return v < startOf(s, unit);
            });
            const auto i = static_cast<int>(after - samples.begin()) - 1;
            const double d = duration(run.parametersAt(i), unit);
            return d > 0 ? i + (time - startOf(samples[std::size_t(i)], unit)) / d : i;
        }
    }
    const double d = duration(run.parameters(), unit);
    return d > 0 ? from + std::fmin((time - base) / d, kMostAhead) : from;
}

PlotScale::PlotScale(const model::Simulation& run, int shownPeriods, TimeUnit unit) : m_unit(unit)
{
    const int periods = std::clamp(shownPeriods, 1, model::kMaxShownPeriods);
    for (int k = 0; k <= periods; ++k)
        m_acquisitions.push_back(axisTime(run, k, unit));
    // The parameters are sanitised: this only keeps the axis usable whatever.
    if (!(m_acquisitions.back() > 0) || !std::isfinite(m_acquisitions.back()))
        m_acquisitions.back() = 1;
}

double PlotScale::acquisitionTime(int k) const
{
    return m_acquisitions[std::size_t(std::clamp(k, 0, periods()))];
}

double PlotScale::pixelsPerUnit() const
{
    return double(kUPlot.right - kUPlot.left) / span();
}

int PlotScale::x(const PlotArea& area, double time) const
{
    const double f = time / span();
    const double held = std::isfinite(f) ? std::clamp(f, kLowestFraction, kHighestFraction) : 0.0;
    return area.left + static_cast<int>(held * (area.right - area.left) + kPixelSlack);
}

int PlotScale::x(const PlotArea& area, const model::Simulation& run, double periods) const
{
    return x(area, axisTime(run, periods, m_unit));
}

double PlotScale::timeAt(const PlotArea& area, int px) const
{
    return double(px - area.left) * span() / (area.right - area.left);
}

int PlotScale::y(double volts)
{
    // fmin/fmax: a NaN lands on a bound.
    const double v = std::fmax(kLowestVolts, std::fmin(volts, kHighestVolts));
    return kPlotBaseline - static_cast<int>(std::lround(v * kPixelsPerVolt));
}

std::optional<PlotArea> PlotScale::areaAt(int px, int py)
{
    if (py < kPlotsTop || py >= kPlotsBottom)
        return std::nullopt;
    for (const PlotArea& area : kPlotAreas)
        if (px >= area.left - kPointerMargin && px <= area.right + kPointerMargin)
            return area;
    return std::nullopt;
}

}  // namespace t1
