#include "model/criteria.h"

#include "model/converters.h"
#include "model/poles.h"
#include "model/sheet.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace t1::model {

namespace {

constexpr double kPercent = 100;
// The static error is a share of E, of a digit when E is 0.
constexpr double kSmallestSetPoint = 1;

Measured unsettled(const TuningRun& r)
{
    return {std::nullopt, r.step.oscillation ? Why::Oscillating : Why::NotSettled};
}

Measured staticError(const TuningRun& r, double)
{
    if (!r.step.settled)
        return unsettled(r);
    const double e = r.parameters.e;
    return {kPercent * std::abs(r.step.settled->staticError) / std::fmax(e, kSmallestSetPoint)};
}

Measured overshoot(const TuningRun& r, double)
{
    if (!r.step.settled)
        return unsettled(r);
    return {r.step.settled->overshootPercent.value_or(0)};
}

Measured settling(const TuningRun& r, double)
{
    if (!r.step.settled)
        return unsettled(r);
    return {static_cast<double>(r.step.settled->settling)};
}

Measured largestPole(const TuningRun& r, double)
{
    double largest = 0;
    for (const Pole& p : closedLoopPoles(r.parameters).poles)
        largest = std::fmax(largest, std::abs(p.z));
    return {largest};
}

Measured saturations(const TuningRun& r, double)
{
    const auto& s = r.run.samples();
    return {static_cast<double>(std::count_if(s.begin(), s.end(), [](const Sample& x) { return x.saturated; }))};
}

// X from the door's opening on, and X then.
std::span<const Sample> afterDoor(const TuningRun& r)
{
    return std::span(r.run.samples()).subspan(*r.door);
}

Measured doorDeviation(const TuningRun& r, double)
{
    const auto after = afterDoor(r);
    double largest = 0;
    for (const Sample& s : after)
        largest = std::fmax(largest, std::abs(s.x - after.front().x));
    return {largest};
}

Measured doorReturn(const TuningRun& r, double band)
{
    const auto after = afterDoor(r);
    std::size_t back = 0;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (std::abs(after[i].x - after.front().x) > band)
            back = i + 1;
    if (back == after.size() && back > 0)
        return {std::nullopt, Why::NotBack};
    return {static_cast<double>(back)};
}

constexpr double kMaxPeriods = kExercisePeriods.high;
constexpr double kMaxOvershoot = 1000;

}  // namespace

constinit const std::array<CriterionRow, kCriterionCount> kCriteria{{
    {
        .quantity = {"erreur_statique", "ε", Unit::Percent, 0, kPercent, false, false, 0, 1},
        .needs = CriterionNeeds::SetPointStep,
        .measure = &staticError,
    },
    {
        .quantity = {"depassement", "D", Unit::Percent, 0, kMaxOvershoot, false, false, 0, 1},
        .needs = CriterionNeeds::SetPointStep,
        .measure = &overshoot,
    },
    {
        .quantity = {"temps_reponse", "tr", Unit::Periods, 0, kMaxPeriods, false, true, 0, 0},
        .needs = CriterionNeeds::SetPointStep,
        .measure = &settling,
    },
    {
        .quantity = {"stable", "|z|", Unit::None, 0, 1, true, false, 1, 2},
        .boundNeeded = false,
        .comparison = Comparison::Below,
        .measure = &largestPole,
    },
    {
        .quantity = {"sans_saturation", "", Unit::Periods, 0, kMaxPeriods, false, true, 0, 0},
        .boundNeeded = false,
        .measure = &saturations,
    },
    {
        .quantity = {"ecart_porte", "ΔX", Unit::Digits, 0, kFullScaleDigits, false, false, 0, 0},
        .needs = CriterionNeeds::Door,
        .measure = &doorDeviation,
    },
    {
        .quantity = {"retour_porte", "", Unit::Periods, 0, kMaxPeriods, false, true, 0, 0},
        .needs = CriterionNeeds::Door,
        .band = Quantity{"bande", "", Unit::Digits, 0, kFullScaleDigits, false, false, 1, 0},
        .measure = &doorReturn,
    },
}};

const CriterionRow* criterionRow(std::string_view key)
{
    for (const CriterionRow& row : kCriteria)
        if (row.quantity.key == key)
            return &row;
    return nullptr;
}

bool compares(Comparison comparison, double value, double bound)
{
    return comparison == Comparison::Below ? value < bound : value <= bound;
}

TuningRun tuningRun(const Parameters& p, const Simulation& run)
{
    const auto& samples = run.samples();
    const StartOutcome::Kind start = run.startOutcome().kind;
    TuningRun r{p, run, {}, start == StartOutcome::Kind::Cold || start == StartOutcome::Kind::NoneFound, {}};
    const auto opening = static_cast<std::size_t>(std::max(p.door.from - 1, 0));
    if (p.door.periods > 0 && opening + 1 < samples.size())
        r.door = opening;
    const std::size_t stepEnd = r.door ? *r.door + 1 : samples.size();
    r.step = measure(std::span(samples).first(stepEnd), p, r.coldStart);
    return r;
}

Judgement judge(const CriterionRow& row, const TuningRun& run, double bound, double band)
{
    Judgement j{row.quantity.key, std::nullopt, bound};
    const bool applies = row.needs == CriterionNeeds::Nothing
                         || (row.needs == CriterionNeeds::SetPointStep && run.coldStart)
                         || (row.needs == CriterionNeeds::Door && run.door);
    if (!applies) {
        j.why = Why::NotApplicable;
        return j;
    }
    const Measured m = row.measure(run, band);
    j.value = m.value;
    j.why = m.why;
    j.met = m.value && compares(row.comparison, *m.value, bound);
    return j;
}

}  // namespace t1::model
