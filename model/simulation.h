#pragma once

#include "model/loop.h"
#include "model/oven_period.h"
#include "model/parameters.h"
#include "model/random.h"
#include "model/sample.h"
#include "model/steady_state.h"

#include <optional>
#include <vector>

namespace t1::model {

// A parameter change that acted, drawn as a thin vertical line at
// acquisition k: the parameters in force before it and after.
struct Mark {
    int k = 0;
    Parameters before;
    Parameters after;
};

// How a run started.
struct StartOutcome {
    enum class Kind {
        Cold,       // as asked
        AtRest,     // in its permanent regime, at rest
        Cycle,      // in its permanent regime, going round a cycle
        NoneFound,  // asked for the permanent regime, found none: cold
    };
    Kind kind = Kind::Cold;
    // The cycle's length in periods and X's range over it; 1 and X at rest.
    int cycle = 1;
    double xLow = 0;
    double xHigh = 0;

    bool operator==(const StartOutcome&) const = default;
};

// A run of the sampled loop, one acquisition at a time, exact between them
// (the oven's first order solved piece by piece under the zero-order hold,
// its delayed input a shifted staircase). Time is counted in sampling
// periods: acquisition k at t = k, its command held over [k, k+1), whatever
// each period's own T/T1; each sample also has its time in T1 and in
// seconds. Parameters outside the accepted ranges are brought inside them
// (sanitised()), so every signal stays finite. advance() and sAt() cost an
// exponential or two each: cheap enough to draw S point by point. The same
// parameters and seed give the same run, noise included.
class Simulation {
public:
    explicit Simulation(const Parameters& parameters = {}, Start start = Start::Cold);

    // Acquisition k = samples().size(), the regulator, and the command held
    // until the next one.
    const Sample& advance();

    // What the next acquisition would read and compute now.
    Sample nextSample() const;

    const std::vector<Sample>& samples() const { return m_samples; }

    // How far S is known: one period past the last acquisition.
    int simulatedPeriods() const { return static_cast<int>(m_firstPiece.size()); }

    // S at t periods from the start, exactly; t is brought into
    // [0, simulatedPeriods()]. Before any acquisition, the initial S.
    double sAt(double t) const;
    // dS/dt there, in volts per period: after a break in the oven's input,
    // the slope it starts with. 0 before any acquisition.
    double slopeAt(double t) const;

    // From periods to T1 and back, over what was simulated (each period
    // lasts its own T/T1), for runs drawn on a common time axis.
    double timeAt(double periods) const;
    double periodsAt(double time) const;

    // From the next acquisition on; the current period keeps its command and
    // its T/T1. A change that acts (changesRun()) is recorded as a mark at
    // that acquisition (changes made before it are merged into one). Before
    // the first acquisition the run restarts with the new parameters instead.
    void change(const Parameters& parameters);

    const std::vector<Mark>& marks() const { return m_marks; }

    // Those of the next acquisition.
    const Parameters& parameters() const { return m_next; }
    // Those in force at acquisition k (the last ones beyond the run).
    const Parameters& parametersAt(int k) const;
    const Parameters& startedWith() const { return m_epochs.front().parameters; }

    // Back to the start, with the current parameters and their seed; the
    // marks go.
    void reset();
    void reset(Start start);

    Start start() const { return m_start; }
    StartOutcome startOutcome() const;

    // The steady state the run started from; none from a cold start, or
    // when the loop has none and the run started cold instead.
    const std::optional<SteadyState>& steady() const { return m_steady; }

private:
    // The piece of S in force at t periods (t brought into the run), and t
    // within its period; none before any acquisition.
    const OvenPiece* pieceAt(double t, double& tau) const;

    struct Epoch {
        int from = 0;
        Parameters parameters;
    };

    Parameters m_next;
    Start m_start;
    std::optional<SteadyState> m_steady;
    LoopState m_initial;
    LoopState m_state;
    Random m_random;
    double m_time = 0;     // T1 at the next acquisition
    double m_seconds = 0;
    std::vector<Sample> m_samples;
    std::vector<OvenPiece> m_pieces;
    std::vector<std::size_t> m_firstPiece;  // of each period
    std::vector<Epoch> m_epochs;            // the parameters, from the acquisition they took effect
    std::vector<Mark> m_marks;
};

}  // namespace t1::model
