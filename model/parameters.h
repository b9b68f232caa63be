#pragma once

#include "model/converters.h"

namespace t1::model {

enum class RegulatorKind { P, PI };

// Cold: S = 0 V and an empty regulator memory. Steady: the loop's permanent
// regime for the parameters and their set point (see steady_state.h).
enum class Start { Cold, Steady };

// The lessons' settings: T = T1/5, the deadbeat coefficients as they print
// them, and the door's drop and time constant.
inline constexpr double kLessonRatio = 1.0 / 5;
inline constexpr double kLessonQ0 = 5.52;
inline constexpr double kLessonQ1 = -4.52;
inline constexpr double kLessonDrop = 3.9;
inline constexpr double kLessonDoorRatio = 103.0 / 200;

// The accepted ranges: the fields' checks and sanitised() share them.
inline constexpr double kMaxSetPoint = kFullScaleDigits;
inline constexpr double kMaxGain = 100;
inline constexpr double kMaxCoefficient = 1000;
inline constexpr double kMinRatio = 1.0 / 20;
inline constexpr double kMaxRatio = 2;
inline constexpr double kMaxDrop = kFullScaleVolts;
inline constexpr double kMinDoorRatio = 1.0 / 100;
inline constexpr double kMaxDoorRatio = 10;
inline constexpr int kMaxDoorPeriod = 9999;

struct Door {
    // First period open, counted from 1: period n covers [(n-1)T, nT).
    int from = 2;
    // How many whole periods it stays open; 0 keeps it shut.
    int periods = 0;
    // While open the oven tends to U - D volts, with time constant T1d.
    double drop = kLessonDrop;
    double ratio = kLessonDoorRatio;  // T1d/T1

    bool operator==(const Door&) const = default;
};

struct Parameters {
    double e = 100;  // set point, digits
    RegulatorKind kind = RegulatorKind::P;
    double g = 2;  // P: Epu = G Ep
    // PI: Epu(k) = Epu(k-1) + q0 Ep(k) + q1 Ep(k-1).
    double q0 = kLessonQ0;
    double q1 = kLessonQ1;
    double ratio = kLessonRatio;  // r = T/T1
    bool quantised = true;
    Door door;

    bool operator==(const Parameters&) const = default;
};

// Whether the door is open during the period acquisition k starts (k from 0).
bool doorOpenAfter(const Parameters& p, int k);

// The parameters brought inside the accepted ranges, a NaN to its default,
// so that a caller who skipped the checks still gets finite signals.
Parameters sanitised(const Parameters& p);

}  // namespace t1::model
