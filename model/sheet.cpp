#include "model/sheet.h"

#include <algorithm>
#include <cmath>

namespace t1::model {

namespace {

constexpr double kPercent = 100;

bool continuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

double Tolerance::allowance(double expected) const
{
    return std::fmax(absolute, percent / kPercent * std::abs(expected));
}

const FixedValue* fixedValue(const Exercise& exercise, std::string_view key)
{
    const auto v = std::find_if(exercise.fixed.begin(), exercise.fixed.end(),
                                [key](const FixedValue& f) { return f.key == key; });
    return v == exercise.fixed.end() ? nullptr : &*v;
}

const HiddenRange* hiddenRange(const Exercise& exercise, std::string_view key)
{
    const auto r = std::find_if(exercise.hidden.begin(), exercise.hidden.end(),
                                [key](const HiddenRange& h) { return h.key == key; });
    return r == exercise.hidden.end() ? nullptr : &*r;
}

std::optional<Start> startByKey(std::string_view key)
{
    if (key.empty())
        return Start::Cold;
    for (const StartKey& s : kStarts)
        if (s.key == key)
            return s.start;
    return std::nullopt;
}

std::size_t characterCount(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !continuationByte(c); }));
}

std::optional<SheetParameter> sheetParameter(std::string_view key)
{
    using Target = SheetParameter::Target;
    for (std::size_t i = 0; i < kSettingCount; ++i)
        if (kSettings[i].quantity.key == key)
            return SheetParameter{kSettings[i].quantity, Target::Setting, i};
    for (std::size_t r = 0; r < kRegulatorCount; ++r) {
        const auto fields = kRegulators[r].fields();
        for (std::size_t f = 0; f < fields.size(); ++f)
            if (fields[f].key == key)
                return SheetParameter{fields[f], Target::Field, f, static_cast<Regulator>(r)};
    }
    if (key == kSamplingSeconds.key)
        return SheetParameter{kSamplingSeconds, Target::SamplingSeconds};
    return std::nullopt;
}

Parameters withValues(Parameters p, const std::vector<KeyedValue>& values)
{
    using Target = SheetParameter::Target;
    std::optional<double> samplingSeconds;
    for (const KeyedValue& v : values) {
        const std::optional<SheetParameter> parameter = sheetParameter(v.key);
        if (!parameter)
            continue;
        const double value = parameter->quantity.bring(v.value);
        switch (parameter->target) {
        case Target::Setting: kSettings[parameter->index].set(p, value); break;
        case Target::Field: p.field(parameter->regulator, parameter->index) = value; break;
        case Target::SamplingSeconds: samplingSeconds = value; break;
        }
    }
    if (samplingSeconds)
        p.ratio = *samplingSeconds / p.oven.t1Seconds;
    return sanitised(p);
}

}  // namespace t1::model
