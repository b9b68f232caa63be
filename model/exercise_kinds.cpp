#include "model/exercise_kinds.h"

#include "model/correction.h"
#include "model/criteria.h"
#include "model/regulators.h"

#include <algorithm>

namespace t1::model {

namespace {

constexpr Tolerance kReadingTolerance{10, 0};  // percent: read off a curve
constexpr Tolerance kWorkedTolerance{1, 0};    // percent: worked out
constexpr Tolerance kExact{0, 0};

const Sample kNoAcquisition{};

Verdict judgeAll(const StudentExercise& x, const Submission& s, const Sample& acquisition)
{
    Verdict v;
    v.passed = !x.asked.empty();
    for (const AskedValue& a : x.asked) {
        v.items.push_back(judgeAnswer(a, a.row->expected(x.parameters, acquisition), s.answers));
        v.passed = v.passed && v.items.back().met;
    }
    return v;
}

// --- Identifier le four: K, T1 and θ read off an open-loop run.

constexpr std::array kIdentificationAnswers{
    AnswerRow{"K", "K", Unit::None, 2, kReadingTolerance,
              [](const Parameters& p, const Sample&) { return p.oven.gain; }},
    AnswerRow{"T1_s", "T1", Unit::Seconds, 1, kReadingTolerance,
              [](const Parameters& p, const Sample&) { return p.oven.t1Seconds; }},
    AnswerRow{"theta_s", "θ", Unit::Seconds, 1, kReadingTolerance,
              [](const Parameters& p, const Sample&) { return p.oven.delay * p.oven.t1Seconds; }},
};
// The manual command's field: the command the run starts with.
constexpr std::string_view kCommandKey = "U";

constexpr std::array kIdentificationParameters{kSampling.key, kSamplingSeconds.key, kStaticGain.key, kDelay.key,
                                               kTimeConstant.key, kNoise.key, kSeed.key, kCommandKey};

// With T1 hidden the sampling period must be given in seconds: as a share
// of T1 it would tell T1.
void validateIdentification(const Exercise& e, std::size_t index, std::vector<Fault>& faults)
{
    const bool inSeconds = fixedValue(e, kSamplingSeconds.key) || hiddenRange(e, kSamplingSeconds.key);
    if (hiddenRange(e, kTimeConstant.key) && !inSeconds)
        addFault(faults, index, Section::Exercise, std::string(kSampling.key), FaultCode::RevealsHidden);
}

Verdict checkValues(const StudentExercise& x, const Submission& s)
{
    return judgeAll(x, s, kNoAcquisition);
}

void correctValues(const StudentExercise& x, ExerciseCorrection& c)
{
    for (const AskedValue& a : x.asked) {
        const double value = a.row->expected(x.parameters, kNoAcquisition);
        c.answers.push_back({a.row, value, a.tolerance, a.tolerance.allowance(value)});
    }
}

// --- Régler selon un cahier des charges: the student's regulator on the
// sheet's loop, against its criteria.

constexpr std::array kTuningParameters{kSetPoint.key, kSampling.key, kSamplingSeconds.key, kStaticGain.key,
                                       kDelay.key, kTimeConstant.key, kDoorFrom.key, kDoorPeriods.key,
                                       kDrop.key, kDoorRatio.key, kNoise.key, kSeed.key};

void validateTuning(const Exercise& e, std::size_t index, std::vector<Fault>& faults)
{
    const auto fault = [&](Section section, const std::string& key, FaultCode code, double low = 0, double high = 0) {
        addFault(faults, index, section, key, code, low, high);
    };
    if (e.criteria.empty())
        fault(Section::Criteria, "criteria", FaultCode::Missing);
    const bool steady = startByKey(e.start) == Start::Steady;
    const ValueSpan doorPeriods = valueSpan(e, kDoorPeriods);
    const ValueSpan doorFrom = valueSpan(e, kDoorFrom);
    const bool doorInRun = doorPeriods.low > 0 && doorFrom.high <= e.periods;
    std::vector<std::string_view> seen;
    for (const Criterion& c : e.criteria) {
        const CriterionRow* row = criterionRow(c.key);
        if (!row) {
            fault(Section::Criteria, c.key, FaultCode::UnknownKey);
            continue;
        }
        if (std::find(seen.begin(), seen.end(), c.key) != seen.end())
            fault(Section::Criteria, c.key, FaultCode::Duplicate);
        seen.push_back(row->quantity.key);
        if (!c.bound && row->boundNeeded)
            fault(Section::Criteria, c.key, FaultCode::Missing);
        if (c.bound)
            checkNumber(faults, index, Section::Criteria, c.key, row->quantity, *c.bound);
        if (c.band && !row->band)
            fault(Section::Criteria, c.key, FaultCode::Unused);
        if (c.band && row->band)
            checkNumber(faults, index, Section::Criteria, c.key, *row->band, *c.band);
        if ((row->needs == CriterionNeeds::SetPointStep && steady) || (row->needs == CriterionNeeds::Door && !doorInRun))
            fault(Section::Criteria, c.key, FaultCode::NotApplicable);
    }
    for (const std::string& key : e.regulators) {
        const std::optional<Regulator> r = regulatorByKey(key);
        if (!r)
            fault(Section::Regulators, key, FaultCode::UnknownKey);
        else if (!regulatorRow(*r).closed)
            fault(Section::Regulators, key, FaultCode::NotForKind);
    }
}

Verdict checkTuning(const StudentExercise& x, const Submission& s)
{
    Verdict v;
    if (std::find(x.regulators.begin(), x.regulators.end(), s.regulator) == x.regulators.end()) {
        v.refused = true;
        return v;
    }
    Parameters p = x.parameters;
    p.regulator = s.regulator;
    p.fieldsOf(s.regulator) = s.fields;
    p = sanitised(p);
    v.run = exerciseRun(x, p);
    const TuningRun run = tuningRun(p, *v.run);
    v.passed = !x.demands.empty();
    for (const Demand& d : x.demands) {
        v.items.push_back(judge(*d.row, run, d.bound, d.band));
        v.passed = v.passed && v.items.back().met;
    }
    return v;
}

void correctTuning(const StudentExercise& x, ExerciseCorrection& c)
{
    c.demands = x.demands;
}

// --- Calculer la réponse pile: q0 and q1 for the sheet's T/T1 and K.

double deadbeatField(const Parameters& p, std::size_t field)
{
    return deadbeat(plant(p))[field];
}

constexpr std::array kDeadbeatAnswers{
    AnswerRow{"q0", "q0", Unit::None, 2, kWorkedTolerance,
              [](const Parameters& p, const Sample&) { return deadbeatField(p, kQ0Field); }},
    AnswerRow{"q1", "q1", Unit::None, 2, kWorkedTolerance,
              [](const Parameters& p, const Sample&) { return deadbeatField(p, kQ1Field); }},
};
constexpr std::array kDeadbeatParameters{kSetPoint.key, kSampling.key, kSamplingSeconds.key, kStaticGain.key,
                                         kTimeConstant.key};

Verdict checkDeadbeat(const StudentExercise& x, const Submission& s)
{
    Verdict v = checkValues(x, s);
    if (v.passed) {
        Parameters p = x.parameters;
        p.fieldsOf(Regulator::PI) = deadbeat(plant(p));
        v.run = exerciseRun(x, sanitised(p));
    }
    return v;
}

// --- Prédire la boucle: each acquisition's X, Ep, Epu and U before it is made.

constexpr std::array kPredictionAnswers{
    AnswerRow{"X", "X", Unit::Digits, 0, kExact, [](const Parameters&, const Sample& s) { return s.x; }},
    AnswerRow{"Ep", "Ep", Unit::Digits, 0, kExact, [](const Parameters&, const Sample& s) { return s.ep; }},
    AnswerRow{"Epu", "Epu", Unit::Digits, 0, kExact, [](const Parameters&, const Sample& s) { return s.epu; }},
    AnswerRow{"U", "U", Unit::Volts, 2, Tolerance{0, kHalfStepVolts},
              [](const Parameters&, const Sample& s) { return s.u; }},
};
// Every kind's fields too, for the regulator the sheet names.
constexpr std::array kPredictionParameters{kSetPoint.key, kSampling.key, kSamplingSeconds.key, kStaticGain.key,
                                           kDelay.key, kTimeConstant.key, kDoorFrom.key, kDoorPeriods.key,
                                           kDrop.key, kDoorRatio.key, std::string_view("G"), std::string_view("q0"),
                                           std::string_view("q1"), std::string_view("Kp"), std::string_view("Ti"),
                                           std::string_view("Td"), kCommandKey};

// Whole digits are judged exactly.
void validatePrediction(const Exercise& e, std::size_t index, std::vector<Fault>& faults)
{
    if (!e.quantised)
        addFault(faults, index, Section::Exercise, "quantised", FaultCode::NotForKind);
}

Verdict checkPeriod(const StudentExercise& x, const Submission& s)
{
    if (s.period < 0 || s.period > x.periods) {
        Verdict v;
        v.refused = true;
        return v;
    }
    const Simulation run = exerciseRun(x, x.parameters);
    return judgeAll(x, s, run.samples()[static_cast<std::size_t>(s.period)]);
}

void correctPrediction(const StudentExercise& x, ExerciseCorrection& c)
{
    c.acquisitions = exerciseRun(x, x.parameters).samples();
}

}  // namespace

constinit const std::array<ExerciseKindRow, kExerciseKindCount> kExerciseKinds{{
    {
        .key = "identification",
        .name = "Identifier le four",
        .asks = Asks::Values,
        .judging = Judging::HiddenValues,
        .answers = kIdentificationAnswers,
        .parameters = kIdentificationParameters,
        .regulator = Regulator::Manual,
        .sheetRegulator = false,
        .validate = &validateIdentification,
        .check = &checkValues,
        .correct = &correctValues,
    },
    {
        .key = "reglage",
        .name = "Régler selon un cahier des charges",
        .asks = Asks::Regulator,
        .judging = Judging::Criteria,
        .answers = {},
        .parameters = kTuningParameters,
        .regulator = std::nullopt,
        .sheetRegulator = false,
        .validate = &validateTuning,
        .check = &checkTuning,
        .correct = &correctTuning,
    },
    {
        .key = "pile",
        .name = "Calculer la réponse pile",
        .asks = Asks::Values,
        .judging = Judging::Deadbeat,
        .answers = kDeadbeatAnswers,
        .parameters = kDeadbeatParameters,
        .regulator = Regulator::PI,
        .sheetRegulator = false,
        .validate = nullptr,
        .check = &checkDeadbeat,
        .correct = &correctValues,
    },
    {
        .key = "prediction",
        .name = "Prédire la boucle",
        .asks = Asks::EveryPeriod,
        .judging = Judging::Run,
        .answers = kPredictionAnswers,
        .parameters = kPredictionParameters,
        .regulator = std::nullopt,
        .sheetRegulator = true,
        .validate = &validatePrediction,
        .check = &checkPeriod,
        .correct = &correctPrediction,
    },
}};

const ExerciseKindRow* exerciseKind(std::string_view key)
{
    for (const ExerciseKindRow& row : kExerciseKinds)
        if (row.key == key)
            return &row;
    return nullptr;
}

const AnswerRow* answerRow(const ExerciseKindRow& kind, std::string_view key)
{
    for (const AnswerRow& row : kind.answers)
        if (row.key == key)
            return &row;
    return nullptr;
}

bool readsParameter(const ExerciseKindRow& kind, std::string_view key)
{
    return std::find(kind.parameters.begin(), kind.parameters.end(), key) != kind.parameters.end();
}

}  // namespace t1::model
