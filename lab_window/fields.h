#pragma once

#include "model/quantity.h"

#include <optional>
#include <string>
#include <string_view>

namespace t1 {

// A number typed in French or in English: "2,5" and "2.5", spaces around,
// an optional sign and exponent. None for an empty text, junk, "nan" or
// "inf". A number beyond a double's range reads as the nearest double: an
// infinity of its sign ("1e999", five thousand nines), or a zero of its
// sign ("1e-400"), so that a field can still say its range. Independent
// of the C locale.
std::optional<double> parseDecimal(std::string_view text);

// The value with at most `decimals` decimals and trailing zeros dropped,
// with the decimal separator of the user's locale as the lessons print
// theirs (a comma in French: 4,55, 3,9, 60, -4,52), or the one given.
std::string formatDecimal(double value, int decimals = 3);
std::string formatDecimal(double value, int decimals, std::string_view separator);

// After a value, the unit: " V", " mV", " T1", " s", " points", " périodes";
// empty for a pure number.
std::string unitSuffix(model::Unit unit);

// How the form names a quantity in French. A quantity the window has no
// words for is named by its symbol, or its key, and has no tool tip.
struct FieldWords {
    std::string label;    // before the box, without its colon: "Retard θ"
    std::string subject;  // of its messages: "θ", "La période d'ouverture de la porte"
    bool feminine = false;
    std::string toolTip;  // its meaning; the form adds the range
};
FieldWords fieldWords(const model::Quantity& q);

// A field's verdict on a value: accepted, or the French message saying why not.
struct Verdict {
    std::string message;  // UTF-8, empty when accepted

    bool ok() const { return message.empty(); }
};

// Accepted when the quantity accepts it; beyond a limit (an infinity too)
// the message gives the range, then says whether it must be whole.
Verdict check(const model::Quantity& q, double value);

// "compris entre 0,05 et 2", "comprise entre 1 et 9999 périodes",
// "compris entre 0 (exclu) et 100000 s", for the messages and tool tips.
std::string rangeText(const model::Quantity& q, bool feminine = false);

// A value the quantity accepts, with a decimal when it may have one: the
// example its messages give.
double exampleValue(const model::Quantity& q);

// A field's text read and checked: the value, or the message.
struct Reading {
    std::optional<double> value;
    std::string message;
};

// The text without the blanks a user leaves around a number.
std::string_view trimmed(std::string_view text);

// A number, or a fraction of two ("1/5"), checked against the quantity.
Reading readQuantity(const model::Quantity& q, std::string_view text);

}  // namespace t1
