#include "model/simulation.h"

#include "model/change_label.h"
#include "model/fields.h"

#include <algorithm>
#include <cmath>

namespace t1::model {

Simulation::Simulation(const Parameters& parameters, Start start)
    : m_next(sanitised(parameters)), m_inForce(m_next), m_start(start)
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
    m_inForce = m_next;
    m_samples.clear();
    m_periods.clear();
    m_marks.clear();
}

std::string Simulation::startNote() const
{
    if (m_start == Start::Cold)
        return "Départ : four froid";
    if (!m_steady)
        return "Pas de régime permanent pour ces réglages : départ four froid";
    if (m_steady->cycle == 1)
        return "Départ : régime permanent";
    return "Départ : régime permanent, X oscille entre " + formatDecimal(m_steady->xLow) + " et "
           + formatDecimal(m_steady->xHigh) + " (cycle de " + std::to_string(m_steady->cycle) + " périodes)";
}

const Sample& Simulation::advance()
{
    const int k = static_cast<int>(m_samples.size());
    const Step s = step(m_next, k, m_state);
    m_samples.push_back(s.sample);
    m_periods.push_back(s.period);
    m_state = s.next;
    m_inForce = m_next;
    return m_samples.back();
}

double Simulation::sAt(double t) const
{
    if (m_periods.empty())
        return m_initial.s;
    const double until = static_cast<double>(m_periods.size());
    // Written so that a NaN goes to 0.
    const double clamped = t > 0 ? (t < until ? t : until) : 0;
    const auto i = std::min(static_cast<std::size_t>(clamped), m_periods.size() - 1);
    return m_periods[i].at(clamped - static_cast<double>(i));
}

void Simulation::change(const Parameters& parameters)
{
    const Parameters p = sanitised(parameters);
    if (m_samples.empty()) {
        m_next = p;
        reset();
        return;
    }
    m_next = p;
    const int k = static_cast<int>(m_samples.size());
    if (!m_marks.empty() && m_marks.back().k == k)
        m_marks.pop_back();
    std::string label = changeLabel(m_inForce, p);
    if (!label.empty())
        m_marks.push_back({k, std::move(label)});
}

}  // namespace t1::model
