#include "model/parameters.h"

#include <algorithm>
#include <cmath>

namespace t1::model {

namespace {

std::size_t index(Regulator r)
{
    const auto i = static_cast<std::size_t>(r);
    return i < kRegulatorCount ? i : 0;
}

}  // namespace

constinit const std::array<Setting, kSettingCount> kSettings{{
    {kSetPoint, [](const Parameters& p) { return p.e; }, [](Parameters& p, double v) { p.e = v; }},
    {kSampling, [](const Parameters& p) { return p.ratio; }, [](Parameters& p, double v) { p.ratio = v; }},
    {kStaticGain, [](const Parameters& p) { return p.oven.gain; }, [](Parameters& p, double v) { p.oven.gain = v; }},
    {kDelay, [](const Parameters& p) { return p.oven.delay; }, [](Parameters& p, double v) { p.oven.delay = v; }},
    {kTimeConstant, [](const Parameters& p) { return p.oven.t1Seconds; },
     [](Parameters& p, double v) { p.oven.t1Seconds = v; }},
    {kDoorFrom, [](const Parameters& p) { return double(p.door.from); },
     [](Parameters& p, double v) { p.door.from = static_cast<int>(kDoorFrom.bring(v)); }},
    {kDoorPeriods, [](const Parameters& p) { return double(p.door.periods); },
     [](Parameters& p, double v) { p.door.periods = static_cast<int>(kDoorPeriods.bring(v)); }},
    {kDrop, [](const Parameters& p) { return p.door.drop; }, [](Parameters& p, double v) { p.door.drop = v; }},
    {kDoorRatio, [](const Parameters& p) { return p.door.ratio; }, [](Parameters& p, double v) { p.door.ratio = v; }},
    {kNoise, [](const Parameters& p) { return p.noise.millivolts; },
     [](Parameters& p, double v) { p.noise.millivolts = v; }},
    {kSeed, [](const Parameters& p) { return double(p.noise.seed); },
     [](Parameters& p, double v) { p.noise.seed = static_cast<std::uint64_t>(kSeed.bring(v)); }},
}};

FieldValues& Parameters::fieldsOf(Regulator r)
{
    return fields[index(r)];
}

const FieldValues& Parameters::fieldsOf(Regulator r) const
{
    return fields[index(r)];
}

bool doorOpenAfter(const Parameters& p, int k)
{
    const int period = k + 1;
    return p.door.from <= period && period - p.door.from < p.door.periods;
}

Parameters sanitised(const Parameters& p)
{
    Parameters s = p;
    s.regulator = static_cast<Regulator>(index(p.regulator));
    for (const Setting& setting : kSettings)
        setting.set(s, setting.quantity.bring(setting.get(p)));
    for (std::size_t r = 0; r < kRegulatorCount; ++r) {
        const auto fields = kRegulators[r].fields();
        for (std::size_t f = 0; f < kMaxRegulatorFields; ++f)
            s.fields[r][f] = f < fields.size() ? fields[f].bring(p.fields[r][f]) : 0;
    }
    return s;
}

Law law(const Parameters& p)
{
    const RegulatorRow& row = p.row();
    const Coefficients c = row.coefficients(p.fieldsOf(p.regulator), p.ratio);
    return {c.q0, c.q1, c.q2, c.offset, row.integrates};
}

Plant plant(const Parameters& p)
{
    return {p.ratio, p.oven.gain};
}

bool changesRun(const Parameters& before, const Parameters& after)
{
    const std::size_t fields = after.row().fieldCount;
    const FieldValues& a = before.fieldsOf(after.regulator);
    const FieldValues& b = after.fieldsOf(after.regulator);
    return before.e != after.e || before.regulator != after.regulator
           || !std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(fields), b.begin())
           || before.ratio != after.ratio || before.quantised != after.quantised
           || before.oven.gain != after.oven.gain || before.oven.delay != after.oven.delay
           || before.door != after.door || before.noise.millivolts != after.noise.millivolts;
}

}  // namespace t1::model
