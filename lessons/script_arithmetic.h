#pragma once

#include "lessons/oven_constants.h"

#include <cmath>

namespace t1 {

// The closed forms the lessons draw and print, in extended precision.

// A voltage rounded up to the next tenth, or hundredth, of a volt.
inline double roundUpToTenth(Extended volts)
{
    return static_cast<double>(0.1L * std::ceil(10.0L * volts));
}

inline double roundUpToHundredth(Extended volts)
{
    return static_cast<double>(0.01L * std::ceil(100.0L * volts));
}

// A first-order approach: from + amplitude * (1 - exp(-tau * rate)).
inline Extended approach(Extended from, Extended amplitude, Extended rate, int tau)
{
    return from + amplitude * (1.0L - std::exp(-tau * rate));
}

// trunc(base - amplitude * (1 - exp(-tau * rate))): a first-order rise on screen.
inline int riseY(Extended base, Extended amplitude, Extended rate, int tau)
{
    return static_cast<int>(base - amplitude * (1.0L - std::exp(-tau * rate)));
}

}  // namespace t1
