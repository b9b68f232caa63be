#include "model/regulators.h"

#include "model/converters.h"

#include <cmath>

namespace t1::model {

namespace {

constexpr double kMaxGain = 100;
constexpr double kMaxCoefficient = 1000;
// Ti below a hundredth of T1 would make T/Ti, and q0, too large to mean anything.
constexpr double kMinIntegralTime = 0.01;
constexpr double kMaxIntegralTime = 100;
constexpr double kMaxDerivativeTime = 10;

constexpr Quantity kGain{"G", "G", Unit::None, 0, kMaxGain, false, false, 2, 3};
constexpr Quantity kQ0{"q0", "q0", Unit::None, -kMaxCoefficient, kMaxCoefficient, false, false, kLessonQ0, 2};
constexpr Quantity kQ1{"q1", "q1", Unit::None, -kMaxCoefficient, kMaxCoefficient, false, false, kLessonQ1, 2};
constexpr Quantity kKp{"Kp", "Kp", Unit::None, 0, kMaxGain, false, false, 2, 2};
constexpr Quantity kTi{"Ti", "Ti", Unit::T1, kMinIntegralTime, kMaxIntegralTime, false, false, 1, 3};
constexpr Quantity kTd{"Td", "Td", Unit::T1, 0, kMaxDerivativeTime, false, false, 0.1, 3};
constexpr Quantity kCommand{"U", "U", Unit::Volts, 0, kFullScaleVolts, false, false, 4, 2};

Coefficients proportional(const FieldValues& v, double)
{
    return {v[kGainField], 0, 0, 0};
}

Coefficients proportionalIntegral(const FieldValues& v, double)
{
    return {v[kQ0Field], v[kQ1Field], 0, 0};
}

// The standard form Kp (1 + 1/(Ti s) + Td s) in its velocity form:
// q0 = Kp (1 + T/Ti + Td/T), q1 = -Kp (1 + 2 Td/T), q2 = Kp Td/T, with
// T/Ti = (T/T1) / (Ti/T1) and Td/T = (Td/T1) / (T/T1).
Coefficients pid(const FieldValues& v, double ratio)
{
    const double kp = v[kKpField];
    const double overTi = ratio / v[kTiField];
    const double tdOver = v[kTdField] / ratio;
    return {kp * (1 + overTi + tdOver), -kp * (1 + 2 * tdOver), kp * tdOver, 0};
}

Coefficients manual(const FieldValues& v, double)
{
    return {0, 0, 0, kDigitsPerVolt * v[kCommandField]};
}

constexpr std::array kPIPresets{Preset{"Réponse pile", &deadbeat}};

constexpr std::array kProportionalGain{kGainField};
constexpr std::array kPIGain{kQ0Field, kQ1Field};
constexpr std::array kPidGain{kKpField};

}  // namespace

constinit const std::array<RegulatorRow, kRegulatorCount> kRegulators{{
    {
        .key = "P",
        .name = "P",
        .fieldTable = {kGain},
        .fieldCount = 1,
        .coefficients = &proportional,
        .integrates = false,
        .closed = true,
        .parts = {},
        .presets = {},
        .diagramLabel = "proportionnel",
        .labelShowsFields = true,
        .gainFields = kProportionalGain,
    },
    {
        .key = "PI",
        .name = "PI",
        .fieldTable = {kQ0, kQ1},
        .fieldCount = 2,
        .coefficients = &proportionalIntegral,
        .integrates = true,
        .closed = true,
        .parts = {true, true, false},
        .presets = kPIPresets,
        .diagramLabel = "PI",
        .labelShowsFields = false,
        .gainFields = kPIGain,
    },
    {
        .key = "PID",
        .name = "PID",
        .fieldTable = {kKp, kTi, kTd},
        .fieldCount = 3,
        .coefficients = &pid,
        .integrates = true,
        .closed = true,
        .parts = {true, true, true},
        .presets = {},
        .diagramLabel = "PID",
        .labelShowsFields = false,
        .gainFields = kPidGain,
    },
    {
        .key = "manuel",
        .name = "Commande manuelle",
        .fieldTable = {kCommand},
        .fieldCount = 1,
        .coefficients = &manual,
        .integrates = false,
        .closed = false,
        .parts = {},
        .presets = {},
        .diagramLabel = "manuel",
        .labelShowsFields = true,
        .gainFields = {},
    },
}};

const RegulatorRow& regulatorRow(Regulator r)
{
    const auto i = static_cast<std::size_t>(r);
    return kRegulators[i < kRegulatorCount ? i : 0];
}

std::optional<Regulator> regulatorByKey(std::string_view key)
{
    for (std::size_t i = 0; i < kRegulatorCount; ++i)
        if (kRegulators[i].key == key)
            return static_cast<Regulator>(i);
    return std::nullopt;
}

std::array<FieldValues, kRegulatorCount> defaultFieldValues()
{
    std::array<FieldValues, kRegulatorCount> values{};
    for (std::size_t r = 0; r < kRegulatorCount; ++r)
        for (std::size_t f = 0; f < kRegulators[r].fieldCount; ++f)
            values[r][f] = kRegulators[r].fieldTable[f].fallback;
    return values;
}

FieldValues deadbeat(const Plant& plant)
{
    const double a = std::exp(-plant.ratio);
    const double b = plant.gain * (1 - a);
    return {1 / b, -a / b, 0};
}

}  // namespace t1::model
