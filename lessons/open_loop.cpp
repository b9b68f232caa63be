// Menu item 1: the open-loop step response, used to identify the oven.
// The regulator passes E through with a gain of 1, the feedback is cut, and
// T1 is read off the S(t) plot at 63 % of the change.
#include "lessons/open_loop.h"

#include "lessons/lesson_text.h"
#include "lessons/lessons.h"
#include "lessons/scene.h"
#include "picture/figures.h"
#include "picture/oven_picture.h"
#include "picture/plot_frame.h"
#include "picture/readouts.h"

#include <array>
#include <cmath>

namespace t1 {

namespace {

// The model, in extended precision: a ceiling or a truncation of these
// products must fall on the same side as in the lesson's figures.
struct OpenLoopModel {
    long double setPoint;      // E, digital
    long double rate;          // 1/T1 = 1/30.01 per tick
    long double voltsPerUnit;  // converter N/A: 10/255 V rounded to 39 mV
    long double unitsPerVolt;  // converter A/N: 255/10
    long double risePerUnit;   // steady temperature rise per unit of E, degrees C
    long double ambient;       // degrees C
    long double tenth;         // S is rounded up to a tenth of a volt
    long double tenthsPerVolt;
    long double curveBase;     // S plot: y of S = 0
    long double curveSpan;     // pixels for the whole change of S
};
constexpr OpenLoopModel kModel{100, 0.033322225924691765L, 0.039L, 25.5L, 0.31L, 20, 0.1L, 10, 299, 100};

}  // namespace

int openLoopCurveY(int tau)
{
    const long double e = std::exp(-tau * kModel.rate);
    return static_cast<int>(std::trunc(kModel.curveBase - kModel.curveSpan * (1 - e)));
}

LoopValues openLoopValues(int n)
{
    const long double e = std::exp(-n * kModel.rate);
    LoopValues v;
    v.gE = kModel.setPoint;
    v.gTemperature = kModel.ambient + (1 - e) * (kModel.risePerUnit * v.gE);
    v.gEp = v.gE;
    v.gEpu = v.gE;
    v.gU = kModel.voltsPerUnit * v.gE;
    v.gS = kModel.tenth * std::ceil(kModel.tenthsPerVolt * (1 - e) * (kModel.voltsPerUnit * v.gE));
    v.gX = kModel.unitsPerVolt * v.gS;
    return v;
}

namespace {

// Local tick t lies at x = 140 + t on the U plot.
constexpr int kUOrigin = 140;
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

void openLoopTick(Scene& scene)
{
    AnimationState& st = scene.st;
    Surfaces& s = scene.surfaces;
    Canvas& w = s.window;
    const int n = st.gSceneTick;

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
