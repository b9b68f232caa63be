// Menu item 1: the open-loop step response, used to identify the oven.
// The regulator passes E through with a gain of 1, the feedback is cut, and
// T1 is read off the S(t) plot at 63 % of the change.
#include "lessons/open_loop.h"

#include "lessons/lesson_text.h"
#include "lessons/lesson_table.h"
#include "lessons/oven_constants.h"
#include "lessons/scene.h"
#include "lessons/script_arithmetic.h"
#include "lessons/shared_readouts.h"
#include "picture/figures.h"
#include "picture/oven_picture.h"
#include "picture/plot_frame.h"
#include "picture/readouts.h"

#include <array>
#include <cmath>

namespace t1 {

namespace {

// The set-point, and the S plot: S = 0 at y = 299, the whole change of S
// over 100 pixels.
struct OpenLoopModel {
    Extended setPoint;
    int curveBase;
    Extended curveSpan;
};
constexpr OpenLoopModel kModel{.setPoint = 100, .curveBase = 299, .curveSpan = 100};

}  // namespace

int openLoopCurveY(int tau)
{
    return riseY(kModel.curveBase, kModel.curveSpan, kRate30_01, tau);
}

LoopValues openLoopValues(int n)
{
    const Extended e = std::exp(-n * kRate30_01);
    LoopValues v;
    v.gE = kModel.setPoint;
    v.gTemperature = kAmbient + (1 - e) * (kRisePerUnit * v.gE);
    v.gEp = v.gE;
    v.gEpu = v.gE;
    v.gU = kVoltsPerUnit * v.gE;
    v.gS = roundUpToTenth((1 - e) * (kVoltsPerUnit * v.gE));
    v.gX = kUnitsPerVolt * v.gS;
    return v;
}

namespace {

constexpr int kUOrigin = kLeftPlotOrigin;
// The command steps from 0 to 3,9 V at t = 0 and holds.
constexpr std::array kUStep{Segment{130, 300, 140, 300}, Segment{140, 300, 140, 200}};
constexpr int kULevelY = 200;

void drawCommand(Canvas& w, int n)
{
    w.setPenColour(colour::maroon);
    w.setPenWidth(1);
    drawSegments(w, kUStep);
    w.line(kUOrigin + n - 1, kULevelY, kUOrigin + n, kULevelY);
}

// S(t) starts one pixel right of the axis; each tick adds the segment that
// ends tau = n - 1 ticks after the step.
constexpr int kSCurveStart = 491;
constexpr Segment kSStub{480, 300, 490, 300};
// T1 read at 63 % of the change (y = 299 - 63): the curve turns navy there.
constexpr int kT1From = 30;
constexpr std::array kT1Construction{Segment{520, 300, 520, 236}, Segment{490, 236, 520, 236}};
constexpr std::array kT1Labels{Label{525, 285, u"T1"}, Label{465, 236, u"63%"}};

void drawResponseSegment(Canvas& w, int n)
{
    const int from = n - 2;
    const int to = n - 1;
    w.line(kSCurveStart + from, openLoopCurveY(from), kSCurveStart + to, openLoopCurveY(to));
}

void drawResponse(Canvas& w, int n)
{
    if (n < kT1From) {
        w.setPenColour(colour::red);
        w.line(kSStub.x1, kSStub.y1, kSStub.x2, kSStub.y2);
        drawResponseSegment(w, n);
        return;
    }
    w.setPenColour(colour::purple);
    drawSegments(w, kT1Construction);
    w.setPenColour(colour::navy);
    drawResponseSegment(w, n);
    printLabels(w, kT1Labels);
}

constexpr std::array kMethod{
    Label{100, 320, u"Le gain du régulateur proportionnel est choisi à G=1"},
    Label{100, 340, u"Donc : E=Ep=Epu  et U=Epu*(10/255)=3,9V (constante)"},
    Label{100, 360, u"Le résultat est indépendant de la période d'échantillonnage,"},
    Label{100, 380, u"car la valeur calculée (Epu) reste constante à chaque échantillon."},
    Label{100, 400, u"Attention : pour cette mesure, Epu et U ne doivent pas saturer."},
};
constexpr std::array kConclusion{
    Label{480, 320, u"On vérifie expérimentalement que la réponse indicielle "},
    Label{480, 340, u"en température est de type passe-bas d'ordre 1. La fonction"},
    Label{480, 360, u"de transfert : S/U = 1/1+T1p avec T1 mesuré à 63%"},
    Label{480, 380, u"de la variation."},
    Label{480, 400, u"ATTENTION : la commande permet de chauffer, pas de refroidir..."},
    Label{480, 420, u"Ce modèle n'est donc valable que tant que X<E, sinon, il faut"},
    Label{480, 440, u"compter sur le refroidissement naturel."},
};
constexpr std::array kTexts{
    TextBlock{2, kMethod},
    TextBlock{201, kConclusion},
};

}  // namespace

void openLoopTick(Scene& scene, int n)
{
    AnimationState& st = scene.st;
    Surfaces& s = scene.surfaces;
    Canvas& w = s.window;

    drawOven(s, heatingOven(n));
    drawPlotFrame(w);
    drawCommand(w, n);
    drawResponse(w, n);
    static_cast<LoopValues&>(st) = openLoopValues(n);
    drawRegulatorLabel(w, kOpenLoopRegulator);
    drawReadouts(w, st, kOpenLoopReadout);
    drawPlotTitles(w, LeftTitle::CommandU);
    drawTemperatureCaption(s.fond, st.gTemperature);
    printBlocks(w, kTexts, n);
}

}  // namespace t1
