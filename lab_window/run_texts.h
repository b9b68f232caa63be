#pragma once

#include "model/parameters.h"
#include "model/simulation.h"

#include <string>

namespace t1 {

// The French texts the laboratory writes about its runs, from the model's
// data: UTF-8, short enough for the plots and the legend.

// What changed from `before` to `after` for the loop, to label a mark's
// line: "G = 4", "T = T1/2", "E = 60", "quantification : non", several
// joined by ", ". Empty when nothing that acts changed.
std::string changeLabel(const model::Parameters& before, const model::Parameters& after);

// The sampling period for a ratio: "T = T1/5", "T = T1", "T = 2 T1", "T = 0,3 T1".
std::string ratioLabel(double ratio);

// The legend of a run: "P, G = 2, T = T1/5, E = 100", with what sets it
// apart (no quantisation, the door, a change during the run...).
std::string traceLegend(const model::Parameters& p, bool changedDuringRun);

// A line about the start: "Départ : four froid", "Départ : régime
// permanent", the cycle the loop goes round, or that it found none.
std::string startNote(const model::StartOutcome& outcome);

// "G = 2", "U = 4 V", "Ti = 0,5 T1": a quantity with its value, its decimals
// and its unit.
std::string quantityText(const model::Quantity& q, double value);

}  // namespace t1
