#pragma once

#include <string_view>

namespace t1::model {

// What a quantity is measured in. The window words them; the model only
// needs to know which is which.
enum class Unit {
    None,        // a pure number or a ratio such as T/T1
    Digits,      // the converters' points, 0..255
    Volts,
    Millivolts,
    T1,          // a duration in units of the oven's time constant T1
    Seconds,
    Periods,     // whole sampling periods
    Percent,
};

// A number the student sets, with its accepted range: every parameter of
// the loop is one, in a table (the regulators' rows, kSettings), so that a
// form, a setup file and sanitised() all read the same limits.
struct Quantity {
    std::string_view key;     // in setup files: ASCII, stable
    std::string_view symbol;  // UTF-8, as printed: "G", "T/T1", "θ"; empty when it has none
    Unit unit = Unit::None;
    double low = 0;
    double high = 0;
    bool lowExcluded = false;  // low itself is refused: only values above it
    bool whole = false;
    double fallback = 0;  // the default
    int decimals = 3;     // shown

    // Whether the value is accepted as it is.
    bool accepts(double value) const;
    // The value brought inside the range: a NaN, or a value at or below an
    // excluded lower limit (which has no nearest accepted value), to the
    // default; beyond a limit, to that limit; rounded when whole.
    double bring(double value) const;
};

}  // namespace t1::model
