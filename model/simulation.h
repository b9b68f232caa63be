#pragma once

#include "model/loop.h"
#include "model/oven_period.h"
#include "model/parameters.h"
#include "model/sample.h"
#include "model/steady_state.h"

#include <optional>
#include <string>
#include <vector>

namespace t1::model {

// A parameter change, drawn as a thin vertical line at acquisition k.
struct Mark {
    int k = 0;
    std::string label;  // French, UTF-8: "G = 4", "T = T1/2"
};

// A run of the sampled loop, one acquisition at a time. Time is counted in
// sampling periods: acquisition k at t = k, its command held over [k, k+1),
// whatever each period's own T/T1. Parameters outside the accepted ranges
// are brought inside them (sanitised()), so every signal stays finite.
// advance() and sAt() cost an exponential each: cheap enough to draw S
// point by point.
class Simulation {
public:
    explicit Simulation(const Parameters& parameters = {}, Start start = Start::Cold);

    // Acquisition k = samples().size(), the regulator, and the command held
    // until the next one.
    const Sample& advance();

    const std::vector<Sample>& samples() const { return m_samples; }

    // How far S is known: one period past the last acquisition.
    int simulatedPeriods() const { return static_cast<int>(m_periods.size()); }

    // S at t periods from the start, by each period's exact formula; t is
    // brought into [0, simulatedPeriods()]. Before any acquisition, the
    // initial S.
    double sAt(double t) const;

    // From the next acquisition on; the current period keeps its command and
    // its T/T1. Recorded as a mark at that acquisition (changes made before
    // it are merged into one). Before the first acquisition the run restarts
    // with the new parameters instead.
    void change(const Parameters& parameters);

    const std::vector<Mark>& marks() const { return m_marks; }

    // Those of the next acquisition.
    const Parameters& parameters() const { return m_next; }

    // Back to the start, with the current parameters; the marks go.
    void reset();
    void reset(Start start);

    Start start() const { return m_start; }

    // The steady state the run started from; none from a cold start, or
    // when the loop has none and the run started cold instead.
    const std::optional<SteadyState>& steady() const { return m_steady; }

    // A French line about the start: "Départ : four froid", "Départ : régime
    // permanent", the cycle the loop goes round, or that it found none.
    std::string startNote() const;

private:
    Parameters m_next;
    Parameters m_inForce;  // those of the last acquisition
    Start m_start;
    std::optional<SteadyState> m_steady;
    LoopState m_initial;
    LoopState m_state;
    std::vector<Sample> m_samples;
    std::vector<OvenPeriod> m_periods;
    std::vector<Mark> m_marks;
};

}  // namespace t1::model
