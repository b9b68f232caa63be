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
// door shut, as the state of an acquisition in it.
struct SteadyState {
    LoopState state;
    // The quantised loop may never come to rest: it goes round a cycle of
    // `cycle` periods, X between xLow and xHigh (at E = 100, G = 2: 66 and
    // 67, 24 periods round).
    int cycle = 1;
    double xLow = 0;
    double xHigh = 0;
};

// Under a stable PI, the state with Ep = 0, S = U. Unquantised, a stable P
// loop's limit, in closed form. Otherwise the loop is run from cold until X,
// Ep and Epu repeat and S can go on to U without X changing (a fixed point),
// or until they come round a cycle and S with them. None when neither turns
// up within kSteadySearchPeriods: the caller then starts cold.
std::optional<SteadyState> steadyState(const Parameters& p);

}  // namespace t1::model
