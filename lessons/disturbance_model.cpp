// Menu item 4: the model of a disturbance. With the loop open, the oven's
// door is opened for one sampling period; the temperature drops by about
// 10 degrees C and creeps back only slowly, as the command does not change.
#include "lessons/disturbance_model.h"

#include "lessons/lesson_text.h"
#include "lessons/lesson_table.h"
#include "lessons/oven_constants.h"
#include "lessons/scene.h"
#include "lessons/script_arithmetic.h"
#include "lessons/shared_readouts.h"
#include "picture/figures.h"
#include "picture/oven_door.h"
#include "picture/oven_picture.h"
#include "picture/plot_frame.h"
#include "picture/readouts.h"

#include <array>
#include <cmath>

namespace t1 {

namespace {

// The door opens at kT and closes at (k+1)T, one sampling period later.
constexpr int kOpensAt = 100;
constexpr int kClosesAt = 140;

// The oven at its steady state for E = 100 (51 degrees C, S = 3,9 V); while
// the door is open it cools toward 20 degrees C, after it closes it creeps
// back toward 51.
struct DisturbanceModel {
    Extended setPoint;
    Extended steadyTemperature;
    double steadyS;
    Extended dropStart;  // volts: where the drop formula starts, not 3.9
    Extended missing;    // the part of the swing still missing when the door closes
};
constexpr DisturbanceModel kModel{
    .setPoint = 100,
    .steadyTemperature = 51,
    .steadyS = 3.9,
    .dropStart = 3.8L,
    .missing = 0.32L,
};

// S plot: the steady level at y = 200, 16 pixels lower after the drop of 10 degrees C.
struct DisturbanceCurve {
    int steadyY;
    Extended dropSpan;
    int lowestY;
    Extended recoverySpan;
};
constexpr DisturbanceCurve kCurve{.steadyY = 200, .dropSpan = 50, .lowestY = 216, .recoverySpan = 16};

bool doorOpen(int d)
{
    return kOpensAt < d && d < kClosesAt;
}

}  // namespace

int disturbDropY(int d)
{
    const Extended e = std::exp(-(d - kOpensAt) * kDecimalRate103_01);
    return static_cast<int>(std::trunc(kCurve.dropSpan - kCurve.dropSpan * e + kCurve.steadyY));
}

int disturbRecoveryY(int d)
{
    const Extended e = std::exp(-(d - kClosesAt) * kDecimalRate200_01);
    return static_cast<int>(std::trunc(kCurve.lowestY - (kCurve.recoverySpan - kCurve.recoverySpan * e)));
}

int disturbModelCurveY(int d)
{
    if (d <= kOpensAt)
        return kCurve.steadyY;
    if (d <= kClosesAt)
        return disturbDropY(d);
    return disturbRecoveryY(d);
}

// At (k+1)T the values already follow the recovery while the curve still
// shows the end of the drop.
LoopValues disturbModelValues(int d)
{
    LoopValues v;
    v.gE = kModel.setPoint;
    const Extended swing = kRisePerUnit * v.gE;
    const Extended voltsSwing = kVoltsPerUnit * v.gE;
    if (d <= kOpensAt) {
        v.gTemperature = kModel.steadyTemperature;
        v.gS = kModel.steadyS;
    } else if (d < kClosesAt) {
        const Extended e1 = std::exp(-(d - kOpensAt) * kDecimalRate103_01);
        v.gTemperature = kModel.steadyTemperature - (1 - e1) * swing;
        v.gS = roundUpToTenth(kModel.dropStart - (1 - e1) * voltsSwing);
    } else {
        const Extended e2 = std::exp(-(d - kClosesAt) * kDecimalRate200_01);
        v.gTemperature = kAmbient + (1 - kModel.missing * e2) * swing;
        v.gS = roundUpToTenth((1 - kModel.missing * e2) * voltsSwing);
    }
    v.gEp = v.gE;
    v.gEpu = v.gE;
    v.gU = kVoltsPerUnit * v.gE;
    v.gX = kUnitsPerVolt * v.gS;
    return v;
}

namespace {

// The oven: red and still but for its fan. The door is shut before kT, open
// under the oven between kT and (k+1)T, and shut again after (k+1)T; on the
// ticks kT and (k+1)T themselves it is drawn neither way.
constexpr int kSecondLeakAfter = 120;

void drawOvenAndDoor(Surfaces& s, int d)
{
    Canvas& w = s.window;
    if (d == kFirstDrawnTick)
        wipeUnderOven(w);
    OvenHooks hooks;
    if (d < kOpensAt)
        hooks.afterFill = kClosedDoor;
    if (d > kClosesAt)
        hooks.afterLast = kClosedDoor;
    drawOven(s, hotOven(d, false), hooks);

    if (doorOpen(d)) {
        moveLeakStrokes(w, LeakGroup::First, d);
        if (d > kSecondLeakAfter)
            moveLeakStrokes(w, LeakGroup::Second, d);
        drawOpenDoor(w);
    }
    if (d > kClosesAt)
        wipeUnderOven(w);
}

// Q(t) on the left plot, a pulse while the door is open; S(t) on the right.
constexpr int kQOrigin = kLeftPlotOrigin;
constexpr int kSOrigin = kRightPlotOrigin;
constexpr int kQBaseY = 300;
constexpr int kQTopY = 250;
constexpr Segment kRisingEdge{240, 300, 240, 250};
constexpr Segment kFallingEdge{279, 250, 279, 300};
constexpr int kCurveWidth = 2;

void drawCurves(Canvas& w, int d)
{
    w.setPenColour(colour::red);
    w.setPenWidth(kCurveWidth);
    if (d == kOpensAt) {
        w.line(kRisingEdge.x1, kRisingEdge.y1, kRisingEdge.x2, kRisingEdge.y2);
    } else if (d == kClosesAt) {
        w.line(kFallingEdge.x1, kFallingEdge.y1, kFallingEdge.x2, kFallingEdge.y2);
    } else {
        const int q = doorOpen(d) ? kQTopY : kQBaseY;
        w.line(kQOrigin + d - 1, q, kQOrigin + d, q);
    }
    const int y = disturbModelCurveY(d);
    w.line(kSOrigin + d - 1, y, kSOrigin + d, y);
}

// The instants of the opening on both plots, and the drop they frame.
constexpr std::array kOpeningLabels{Label{220, 285, u"kT"}, Label{585, 285, u"kT"}};
constexpr Segment kOpeningGuide{590, 200, 590, 280};
constexpr std::array kClosingLabels{Label{285, 285, u"(k+1)T"}, Label{620, 285, u"(k+1)T"}, Label{635, 180, u"10°C"}};
constexpr std::array kDropGuides{Segment{590, 200, 650, 200}, Segment{630, 216, 630, 280}};
constexpr std::array kDropArrow{
    Segment{630, 200, 630, 216},
    Segment{625, 205, 630, 200}, Segment{635, 205, 630, 200},  // head at the steady level
    Segment{625, 211, 630, 216}, Segment{635, 211, 630, 216},  // head at the lowest point
};

void drawInstants(Canvas& w, int d)
{
    if (d <= kOpensAt)
        return;
    printLabels(w, kOpeningLabels);
    w.setPenColour(colour::blue);
    w.setPenWidth(1);
    w.setPenStyle(PenStyle::Dot);
    w.line(kOpeningGuide.x1, kOpeningGuide.y1, kOpeningGuide.x2, kOpeningGuide.y2);
    w.setPenStyle(PenStyle::Solid);
    if (d <= kClosesAt)
        return;
    printLabels(w, kClosingLabels);
    w.setPenStyle(PenStyle::Dot);
    drawSegments(w, kDropGuides);
    w.setPenStyle(PenStyle::Solid);
    drawSegments(w, kDropArrow);
}

constexpr std::array kSetting{
    Label{40, 320, u"La consigne est maintenue constante. La porte du four, normalement fermée,"},
    Label{40, 340, u" est ouverte fugitivement pendant une durée égale à une période  d'échantillonnage"},
    Label{40, 360, u"(entre les instants kT et (k+1)T). "},
};
constexpr std::array kEffect{
    Label{480, 320, u"On suppose qu'il en résulte une diminutionde température,"},
    Label{480, 340, u" pendant cette durée, de 10°C. Au-delà, le four retrouve"},
    Label{480, 360, u"sa température initiale, mais après une durée"},
    Label{480, 380, u"assez importante, car la commande n'est pas modifiée."},
    Label{480, 400, u"La boucle fermée doit permettre de retrouver plus rapidement"},
    Label{480, 420, u"la température initiale."},
};
constexpr std::array kTexts{
    TextBlock{kFirstDrawnTick, kSetting},
    TextBlock{kOpensAt + 1, kEffect},
};

}  // namespace

void disturbModelTick(Scene& scene, int d)
{
    AnimationState& st = scene.st;
    Surfaces& s = scene.surfaces;
    Canvas& w = s.window;

    drawOvenAndDoor(s, d);
    drawPlotFrame(w);
    drawCurves(w, d);
    static_cast<LoopValues&>(st) = disturbModelValues(d);
    drawRegulatorLabel(w, kOpenLoopRegulator);
    drawReadouts(w, st, kOpenLoopReadout);
    drawPlotTitles(w, LeftTitle::DisturbanceQ);
    drawInstants(w, d);
    drawTemperatureCaption(s.fond, st.gTemperature);
    printBlocks(w, kTexts, d);
}

}  // namespace t1
