#pragma once

#include "model/converters.h"
#include "model/quantity.h"
#include "model/regulators.h"

#include <array>
#include <cstdint>

namespace t1::model {

// Cold: S = 0 V, an empty regulator memory, nothing on its way to the oven.
// Steady: the loop's permanent regime for the parameters and their set
// point (see steady_state.h).
enum class Start { Cold, Steady };

// The lessons' settings: T = T1/5, and the door's drop and time constant.
inline constexpr double kLessonRatio = 1.0 / 5;
inline constexpr double kLessonDrop = 3.9;
inline constexpr double kLessonDoorRatio = 103.0 / 200;

// Every duration is in units of the oven's time constant T1 (T/T1, the
// delay, T1d/T1, and the PID's Ti and Td): the loop depends on nothing
// else. T1 in seconds only turns them into seconds for the eye.
inline constexpr int kMaxDoorPeriod = 9999;
inline constexpr double kMaxNoiseMillivolts = 1000;
// Seeds stay exact in a double, as a setup file may write them.
inline constexpr double kMaxSeed = 9007199254740991;  // 2^53 - 1

inline constexpr Quantity kSetPoint{"E", "E", Unit::Digits, 0, kFullScaleDigits, false, true, 100, 0};
inline constexpr Quantity kSampling{"T_T1", "T/T1", Unit::None, 1.0 / 20, 2, false, false, kLessonRatio, 3};
inline constexpr Quantity kStaticGain{"K", "K", Unit::None, 0.1, 5, false, false, 1, 2};
inline constexpr Quantity kDelay{"theta_T1", "θ", Unit::T1, 0, 3, false, false, 0, 3};
inline constexpr Quantity kTimeConstant{"T1_s", "T1", Unit::Seconds, 0, 100000, true, false, 100, 3};
inline constexpr Quantity kDoorFrom{"door_from", "", Unit::Periods, 1, kMaxDoorPeriod, false, true, 2, 0};
inline constexpr Quantity kDoorPeriods{"door_periods", "", Unit::Periods, 0, kMaxDoorPeriod, false, true, 0, 0};
inline constexpr Quantity kDrop{"D", "D", Unit::Volts, 0, kFullScaleVolts, false, false, kLessonDrop, 2};
inline constexpr Quantity kDoorRatio{"T1d_T1", "T1d/T1", Unit::None, 1.0 / 100, 10, false, false, kLessonDoorRatio, 3};
inline constexpr Quantity kNoise{"noise_mV", "σ", Unit::Millivolts, 0, kMaxNoiseMillivolts, false, false, 0, 1};
inline constexpr Quantity kSeed{"seed", "", Unit::None, 0, kMaxSeed, false, true, 1, 0};

struct Oven {
    double gain = kStaticGain.fallback;        // K: S = K U at rest
    double delay = kDelay.fallback;            // θ/T1: U reaches the oven θ later
    double t1Seconds = kTimeConstant.fallback;

    bool operator==(const Oven&) const = default;
};

struct Door {
    // First period open, counted from 1: period n covers [(n-1)T, nT).
    int from = static_cast<int>(kDoorFrom.fallback);
    // How many whole periods it stays open; 0 keeps it shut.
    int periods = static_cast<int>(kDoorPeriods.fallback);
    // While open the oven tends to K U - D volts, with time constant T1d,
    // whatever the delay: the door acts on the oven itself.
    double drop = kDrop.fallback;
    double ratio = kDoorRatio.fallback;  // T1d/T1

    bool operator==(const Door&) const = default;
};

// Noise on the measurement of S, before the A/N converter: a normal deviate
// of this standard deviation each acquisition, drawn from `seed` on.
struct Noise {
    double millivolts = kNoise.fallback;
    std::uint64_t seed = static_cast<std::uint64_t>(kSeed.fallback);

    bool operator==(const Noise&) const = default;
};

struct Parameters {
    double e = kSetPoint.fallback;  // set point, digits
    Regulator regulator = Regulator::P;
    // Every kind's fields, the inactive ones' kept for when they come back.
    std::array<FieldValues, kRegulatorCount> fields = defaultFieldValues();
    double ratio = kSampling.fallback;  // r = T/T1
    bool quantised = true;
    Oven oven;
    Door door;
    Noise noise;

    const RegulatorRow& row() const { return regulatorRow(regulator); }
    FieldValues& fieldsOf(Regulator r);
    const FieldValues& fieldsOf(Regulator r) const;
    double& field(Regulator r, std::size_t i) { return fieldsOf(r)[i]; }
    double field(Regulator r, std::size_t i) const { return fieldsOf(r)[i]; }

    bool operator==(const Parameters&) const = default;
};

// The loop's numbers outside the regulators, for forms and setup files:
// besides these, a setup file holds the regulator in force by its key,
// each kind's fields, and whether the converters quantise.
struct Setting {
    Quantity quantity;
    double (*get)(const Parameters& p);
    void (*set)(Parameters& p, double value);
};
inline constexpr std::size_t kSettingCount = 11;
extern const std::array<Setting, kSettingCount> kSettings;

// Whether the door is open during the period acquisition k starts (k from 0).
bool doorOpenAfter(const Parameters& p, int k);

// Every number brought inside its limits (Quantity::bring), an unknown
// regulator to P, so that a caller who skipped the checks still gets
// finite signals.
Parameters sanitised(const Parameters& p);

// The law of the regulator in force, for its fields and T/T1.
Law law(const Parameters& p);

// What a preset needs of the loop.
Plant plant(const Parameters& p);

// Whether going from `before` to `after` changes what the loop does: not
// when only an inactive kind's fields, T1 in seconds (a unit) or the seed
// (drawn from at the start) differ.
bool changesRun(const Parameters& before, const Parameters& after);

}  // namespace t1::model
