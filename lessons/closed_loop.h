#pragma once

#include "lessons/lesson_text.h"
#include "picture/figures.h"
#include "picture/plot_frame.h"
#include "picture/readouts.h"

#include <QRgb>

#include <array>
#include <cmath>
#include <span>

namespace t1 {

struct Scene;
struct LoopValues;

// The four sampled closed-loop lessons draw the same tick: the oven, the
// frame with its period marks and the closed feedback branch, the period
// labels, the curves of the current sampling period, that period's values,
// the regulator label, the readouts, the titles and texts, and from the
// fourth period on the commentary button. A lesson is the data below.

// The curves of one sampling period, drawn one tick at a time.
struct CurvePeriod {
    int first;  // local ticks, both included
    int last;
    // U(t): stubs and edges redrawn on every tick of the period, then the
    // level piece (t + 139, level)-(t + 140, level), then the value labels.
    std::span<const Segment> uFigures;
    int uLevel;
    std::span<const Label> uLabels;
    // S(t): stubs redrawn on every tick, then one piece from x = t + 489 to
    // t + 490. With `sRising` the piece runs from sY(t - sOffset - 1) to
    // sY(t - sOffset); without, it is flat at sY(t - sOffset).
    std::span<const Segment> sFigures;
    int (*sY)(int tau);
    int sOffset;
    bool sRising;
};

// The loop's values on every tick of one sampling period. S follows the
// script's formula of the tick; the temperature is 8 S + 20.
struct ValuePeriod {
    int first;
    int last;
    double e;
    double x;
    double ep;
    double epu;
    double u;
    double (*s)(int t);
};

struct ClosedLoopScript {
    // The oven step, doors included for the disturbance lessons.
    void (*oven)(Scene& scene, int t);
    const PeriodLabels* periodLabels;
    // Value labels printed on every tick, before the curves.
    std::span<const Label> everyTickLabels;
    QRgb (*curveColour)(int t);
    std::span<const CurvePeriod> curves;
    std::span<const ValuePeriod> values;
    const RegulatorLabel* regulator;
    // The PI lessons show their recurrence under the regulator.
    bool recurrenceBox;
    const ReadoutBoxes* readout;
    std::span<const TextBlock> texts;
};

// The rules under each period's first line of text, and the texts about the
// sampling period that three of the lessons share.
inline constexpr std::array kFirstPeriodRule{TextMarker{0x00FFFF, 10, 338, 95, 338}};
inline constexpr std::array kSecondPeriodRule{TextMarker{0xFF00FF, 10, 378, 95, 378}};
inline constexpr std::array kThirdPeriodRule{TextMarker{0x800080, 10, 418, 95, 418}};
inline constexpr std::array kSamplingPeriodTexts{
    Label{300, 180, u"La période d'échantillonnage"},
    Label{300, 200, u"choisie est : T=(T1/5)"},
};

// "Commentaires" appears from this local tick on (the fourth period).
inline constexpr int kCommentFromTick = 151;

void closedLoopTick(Scene& scene, const ClosedLoopScript& script, int t);

// The disturbance lessons draw their curves in red.
QRgb redCurve(int t);

// The oven of the two heating lessons: inside and fan in the heat colour of t.
void heatingOvenStep(Scene& scene, int t);

// Writes the period's values for tick t; false when no period holds t
// (the last tick, 240, keeps the values of 239).
bool applyValues(LoopValues& values, std::span<const ValuePeriod> periods, int t);

// The scripts' arithmetic, carried in 80-bit extended precision like the
// scripts were, so that a rounding up to the next tenth never falls on the
// other side of a boundary.
using Extended = long double;

// The oven's time constants in ticks, as the scripts use them: reciprocal
// rates per tick (T1 = 200 ticks heating, about 103 ticks with the door open).
inline constexpr Extended kRate200_2 = 1.0L / 200.2L;
inline constexpr Extended kRate200_1 = 1.0L / 200.1L;
inline constexpr Extended kRate200_01 = 1.0L / 200.01L;
inline constexpr Extended kRate103_1 = 1.0L / 103.1L;
inline constexpr Extended kRate103_01 = 1.0L / 103.01L;

// A voltage rounded up to the next tenth, or hundredth, of a volt.
inline double roundUpToTenth(Extended volts)
{
    return static_cast<double>(0.1L * std::ceil(10.0L * volts));
}

inline double roundUpToHundredth(Extended volts)
{
    return static_cast<double>(0.01L * std::ceil(100.0L * volts));
}

// A first-order approach: from + amplitude * (1 - exp(-tau * rate)).
inline Extended approach(Extended from, Extended amplitude, Extended rate, int tau)
{
    return from + amplitude * (1.0L - std::exp(-tau * rate));
}

// trunc(base - amplitude * (1 - exp(-tau * rate))): a first-order rise on screen.
inline int riseY(Extended base, Extended amplitude, Extended rate, int tau)
{
    return static_cast<int>(base - amplitude * (1.0L - std::exp(-tau * rate)));
}

}  // namespace t1
