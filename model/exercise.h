#pragma once

#include "model/draw.h"
#include "model/parameters.h"
#include "model/sheet.h"
#include "model/simulation.h"
#include "model/verdict.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace t1::model {

struct AnswerRow;
struct CriterionRow;
struct ExerciseKindRow;

struct AskedValue {
    const AnswerRow* row = nullptr;
    Tolerance tolerance;
};

struct Demand {
    const CriterionRow* row = nullptr;
    double bound = 0;
    double band = 0;
};

// An exercise as one student gets it: the sheet's keys resolved, the hidden
// values drawn for his name and applied. Whatever the sheet holds, the
// parameters are within their ranges (an unknown key, answer or criterion
// is passed over): validate() says what is wrong with a sheet.
struct StudentExercise {
    const ExerciseKindRow* kind = nullptr;
    std::size_t index = 0;
    std::string student;  // the name as hashed (normalisedName)
    std::vector<DrawnValue> hidden;
    // The fixed and hidden values applied over the defaults, with the
    // regulator the kind or the sheet sets; the noise's seed, unless the
    // sheet sets it, drawn like a hidden value under the key "seed".
    Parameters parameters;
    Start start = Start::Cold;
    int periods = static_cast<int>(kExercisePeriods.fallback);
    std::vector<AskedValue> asked;
    std::vector<Demand> demands;
    std::vector<Regulator> regulators;  // the student may pick
    int tries = 0;
    bool revealAfterWrong = true;
};

// None for an exercise beyond the sheet or of an unknown kind.
std::optional<StudentExercise> studentExercise(const Sheet& sheet, std::size_t index, std::string_view student);

struct TypedAnswer {
    std::string key;
    double value = 0;
};

// What the student hands in: his answers (each period's values in a
// prediction, for the acquisition `period`), or the regulator he picked
// and its fields.
struct Submission {
    std::vector<TypedAnswer> answers;
    Regulator regulator = Regulator::P;
    FieldValues fields{};
    int period = 0;
};

// Judged by the kind's row.
Verdict check(const StudentExercise& exercise, const Submission& submission);

// A step of the manual command the student applies in open loop: U from
// that acquisition on.
struct CommandStep {
    int acquisition = 0;
    double volts = 0;
    bool operator==(const CommandStep&) const = default;
};

// Adds a step in its place among steps kept in time order, over the one
// already at its acquisition.
void placeStep(std::vector<CommandStep>& steps, CommandStep step);

// The exercise's run from its start, for these parameters: its periods, so
// one acquisition more. The steps act at their acquisitions, in the
// parameters' manual command (brought within its range); of two at the same
// acquisition the later one holds, and those beyond the run do nothing.
Simulation exerciseRun(const StudentExercise& exercise, const Parameters& p,
                       std::span<const CommandStep> steps = {});

// An answer against the row's expected value for these parameters (and,
// in a prediction, the acquisition's sample).
Judgement judgeAnswer(const AskedValue& asked, double expected, const std::vector<TypedAnswer>& answers);

// The tries an exercise grants.
struct Attempts {
    int used = 0;
    bool solved = false;
};
bool mayTry(const StudentExercise& exercise, const Attempts& attempts);
// The true curve or values: after success, or after a wrong answer if the
// sheet allows it.
bool mayReveal(const StudentExercise& exercise, const Attempts& attempts);

}  // namespace t1::model
