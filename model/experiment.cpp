#include "model/experiment.h"

#include <algorithm>

namespace t1::model {

Experiment::Experiment(const Parameters& parameters, Start start, int shownPeriods)
    : m_run(parameters, start),
      m_start(start),
      m_shown(std::clamp(shownPeriods, kMinShownPeriods, kMaxShownPeriods))
{
}

double Experiment::drawnUntil() const
{
    return static_cast<double>(std::min(m_ticks, lastTick())) / kTicksPerPeriod;
}

int Experiment::periodsNeeded() const
{
    // The last acquisition made must stay on the plots.
    const int lastSample = static_cast<int>(m_run.samples().size()) - 1;
    const int pieces = std::min(m_ticks, lastTick());
    return std::max({kMinShownPeriods, lastSample, (pieces + kTicksPerPeriod - 1) / kTicksPerPeriod});
}

bool Experiment::setShownPeriods(int periods)
{
    if (periods < periodsNeeded() || periods > kMaxShownPeriods)
        return false;
    m_shown = periods;
    if (m_state == RunState::Finished && m_ticks <= lastTick())
        m_state = RunState::Paused;
    if (m_ticks > lastTick())
        m_state = RunState::Finished;
    return true;
}

void Experiment::change(const Parameters& parameters)
{
    m_run.change(parameters);
}

void Experiment::setStart(Start start)
{
    m_start = start;
    if (m_run.samples().empty())
        m_run.reset(start);
}

void Experiment::play()
{
    if (m_state != RunState::Finished)
        m_state = RunState::Running;
}

void Experiment::pause()
{
    if (m_state == RunState::Running || m_state == RunState::Stepping)
        m_state = RunState::Paused;
}

void Experiment::nextPeriod()
{
    if (m_state == RunState::Finished)
        return;
    // The end of the period under way; the last tick only acquires.
    const int from = m_state == RunState::Stepping ? m_stepUntil : m_ticks;
    m_stepUntil = std::min((from / kTicksPerPeriod + 1) * kTicksPerPeriod, lastTick() + 1);
    m_state = RunState::Stepping;
}

void Experiment::restart()
{
    if (m_ticks > 0) {
        // A change after the last acquisition never acted on this run.
        const auto acted = [this](const Mark& m) { return m.k < static_cast<int>(m_run.samples().size()); };
        const bool changed = std::any_of(m_run.marks().begin(), m_run.marks().end(), acted);
        m_traces.push_back({m_run, m_ticks, changed, m_nextColour});
        m_nextColour = (m_nextColour + 1) % kMaxTraces;
        if (static_cast<int>(m_traces.size()) > kMaxTraces)
            m_traces.pop_front();
    }
    beginRun();
    m_state = RunState::Running;
}

void Experiment::beginRun()
{
    m_run.reset(m_start);
    m_ticks = 0;
}

std::optional<TickStep> Experiment::advance()
{
    if (m_state != RunState::Running && m_state != RunState::Stepping)
        return std::nullopt;
    std::optional<TickStep> s = step();
    if (m_state == RunState::Stepping && m_ticks >= m_stepUntil)
        m_state = RunState::Paused;
    return s;
}

std::optional<TickStep> Experiment::step()
{
    if (m_ticks > lastTick()) {
        m_state = RunState::Finished;
        return std::nullopt;
    }
    TickStep s;
    s.tick = m_ticks;
    if (m_ticks % kTicksPerPeriod == 0) {
        s.acquired = static_cast<int>(m_run.samples().size());
        m_run.advance();
    }
    s.piece = m_ticks < lastTick();
    ++m_ticks;
    if (m_ticks > lastTick())
        m_state = RunState::Finished;
    else if (m_state == RunState::Ready)
        m_state = RunState::Paused;
    return s;
}

}  // namespace t1::model
