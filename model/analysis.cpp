#include "model/analysis.h"

#include "model/converters.h"
#include "model/simulation.h"
#include "model/transfer.h"

#include <algorithm>
#include <cmath>

namespace t1::model {

namespace {

// Below this many digits X has not moved.
constexpr double kNoChange = 1e-9;
constexpr double kPercent = 100;
// A measured settling needs this many samples inside the band: the last
// sample alone always is.
constexpr std::size_t kSamplesInBand = 2;
// Within a band of one digit, the converter's resolution, more: a run
// stepping back a digit each period is under way, not settled.
constexpr std::size_t kSamplesInDigitBand = 4;
// The linear loop has reached its final value once as many outputs in a
// row as its order, and one more, are this close to it, relative to it.
constexpr double kConverged = 1e-9;
// The band is never narrower than the noise: this many standard deviations.
constexpr double kNoiseSpread = 3;
constexpr double kMillivoltsPerVolt = 1000;
// Swings spreading this large a fraction of the earlier ones have not died down.
constexpr double kSustained = 0.8;
// Turning points needed for a cycle: a peak and a trough, twice.
constexpr std::size_t kCycleTurns = 4;

// y(k) of den(z) Y = num(z) U for a unit step U from k = 0, at rest before.
class StepRecurrence {
public:
    explicit StepRecurrence(const Transfer& t) : m_num(t.num), m_den(trimmed(t.den)) {}

    double next()
    {
        const std::size_t n = m_den.size() - 1;
        const std::size_t k = m_y.size();
        double v = 0;
        // Term i multiplies the input and output at k - n + i.
        for (std::size_t i = 0; i < m_num.size() && i <= n; ++i)
            if (k + i >= n)
                v += m_num[i];
        for (std::size_t i = 0; i < n; ++i)
            if (k + i >= n)
                v -= m_den[i] * m_y[k + i - n];
        m_y.push_back(v / m_den[n]);
        return m_y.back();
    }

