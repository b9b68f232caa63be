#include "lessons/closed_loop.h"

#include "lessons/oven_constants.h"
#include "lessons/scene.h"
#include "picture/colours.h"
#include "picture/fonts.h"
#include "picture/oven_picture.h"

namespace t1 {

namespace {

constexpr int kUOrigin = kLeftPlotOrigin;
constexpr int kSOrigin = kRightPlotOrigin;

template <typename Row>
const Row* periodOf(std::span<const Row> rows, int t)
{
    for (const Row& r : rows)
        if (r.first <= t && t <= r.last)
            return &r;
    return nullptr;
}

void drawCurves(Canvas& w, const ClosedLoopScript& script, int t)
{
    const CurvePeriod* p = periodOf(script.curves, t);
    if (!p)
        return;
    w.setPenStyle(PenStyle::Solid);
    w.setPenWidth(1);
    w.setPenColour(script.story->curveColour(t));

    drawSegments(w, p->uFigures);
    w.line(kUOrigin + t - 1, p->uLevel, kUOrigin + t, p->uLevel);
    printLabels(w, p->uLabels);

    drawSegments(w, p->sFigures);
    const int tau = t - p->sOffset;
    const int from = p->sY(p->sRising ? tau - 1 : tau);
    w.line(kSOrigin + t - 1, from, kSOrigin + t, p->sY(tau));
}

// The period's values for tick t. No period holds the last tick, 240: it
// keeps the values of 239.
void applyValues(LoopValues& v, std::span<const ValuePeriod> periods, int t)
{
    const ValuePeriod* p = periodOf(periods, t);
    if (!p)
        return;
    v.gE = p->e;
    v.gX = p->x;
    v.gEp = p->ep;
    v.gEpu = p->epu;
    v.gU = p->u;
    v.gS = p->s(t);
    v.gTemperature = static_cast<double>(kDegreesPerVolt * v.gS + kAmbient);
}

}  // namespace

void heatingOvenStep(Scene& scene, int t)
{
    drawOven(scene.surfaces, heatingOven(t));
}

void closedLoopTick(Scene& scene, const ClosedLoopScript& script, int t)
{
    Canvas& w = scene.surfaces.window;
    Canvas& fond = scene.surfaces.fond;

    script.story->oven(scene, t);

    drawPlotFrame(w);
    drawPeriodMarks(w);
    drawClosedFeedback(w);
    w.setFontColour(colour::blue);
    w.setFontSize(fonts::pt7);
    drawPeriodLabels(w, *script.periodLabels);
    printLabels(w, script.everyTickLabels);

    drawCurves(w, script, t);
    applyValues(scene.st, script.values, t);

    drawRegulatorLabel(w, script.regulator->label);
    if (script.regulator->recurrenceBox)
        scene.controls->showRecurrenceBox();
    drawReadouts(w, scene.st, *script.readout);
    drawTemperatureCaption(fond, scene.st.gTemperature);
    drawPlotTitles(w, LeftTitle::CommandU);
    printBlocks(w, script.texts, t);

    if (t >= kCommentFromTick)
        scene.controls->showCommentButton();
}

}  // namespace t1
