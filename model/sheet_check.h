#pragma once

#include "model/sheet.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace t1::model {

// What is wrong with a sheet, as data: the window words each fault in
// French from its code, where it is and its key.

enum class FaultCode {
    Missing,        // an id, any exercise, a tuning's criteria, a criterion's bound
    TooLong,        // a text over kMaxTextCharacters (high: the limit)
    TooMany,        // over kMaxExercises exercises (high: the limit)
    UnknownKind,
    UnknownKey,     // a parameter, answer, criterion, regulator or start no one knows
    Unused,         // known, but the exercise's kind does nothing with it
    Duplicate,      // the same key twice, or both fixed and hidden
    NotANumber,     // NaN or infinite
    OutOfRange,     // low, high: the accepted limits
    NotWhole,       // a number of periods, a seed with a fraction
    InvertedRange,  // a hidden range's low above its high
    BadDecimals,    // a hidden range's decimals outside 0 .. high
    Negative,       // a step, tolerance or number of tries below 0
    Conflict,       // T_s and T_T1 both set: one gives the other
    RatioOutOfRange,  // T_s over T1 may leave T/T1's limits, low and high
    RevealsHidden,  // T/T1 fixed while T1 is hidden: the sampling period tells T1
    NotApplicable,  // a criterion the run cannot measure: a step after a steady start, no door
    NotForKind,     // a setting the kind cannot work with: an unquantised
                    // prediction, the manual command among a tuning's regulators
};

// Where in the sheet.
enum class Section {
    Sheet,       // the title, id, introduction, exercises
    Exercise,    // the kind, statement, start, periods, tries, quantisation
    Fixed,
    Hidden,
    Asked,       // answers and their tolerances
    Criteria,
    Regulators,  // the regulator in force, or those offered
};

struct Fault {
    std::optional<std::size_t> exercise;  // from 0; none for the sheet itself
    Section section = Section::Sheet;
    std::string key;
    FaultCode code = FaultCode::Missing;
    double low = 0;
    double high = 0;

    bool operator==(const Fault&) const = default;
};

// Every fault, in the sheet's order; none for a sheet the program can use
// as it is.
std::vector<Fault> validate(const Sheet& sheet);

// What the kinds' own checks add their faults with.
void addFault(std::vector<Fault>& faults, std::size_t exercise, Section section, std::string key, FaultCode code,
              double low = 0, double high = 0);

// A number against its quantity: NotANumber, NotWhole or OutOfRange.
void checkNumber(std::vector<Fault>& faults, std::size_t exercise, Section section, const std::string& key,
                 const Quantity& quantity, double value);

// The least and the most a parameter can be in an exercise: its fixed
// value, its hidden range, or its default.
struct ValueSpan {
    double low = 0;
    double high = 0;
};
ValueSpan valueSpan(const Exercise& exercise, const Quantity& quantity);

}  // namespace t1::model