    std::size_t order() const { return m_den.size() - 1; }

private:
    Polynomial m_num;
    Polynomial m_den;
    std::vector<double> m_y;
};

// The samples' extremes, each counted once X has come back from it by more
// than `h`; the first sample is not one.
std::vector<std::size_t> turningPoints(std::span<const Sample> s, double h)
{
    std::vector<std::size_t> turns;
    int direction = 0;
    std::size_t extreme = 0;
    for (std::size_t i = 1; i < s.size(); ++i) {
        const double x = s[i].x;
        const double from = s[extreme].x;
        if (direction == 0) {
            if (std::abs(x - from) > h) {
                direction = x > from ? 1 : -1;
                extreme = i;
            }
        } else if (direction * (x - from) >= 0) {
            extreme = i;
        } else if (direction * (from - x) > h) {
            turns.push_back(extreme);
            direction = -direction;
            extreme = i;
        }
    }
    return turns;
}

double spread(std::span<const Sample> s, std::span<const std::size_t> turns)
{
    const auto [low, high] = std::minmax_element(
        turns.begin(), turns.end(), [s](std::size_t a, std::size_t b) { return s[a].x < s[b].x; });
    return s[*high].x - s[*low].x;
}

// The shortest period over which the last samples repeat the ones before,
// to within h; 0 if none up to half the samples.
std::size_t repeatingPeriod(std::span<const Sample> s, double h)
{
    for (std::size_t p = 2; 2 * p <= s.size(); ++p) {
        bool repeats = true;
        for (std::size_t i = s.size() - p; i < s.size() && repeats; ++i)
            repeats = std::abs(s[i].x - s[i - p].x) <= h;
        if (repeats)
            return p;
    }
    return 0;
}

// Swings beyond h that keep their size: the later half of the turning
// points spreads as wide as the earlier one.
std::optional<Oscillation> oscillation(std::span<const Sample> s, double h)
{
    const std::vector<std::size_t> turns = turningPoints(s, h);
    if (turns.size() < kCycleTurns)
        return std::nullopt;
    const std::size_t half = turns.size() / 2;
    const std::span<const std::size_t> all(turns);
    if (spread(s, all.last(half)) < kSustained * spread(s, all.first(half)))
        return std::nullopt;
    // An exact cycle, or the mean spacing of the later turning points, two
    // to a period.
    std::size_t period = repeatingPeriod(s, h);
    const std::size_t lastTurns = turns.size() - half;
    if (period == 0) {
        const double spacing = double(turns.back() - turns[half]) / double(std::max<std::size_t>(lastTurns - 1, 1));
        period = static_cast<std::size_t>(std::max(std::lround(2 * spacing), 2L));
    }
    const std::span<const Sample> cycle = s.last(std::min(period, s.size()));
    const auto [low, high] = std::minmax_element(cycle.begin(), cycle.end(),
                                                 [](const Sample& a, const Sample& b) { return a.x < b.x; });
    return Oscillation{low->x, high->x, static_cast<int>(period)};
}

}  // namespace

std::vector<double> linearStep(const Parameters& p, int periods)
{
    StepRecurrence r(stepResponse(p));
    std::vector<double> x;
    for (int k = 0; k <= periods; ++k)
        x.push_back(r.next());
    return x;
}

Theory theory(const Parameters& p)
{
    Theory t;
    t.poles = closedLoopPoles(p);
    if (!t.poles.stable)
        return t;
    const double xf = linearFinalX(p);
    t.finalX = xf;
    t.staticError = p.e - xf;
    t.finalS = xf / kDigitsPerVolt;
    if (std::abs(xf) <= kNoChange) {
        t.overshootPercent = 0;
        t.settling = 0;
        return t;
    }
    StepRecurrence r(stepResponse(p));
    const double band = kSettlingBand * std::abs(xf);
    const double close = kConverged * std::abs(xf);
    const double direction = xf > 0 ? 1 : -1;
    double beyond = 0;
    int lastOut = -1;
    std::size_t closeInRow = 0;
    for (int k = 0; k < kTheoryHorizon; ++k) {
        const double x = r.next();
        if (std::abs(x - xf) > band)
            lastOut = k;
        beyond = std::max(beyond, direction * (x - xf));
        closeInRow = std::abs(x - xf) <= close ? closeInRow + 1 : 0;
        if (closeInRow > r.order()) {
            t.settling = lastOut + 1;
            break;
        }
    }
    t.overshootPercent = kPercent * beyond / std::abs(xf);
    return t;
}

Measures measure(std::span<const Sample> samples, const Parameters& inForce, bool setPointStep)
{
    Measures m;
    m.setPointStep = setPointStep;
    m.count = samples.size();
    if (samples.empty())
        return m;
    const Sample& first = samples.front();
    const Sample& last = samples.back();
    m.from = first.k;
    m.lastX = last.x;
    m.lastS = last.s;

    const double change = last.x - first.x;
    const double noise = kNoiseSpread * inForce.noise.millivolts / kMillivoltsPerVolt * kDigitsPerVolt;
    // Never finer than the converter reads: a run going round its last digit
    // has settled, however small its step.
    const double digit = inForce.quantised ? 1.0 : 0.0;
    const double measured = std::max(kSettlingBand * std::abs(change), noise);
    const double band = std::max(measured, digit);
    const std::size_t needed = digit > measured ? kSamplesInDigitBand : kSamplesInBand;
    // A swing of one digit is the converter's resolution, and one within the
    // noise's spread either way is noise: no oscillation.
    m.oscillation = oscillation(samples, std::max({band, 2 * noise, kNoChange}));
    if (m.oscillation)
        return m;

    std::size_t settledFrom = 0;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (std::abs(samples[i].x - last.x) > band)
            settledFrom = i + 1;
    if (samples.size() - settledFrom < needed)
        return m;
    Settled s{last.x, last.s, last.e - last.x, samples[settledFrom].k - first.k, std::nullopt};
    if (setPointStep) {
        const double direction = change > 0 ? 1 : -1;
        double beyond = 0;
        for (const Sample& sample : samples)
            beyond = std::max(beyond, direction * (sample.x - last.x));
        s.overshootPercent = std::abs(change) > kNoChange ? kPercent * beyond / std::abs(change) : 0;
    }
    m.settled = s;
    return m;
}

Measures measureRun(const Simulation& run)
{
    const auto& samples = run.samples();
    const Mark* acted = nullptr;
    for (const Mark& mark : run.marks())
        if (static_cast<std::size_t>(mark.k) < samples.size())
            acted = &mark;
    const std::size_t from = acted ? static_cast<std::size_t>(acted->k) : 0;
    const StartOutcome::Kind start = run.startOutcome().kind;
    const bool step = acted ? acted->before.e != acted->after.e
                            : start == StartOutcome::Kind::Cold || start == StartOutcome::Kind::NoneFound;
    Measures m = measure(std::span(samples).subspan(from), run.parametersAt(static_cast<int>(from)), step);
    m.from = static_cast<int>(from);
    m.afterChange = acted != nullptr;
    return m;
}

}  // namespace t1::model
