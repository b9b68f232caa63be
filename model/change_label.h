#pragma once

#include "model/parameters.h"

#include <string>

namespace t1::model {

// What changed from `before` to `after`, in French, short enough to label a
// line on the plots: "G = 4", "T = T1/2", "E = 60", "quantification : non",
// several joined by ", ". Empty when nothing changed.
std::string changeLabel(const Parameters& before, const Parameters& after);

// The sampling period for a ratio: "T = T1/5", "T = T1", "T = 2 T1", "T = 0,3 T1".
std::string ratioLabel(double ratio);

}  // namespace t1::model
