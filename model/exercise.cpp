#include "model/exercise.h"

#include "model/criteria.h"
#include "model/exercise_kinds.h"
#include "model/regulators.h"

#include <algorithm>
#include <cmath>

namespace t1::model {

namespace {

// An answer typed to the allowance's last digit is not refused for the
// rounding of its decimal digits in binary.
constexpr double kRoundingSlack = 1e-9;
constexpr std::uint64_t kSeedBits = (std::uint64_t{1} << 53) - 1;

Regulator regulatorOf(const ExerciseKindRow& kind, const Exercise& e)
{
    if (kind.regulator)
        return *kind.regulator;
    if (kind.sheetRegulator)
        return regulatorByKey(e.regulator).value_or(Regulator::P);
    return Regulator::P;
}

Parameters parametersOf(const ExerciseKindRow& kind, const Exercise& e, const std::vector<DrawnValue>& hidden)
{
    std::vector<KeyedValue> values;
    for (const FixedValue& v : e.fixed)
        if (readsParameter(kind, v.key))
            values.push_back({v.key, v.value});
    for (const DrawnValue& v : hidden)
        if (readsParameter(kind, v.key))
            values.push_back({v.key, v.value});
    Parameters p;
    p.regulator = regulatorOf(kind, e);
    p.quantised = e.quantised;
    return withValues(p, values);
}

std::vector<AskedValue> askedOf(const ExerciseKindRow& kind, const Exercise& e)
{
    std::vector<AskedValue> asked;
    if (e.asked.empty())
        for (const AnswerRow& row : kind.answers)
            asked.push_back({&row, row.tolerance});
    for (const AskedAnswer& a : e.asked)
        if (const AnswerRow* row = answerRow(kind, a.key))
            asked.push_back({row, a.tolerance.value_or(row->tolerance)});
    return asked;
}

std::vector<Demand> demandsOf(const Exercise& e)
{
    std::vector<Demand> demands;
    for (const Criterion& c : e.criteria) {
        const CriterionRow* row = criterionRow(c.key);
        if (!row)
            continue;
        const double band = row->band ? row->band->bring(c.band.value_or(row->band->fallback)) : 0;
        demands.push_back({row, row->quantity.bring(c.bound.value_or(row->quantity.fallback)), band});
    }
    return demands;
}

std::vector<Regulator> regulatorsOf(const Exercise& e)
{
    std::vector<Regulator> offered;
    for (std::size_t r = 0; r < kRegulatorCount; ++r) {
        const bool named = std::find(e.regulators.begin(), e.regulators.end(), kRegulators[r].key) != e.regulators.end();
        if (kRegulators[r].closed && (e.regulators.empty() || named))
            offered.push_back(static_cast<Regulator>(r));
    }
    return offered;
}

}  // namespace

void Score::add(const Verdict& verdict)
{
    for (const Judgement& j : verdict.items) {
        ++total;
        right += j.met ? 1 : 0;
    }
}

std::optional<StudentExercise> studentExercise(const Sheet& sheet, std::size_t index, std::string_view student)
{
    if (index >= sheet.exercises.size())
        return std::nullopt;
    const Exercise& e = sheet.exercises[index];
    const ExerciseKindRow* kind = exerciseKind(e.kind);
    if (!kind)
        return std::nullopt;
    StudentExercise x;
    x.kind = kind;
    x.index = index;
    x.student = normalisedName(student);
    x.hidden = drawHidden(sheet, index, student);
    x.parameters = parametersOf(*kind, e, x.hidden);
    if (!fixedValue(e, kSeed.key) && !hiddenRange(e, kSeed.key))
        x.parameters.noise.seed = drawSeed(sheet.id, student, index, kSeed.key) & kSeedBits;
    x.start = startByKey(e.start).value_or(Start::Cold);
    x.periods = static_cast<int>(kExercisePeriods.bring(e.periods));
    x.asked = askedOf(*kind, e);
    x.demands = demandsOf(e);
    x.regulators = regulatorsOf(e);
    x.tries = std::max(e.tries, 0);
    x.revealAfterWrong = e.revealAfterWrong;
    return x;
}

Verdict check(const StudentExercise& exercise, const Submission& submission)
{
    if (!exercise.kind)
        return {{}, false, true, std::nullopt};
    return exercise.kind->check(exercise, submission);
}

void placeStep(std::vector<CommandStep>& steps, CommandStep step)
{
    const auto at = std::find_if(steps.begin(), steps.end(),
                                 [&](const CommandStep& s) { return s.acquisition >= step.acquisition; });
    if (at != steps.end() && at->acquisition == step.acquisition)
        *at = step;
    else
        steps.insert(at, step);
}

Simulation exerciseRun(const StudentExercise& exercise, const Parameters& p, std::span<const CommandStep> steps)
{
    Simulation run(p, exercise.start);
    for (int k = 0; k <= exercise.periods; ++k) {
        for (const CommandStep& step : steps)
            if (step.acquisition == k) {
                Parameters next = run.parameters();
                next.fieldsOf(Regulator::Manual)[kCommandField] = step.volts;
                run.change(sanitised(next));
            }
        run.advance();
    }
    return run;
}

Judgement judgeAnswer(const AskedValue& asked, double expected, const std::vector<TypedAnswer>& answers)
{
    Judgement j{asked.row->key, std::nullopt, expected, asked.tolerance.allowance(expected)};
    const auto typed = std::find_if(answers.begin(), answers.end(),
                                    [&](const TypedAnswer& a) { return a.key == asked.row->key; });
    if (typed == answers.end() || !std::isfinite(typed->value)) {
        j.why = Why::NotTyped;
        return j;
    }
    j.value = typed->value;
    j.met = std::abs(typed->value - expected) <= j.allowance + kRoundingSlack * std::fmax(1.0, std::abs(expected));
    return j;
}

bool mayTry(const StudentExercise& exercise, const Attempts& attempts)
{
    return !attempts.solved && (exercise.tries == 0 || attempts.used < exercise.tries);
}

bool mayReveal(const StudentExercise& exercise, const Attempts& attempts)
{
    return attempts.solved || (attempts.used > 0 && exercise.revealAfterWrong);
}

}  // namespace t1::model
