#pragma once

#include "model/analysis.h"
#include "model/quantity.h"
#include "model/simulation.h"
#include "model/verdict.h"

#include <array>
#include <optional>
#include <string_view>

namespace t1::model {

// The requirements a tuning exercise may set, one row each: a new one is a
// row and its measure.

// How the measured value must stand to the bound.
enum class Comparison { AtMost, Below };

// What the run must hold for the criterion to mean anything.
enum class CriterionNeeds {
    Nothing,
    SetPointStep,  // a cold start: the step from 0 to E, measured before the door opens
    Door,          // the door opening within the run
};

// The run a tuning is judged on, with what its criteria share.
struct TuningRun {
    const Parameters& parameters;
    const Simulation& run;
    // The samples up to the door's opening (all of them when it stays
    // shut), measured as a set-point step when the start was cold.
    Measures step;
    bool coldStart = true;
    // The acquisition at whose instant the door opens, if another follows
    // it within the run.
    std::optional<std::size_t> door;
};

struct Measured {
    std::optional<double> value;
    Why why = Why::Measured;
};

struct CriterionRow {
    // Its key, symbol and unit, the limits of its bound and the default
    // bound, where it has one.
    Quantity quantity;
    bool boundNeeded = true;  // the sheet must give the bound
    Comparison comparison = Comparison::AtMost;
    CriterionNeeds needs = CriterionNeeds::Nothing;
    // A second number some criteria take (retour_porte: how near, in digits).
    std::optional<Quantity> band = std::nullopt;
    Measured (*measure)(const TuningRun& run, double band);
};

inline constexpr std::size_t kCriterionCount = 7;
// erreur_statique (|E - X final| in % of E), depassement (%), temps_reponse
// (to 5 %, periods), stable (the largest pole's |z| below 1), sans_saturation
// (saturated acquisitions), ecart_porte (largest |X - X at the door's
// opening| after it, digits), retour_porte (periods from the door's opening
// until X stays within the band of that X).
extern const std::array<CriterionRow, kCriterionCount> kCriteria;

const CriterionRow* criterionRow(std::string_view key);

bool compares(Comparison comparison, double value, double bound);

// The run measured for its criteria: `run` holds the acquisitions made from
// the exercise's start.
TuningRun tuningRun(const Parameters& p, const Simulation& run);

Judgement judge(const CriterionRow& row, const TuningRun& run, double bound, double band);

}  // namespace t1::model
