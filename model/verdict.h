#pragma once

#include "model/simulation.h"

#include <optional>
#include <string_view>
#include <vector>

namespace t1::model {

// Why a judgement has no value.
enum class Why {
    Measured,       // it has one
    NotTyped,       // the student left the answer empty
    NotSettled,     // the run had not come to rest within its periods
    Oscillating,    // the run goes round a cycle or diverges
    NotBack,        // X had not come back after the door by the end of the run
    NotApplicable,  // nothing to measure: a step criterion after a steady start, no door
};

// One answer against what was expected, or one criterion against its bound.
struct Judgement {
    std::string_view key;         // the answer's or the criterion's
    std::optional<double> value;  // typed, or measured
    double reference = 0;         // expected, or the bound
    double allowance = 0;         // how far from the expected value is still right
    bool met = false;
    Why why = Why::Measured;
};

struct Verdict {
    std::vector<Judgement> items;  // in the sheet's order
    bool passed = false;
    // Not judged at all: a regulator the exercise does not offer, a period
    // beyond its run.
    bool refused = false;
    // The run judged (a tuning's), or shown on success (the deadbeat run).
    std::optional<Simulation> run;
};

// Right answers over those judged, across a prediction's periods.
struct Score {
    int right = 0;
    int total = 0;

    void add(const Verdict& verdict);
};

}  // namespace t1::model
