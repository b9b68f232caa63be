#pragma once

#include "model/loop.h"
#include "model/parameters.h"

#include <optional>

namespace t1::model {

// The loop is given this many periods from cold to settle.
inline constexpr int kSteadySearchPeriods = 2000;
// The longest cycle recognised as a steady regime.
inline constexpr int kLongestCycle = 100;

// The loop's permanent regime for the parameters and their set point, the
// door shut and without noise, as the state of an acquisition in it.
struct SteadyState {
    LoopState state;
    // The quantised loop may never come to rest: it goes round a cycle of
    // `cycle` periods, X between xLow and xHigh (at E = 100, G = 2: 66 and
    // 67, 24 periods round).
    int cycle = 1;
    double xLow = 0;
    double xHigh = 0;
};

// For a stable loop, the rest its linear model predicts (an integrating
// loop's Ep = 0 and S = K U; a P loop's X = K G E/(1 + K G)), every command
// on its way the same, if the loop as it is (quantised, clamped) stays
// there. Otherwise the loop is run from cold until it comes to rest (X, Ep
// and Epu repeat, every command on its way is the same, and S can go on to
// K U without X changing) or goes round a cycle, S and the commands on
// their way with it. None when neither turns up within
// kSteadySearchPeriods: the caller then starts cold.
std::optional<SteadyState> steadyState(const Parameters& p);

}  // namespace t1::model
