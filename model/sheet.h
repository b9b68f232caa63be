#pragma once

#include "model/parameters.h"
#include "model/quantity.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace t1::model {

// A teacher's sheet of exercises, as written in its file: keys are kept as
// text so that one validation (sheet_check.h) finds every fault, whatever
// reads the file.

inline constexpr std::size_t kMaxExercises = 100;
// Characters (UTF-8 code points) in the title, the introduction and each statement.
inline constexpr std::size_t kMaxTextCharacters = 10000;
inline constexpr int kMaxDecimals = 9;
// How many periods an exercise's run lasts, the Laboratoire's span.
inline constexpr Quantity kExercisePeriods{"periods", "", Unit::Periods, 6, 40, false, true, 20, 0};

// A value the student sees.
struct FixedValue {
    std::string key;  // a sheet parameter (sheetParameter())
    double value = 0;
};

// A value each student gets a draw of, uniform over [low, high] (see
// draw.h); low = high hides a value known to the teacher alone.
struct HiddenRange {
    std::string key;
    double low = 0;
    double high = 0;
    double step = 0;                // > 0: one of low, low + step, ... up to high
    std::optional<int> decimals;    // rounded to; none: the parameter's own
};

// An answer is right within the larger of the two: a share of the expected
// value, in percent, and a margin in the answer's unit.
struct Tolerance {
    double percent = 0;
    double absolute = 0;

    double allowance(double expected) const;
    bool operator==(const Tolerance&) const = default;
};

struct AskedAnswer {
    std::string key;                    // an answer of the exercise's kind
    std::optional<Tolerance> tolerance;  // none: the kind's own
};

// A requirement of a tuning exercise (criteria.h).
struct Criterion {
    std::string key;
    std::optional<double> bound;  // none: the criterion's own, if it has one
    std::optional<double> band;   // for the criteria that take one
};

struct Exercise {
    std::string kind;  // a key of kExerciseKinds
    std::string statement;
    std::vector<FixedValue> fixed;
    std::vector<HiddenRange> hidden;
    std::vector<AskedAnswer> asked;  // empty: every answer of the kind
    std::vector<Criterion> criteria;
    // The regulator in force, by its key, for a kind that lets the sheet
    // name it; empty: the default one.
    std::string regulator;
    // Those the student may pick, for a kind that lets him; empty: every
    // closed-loop kind.
    std::vector<std::string> regulators;
    std::string start;  // a key of kStarts; empty: cold
    bool quantised = true;
    int periods = static_cast<int>(kExercisePeriods.fallback);
    int tries = 0;  // 0: as many as wanted
    bool revealAfterWrong = true;  // the true curve or values after a wrong answer
};

struct Sheet {
    std::string title;
    std::string id;  // with the student's name, what the hidden values are drawn from
    std::string introduction;
    std::vector<Exercise> exercises;
};

// An exercise's value for a key, if it fixes or hides it.
const FixedValue* fixedValue(const Exercise& exercise, std::string_view key);
const HiddenRange* hiddenRange(const Exercise& exercise, std::string_view key);

struct StartKey {
    std::string_view key;
    Start start;
};
inline constexpr std::array<StartKey, 2> kStarts{{{"froid", Start::Cold}, {"permanent", Start::Steady}}};
// Empty is the cold start; none for an unknown key.
std::optional<Start> startByKey(std::string_view key);

// The number of UTF-8 code points.
std::size_t characterCount(std::string_view text);

// The numbers a sheet may set: the loop's settings (kSettings), each
// regulator kind's fields (keys G, q0, q1, Kp, Ti, Td, U), and the sampling
// period in seconds, which makes T/T1 follow a hidden T1.
inline constexpr Quantity kSamplingSeconds{"T_s", "T", Unit::Seconds, 0, 100000, true, false, 20, 3};

struct SheetParameter {
    Quantity quantity;
    enum class Target { Setting, Field, SamplingSeconds } target = Target::Setting;
    std::size_t index = 0;  // in kSettings, or the field's in its kind
    Regulator regulator = Regulator::P;
};

std::optional<SheetParameter> sheetParameter(std::string_view key);

// Parameters from a list of values applied in turn, each sanitised by its
// quantity; T_s last of all, as T/T1 = T_s / T1_s. Unknown keys are passed
// over.
struct KeyedValue {
    std::string_view key;
    double value = 0;
};
Parameters withValues(Parameters p, const std::vector<KeyedValue>& values);

}  // namespace t1::model
