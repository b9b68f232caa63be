#include "model/simulation.h"

#include <algorithm>
#include <cmath>

namespace t1::model {

namespace {

constexpr double kMillivoltsPerVolt = 1000;

// t brought into [0, until], a NaN to 0.
double within(double t, double until)
{
    return t > 0 ? (t < until ? t : until) : 0;
}

// Drawn at every acquisition, noise or not, so that the draws keep their
// places whatever the standard deviation.
double noiseVolts(Random& random, const Parameters& p)
{
    return p.noise.millivolts / kMillivoltsPerVolt * random.normal();
}

}  // namespace

Simulation::Simulation(const Parameters& parameters, Start start) : m_next(sanitised(parameters)), m_start(start)
{
    reset();
}

void Simulation::reset(Start start)
{
    m_start = start;
    reset();
}

void Simulation::reset()
{
    m_steady = m_start == Start::Steady ? steadyState(m_next) : std::nullopt;
    m_initial = m_steady ? m_steady->state : LoopState{};
    m_state = m_initial;
    m_random = Random(m_next.noise.seed);
    m_time = 0;
    m_seconds = 0;
    m_samples.clear();
    m_pieces.clear();
    m_firstPiece.clear();
    m_epochs = {{0, m_next}};
    m_marks.clear();
}

StartOutcome Simulation::startOutcome() const
{
    using Kind = StartOutcome::Kind;
    if (m_start == Start::Cold)
        return {};
    if (!m_steady)
        return {Kind::NoneFound};
    return {m_steady->cycle == 1 ? Kind::AtRest : Kind::Cycle, m_steady->cycle, m_steady->xLow, m_steady->xHigh};
}

const Sample& Simulation::advance()
{
    const int k = static_cast<int>(m_samples.size());
    if (!(m_next == m_epochs.back().parameters))
        m_epochs.push_back({k, m_next});
    m_firstPiece.push_back(m_pieces.size());
    Sample s = step(m_next, k, m_state, noiseVolts(m_random, m_next), &m_pieces);
    s.time = m_time;
    s.seconds = m_seconds;
    m_time += m_next.ratio;
    m_seconds += m_next.ratio * m_next.oven.t1Seconds;
    m_samples.push_back(s);
    return m_samples.back();
}

Sample Simulation::nextSample() const
{
    LoopState state = m_state;
    Random random = m_random;
    Sample s = step(m_next, static_cast<int>(m_samples.size()), state, noiseVolts(random, m_next));
    s.time = m_time;
    s.seconds = m_seconds;
    return s;
}

const OvenPiece* Simulation::pieceAt(double t, double& tau) const
{
    if (m_firstPiece.empty())
        return nullptr;
    const double clamped = within(t, static_cast<double>(m_firstPiece.size()));
    const auto i = std::min(static_cast<std::size_t>(clamped), m_firstPiece.size() - 1);
    tau = clamped - static_cast<double>(i);
    std::size_t piece = (i + 1 < m_firstPiece.size() ? m_firstPiece[i + 1] : m_pieces.size()) - 1;
    while (piece > m_firstPiece[i] && m_pieces[piece].from > tau)
        --piece;
    return &m_pieces[piece];
}

double Simulation::sAt(double t) const
{
    double tau = 0;
    const OvenPiece* piece = pieceAt(t, tau);
    return piece ? piece->at(tau) : m_initial.s;
}

double Simulation::slopeAt(double t) const
{
    double tau = 0;
    const OvenPiece* piece = pieceAt(t, tau);
    return piece ? piece->slope(tau) : 0;
}

double Simulation::timeAt(double periods) const
{
    if (m_samples.empty())
        return 0;
    const double t = within(periods, static_cast<double>(m_samples.size()));
    const auto i = std::min(static_cast<std::size_t>(t), m_samples.size() - 1);
    const double next = i + 1 < m_samples.size() ? m_samples[i + 1].time : m_time;
    return m_samples[i].time + (t - static_cast<double>(i)) * (next - m_samples[i].time);
}

double Simulation::periodsAt(double time) const
{
    if (m_samples.empty())
        return 0;
    const double t = within(time, m_time);
    const auto after = std::upper_bound(m_samples.begin(), m_samples.end(), t,
                                        [](double v, const Sample& s) { return v < s.time; });
    const auto i = static_cast<std::size_t>(after - m_samples.begin()) - 1;
    const double next = i + 1 < m_samples.size() ? m_samples[i + 1].time : m_time;
    return static_cast<double>(i) + (t - m_samples[i].time) / (next - m_samples[i].time);
}

const Parameters& Simulation::parametersAt(int k) const
{
    const auto after = std::upper_bound(m_epochs.begin(), m_epochs.end(), k,
                                        [](int v, const Epoch& e) { return v < e.from; });
    return after == m_epochs.begin() ? m_epochs.front().parameters : std::prev(after)->parameters;
}

void Simulation::change(const Parameters& parameters)
{
    m_next = sanitised(parameters);
    if (m_samples.empty()) {
        reset();
        return;
    }
    const int k = static_cast<int>(m_samples.size());
    if (!m_marks.empty() && m_marks.back().k == k)
        m_marks.pop_back();
    const Parameters& inForce = parametersAt(k - 1);
    if (changesRun(inForce, m_next))
        m_marks.push_back({k, inForce, m_next});
}

}  // namespace t1::model
