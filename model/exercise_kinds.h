#pragma once

#include "model/converters.h"
#include "model/exercise.h"
#include "model/quantity.h"
#include "model/sample.h"
#include "model/sheet.h"
#include "model/sheet_check.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace t1::model {

// The kinds of exercise, one row each: a new kind is a row, its check and
// what its correction prints.

// What the student gives.
enum class Asks {
    Values,       // numbers he worked out, at once
    Regulator,    // a regulator and its coefficients
    EveryPeriod,  // before each acquisition, its values
};

// What his answers are judged against.
enum class Judging {
    HiddenValues,  // the oven's, drawn for him
    Criteria,      // the sheet's, on the exact run from the sheet's start
    Deadbeat,      // the deadbeat coefficients of the oven
    Run,           // the exact run's values
};

// A number the student answers, with the tolerance a sheet that says
// nothing grants.
struct AnswerRow {
    std::string_view key;     // in sheets
    std::string_view symbol;  // UTF-8, as printed
    Unit unit = Unit::None;
    int decimals = 2;         // shown
    Tolerance tolerance;
    // What is right: from the exercise's parameters, or (a prediction) the
    // acquisition predicted.
    double (*expected)(const Parameters& p, const Sample& acquisition);
};

struct ExerciseCorrection;

struct ExerciseKindRow {
    std::string_view key;   // in sheets
    std::string_view name;  // as shown
    Asks asks;
    Judging judging;
    std::span<const AnswerRow> answers;
    std::span<const std::string_view> parameters;  // the sheet's keys it reads
    std::optional<Regulator> regulator;  // the kind's own; none: the sheet's or the student's
    bool sheetRegulator = false;         // the sheet names the regulator in force
    // Faults beyond those every exercise is checked for; may be none.
    void (*validate)(const Exercise& exercise, std::size_t index, std::vector<Fault>& faults);
    Verdict (*check)(const StudentExercise& exercise, const Submission& submission);
    // Fills what the kind's correction holds beyond the hidden values.
    void (*correct)(const StudentExercise& exercise, ExerciseCorrection& correction);
};

inline constexpr std::size_t kExerciseKindCount = 4;
// identification, reglage, pile, prediction.
extern const std::array<ExerciseKindRow, kExerciseKindCount> kExerciseKinds;

const ExerciseKindRow* exerciseKind(std::string_view key);
const AnswerRow* answerRow(const ExerciseKindRow& kind, std::string_view key);
bool readsParameter(const ExerciseKindRow& kind, std::string_view key);

// Half a step of the N/A converter, in volts: how near U must be guessed.
inline constexpr double kHalfStepVolts = 0.5 / kDigitsPerVolt;

}  // namespace t1::model
