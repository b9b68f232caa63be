#pragma once

#include "lessons/lesson_text.h"
#include "lessons/script_arithmetic.h"
#include "lessons/shared_readouts.h"
#include "picture/colours.h"
#include "picture/figures.h"
#include "picture/plot_frame.h"
#include "picture/readouts.h"

#include <QRgb>

#include <array>
#include <span>

namespace t1 {

struct Scene;

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
    std::span<const Segment> uFigures = {};
    int uLevel;
    std::span<const Label> uLabels = {};
    // S(t): stubs redrawn on every tick, then one piece from x = t + 489 to
    // t + 490. With `sRising` the piece runs from sY(t - sOffset - 1) to
    // sY(t - sOffset); without, it is flat at sY(t - sOffset).
    std::span<const Segment> sFigures = {};
    int (*sY)(int tau);
    int sOffset = 0;
    bool sRising = false;
};

// The loop's values on every tick of one sampling period. S follows the
// period's formula of the tick; the temperature is 8 S + 20.
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

// What happens to the oven: its step on every tick (doors included for the
// disturbance lessons) and the colour its curves are drawn in.
struct OvenStory {
    void (*oven)(Scene& scene, int t);
    QRgb (*curveColour)(int t);
};

// "T" and "2T" under both plots, where three of the four lessons print them.
inline constexpr PeriodLabels kPeriodLabels{
    Label{175, 280, u"T"}, Label{210, 280, u"2T"}, Label{525, 280, u"T"}, Label{560, 280, u"2T"}};

// The regulator as the diagram shows it: its label and, under PI control,
// the recurrence under it.
struct RegulatorShown {
    RegulatorLabel label;
    bool recurrenceBox = false;
};
inline constexpr RegulatorShown kPI{.label = kPIRegulator, .recurrenceBox = true};

struct ClosedLoopScript {
    const OvenStory* story;
    const PeriodLabels* periodLabels = &kPeriodLabels;
    // Value labels printed on every tick, before the curves.
    std::span<const Label> everyTickLabels = {};
    std::span<const CurvePeriod> curves;
    std::span<const ValuePeriod> values;
    const RegulatorShown* regulator;
    const ReadoutBoxes* readout = &kClosedLoopReadout;
    std::span<const TextBlock> texts;
};

// The texts about the sampling period that three of the lessons share, and
// the rules under each period's first line of text.
inline constexpr std::array kSamplingPeriodTexts{
    Label{300, 180, u"La période d'échantillonnage"},
    Label{300, 200, u"choisie est : T=(T1/5)"},
};
inline constexpr std::array kFirstPeriodRule{TextMarker{0x00FFFF, 10, 338, 95, 338}};
inline constexpr std::array kSecondPeriodRule{TextMarker{0xFF00FF, 10, 378, 95, 378}};
inline constexpr std::array kThirdPeriodRule{TextMarker{0x800080, 10, 418, 95, 418}};

// "Commentaires" appears from this local tick on (the fourth period).
inline constexpr int kCommentFromTick = 151;

// The lesson row's tick is closedLoopLesson<its script> (lessons/lesson_table.h).
void closedLoopTick(Scene& scene, const ClosedLoopScript& script, int t);

// The oven of the two heating lessons: inside, fan and curves in the heat colour of t.
void heatingOvenStep(Scene& scene, int t);
inline constexpr OvenStory kHeating{.oven = heatingOvenStep, .curveColour = heatColour};

}  // namespace t1
