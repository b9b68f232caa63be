#pragma once

#include "model/quantity.h"

#include <optional>
#include <string>
#include <string_view>

namespace t1 {

// A number typed in French or in English: "2,5" and "2.5", spaces around,
// an optional sign and exponent. None for an empty text, junk, NaN,
// infinity or a value out of double's range. Independent of the C locale.
std::optional<double> parseDecimal(std::string_view text);

// The value with at most `decimals` decimals, trailing zeros dropped and a
// decimal comma: 4,55, 3,9, 60, -4,52.
std::string formatDecimal(double value, int decimals = 3);

// The fields of the laboratory's form, their limits those of the model's
// quantities.
enum class Field {
    SetPoint,      // E, digits
    Gain,          // G
    Q0,
    Q1,
    Ratio,         // T/T1
    Drop,          // D, volts
    DoorRatio,     // T1d/T1
    DoorFrom,      // first period the door is open
    DoorPeriods,   // how long it stays open
    ShownPeriods,  // periods on the plots
};

// A field's verdict on a value: accepted, or the French message saying why not.
struct Verdict {
    std::string message;  // UTF-8, empty when accepted

    bool ok() const { return message.empty(); }
};

Verdict check(Field field, double value);

// The model's quantity behind a field: its limits, decimals and default.
const model::Quantity& quantityOf(Field field);

// A field's text read and checked: the value, or the message.
struct Reading {
    std::optional<double> value;
    std::string message;
};

Reading readField(Field field, std::string_view text);

}  // namespace t1
