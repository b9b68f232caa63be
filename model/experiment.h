#pragma once

#include "model/parameters.h"
#include "model/quantity.h"
#include "model/simulation.h"

#include <deque>
#include <optional>

namespace t1::model {

// As in the lessons: one acquisition every 40 ticks.
inline constexpr int kTicksPerPeriod = 40;
// Earlier runs kept on the plots.
inline constexpr int kMaxTraces = 5;
inline constexpr int kDefaultShownPeriods = 10;
inline constexpr int kMinShownPeriods = 6;
inline constexpr int kMaxShownPeriods = 40;
inline constexpr Quantity kShownPeriods{"shown_periods", "", Unit::Periods, kMinShownPeriods, kMaxShownPeriods,
                                        false, true, kDefaultShownPeriods, 0};

enum class RunState {
    Ready,     // nothing simulated yet
    Running,   // the timer animates
    Stepping,  // animates to the end of a period, then pauses
    Paused,
    Finished,  // every shown period drawn, the last acquisition made
};

// An earlier run, kept to be drawn faded under the current one, with the
// parameters it started with (run.startedWith()).
struct Trace {
    Simulation run;
    int ticks = 0;  // how far it was drawn
    bool changedDuringRun = false;  // a change acted on it
    int colour = 0;  // index in the traces' palette, kept for its whole life
};

// One tick's work: the acquisition it made, if any, and the piece of curves
// it adds, from tick `tick` to the next.
struct TickStep {
    int tick = 0;
    std::optional<int> acquired;
    bool piece = true;  // false on the last tick, which only acquires
};

// The laboratory's run: the simulation, how far it is drawn, what the
// buttons put it into, and the earlier runs. Tick n draws the curves from
// n/40 to (n+1)/40 periods; ticks 40 k first acquire sample k. The run shows
// N periods: N + 1 acquisitions, the last one at the right edge.
class Experiment {
public:
    explicit Experiment(const Parameters& parameters = {}, Start start = Start::Cold,
                        int shownPeriods = kDefaultShownPeriods);

    const Simulation& run() const { return m_run; }
    RunState state() const { return m_state; }
    // Ticks done in the current run, 0 .. lastTick() + 1.
    int ticks() const { return m_ticks; }
    int lastTick() const { return kTicksPerPeriod * m_shown; }
    // How far the curves reach, in periods.
    double drawnUntil() const;

    int shownPeriods() const { return m_shown; }
    // The periods already simulated: fewer cannot be shown without restarting.
    int periodsNeeded() const;
    // False, and nothing changes, below periodsNeeded().
    bool setShownPeriods(int periods);

    const Parameters& parameters() const { return m_run.parameters(); }
    // From the next acquisition on; before the first, the run starts with them.
    void change(const Parameters& parameters);
    Start start() const { return m_start; }
    // From the next start on; before the first acquisition, at once.
    void setStart(Start start);
    // Whether the start in force is not the chosen one yet.
    bool startPending() const { return m_run.start() != m_start; }

    void play();
    void pause();
    // Animates to the end of the current period, or of one more when stepping.
    void nextPeriod();
    // The current run, if it drew anything, becomes an earlier trace; a new
    // one starts and runs.
    void restart();
    void clearTraces() { m_traces.clear(); }

    // The animation's tick: nothing when ready, paused or finished.
    std::optional<TickStep> advance();
    // One tick whatever the state but finished; the state stays.
    std::optional<TickStep> step();

    const std::deque<Trace>& traces() const { return m_traces; }
    // The parameters the current run started with.
    const Parameters& startedWith() const { return m_run.startedWith(); }

private:
    void beginRun();

    Simulation m_run;
    Start m_start;
    int m_shown;
    int m_ticks = 0;
    int m_stepUntil = 0;  // stepping: the tick at which it pauses
    RunState m_state = RunState::Ready;
    std::deque<Trace> m_traces;
    int m_nextColour = 0;
};

}  // namespace t1::model
