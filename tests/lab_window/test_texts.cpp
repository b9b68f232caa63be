#include "lab_window/measures_text.h"
#include "lab_window/plot_scale.h"
#include "model/analysis.h"
#include "model/simulation.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace t1;

namespace {

model::Simulation ranFor(int periods, double ratio, double t1Seconds = model::kTimeConstant.fallback)
{
    model::Parameters p;
    p.ratio = ratio;
    p.oven.t1Seconds = t1Seconds;
    model::Simulation run(p);
    for (int k = 0; k < periods; ++k)
        run.advance();
    return run;
}

}  // namespace

// Runs with different periods share one time axis, spanning the current
// run's shown periods with their own durations.
TEST(PlotScale, RunsShareATimeAxisInT1OrInSeconds)
{
    const model::Simulation current = ranFor(4, 0.2);  // 10 periods of T1/5: 2 T1
    const PlotScale scale(current, 10, TimeUnit::Periods);
    EXPECT_DOUBLE_EQ(scale.span(), 2);
    const int width = kSPlot.right - kSPlot.left;
    for (int k = 0; k <= 10; ++k)  // samples made and still to come alike
        EXPECT_EQ(scale.x(kSPlot, current, k), kSPlot.left + k * width / 10) << k;
    EXPECT_EQ(scale.x(kUPlot, current, 0), kUPlot.left);
    // A run of T1/2 reaches 1 T1, the middle of the axis, at its second
    // acquisition; one of 2 T1 leaves the axis after one period.
    const model::Simulation half = ranFor(3, 0.5);
    EXPECT_EQ(scale.x(kSPlot, half, 2), kSPlot.left + width / 2);
    EXPECT_DOUBLE_EQ(runPeriods(half, scale.timeAt(kSPlot, kSPlot.left + width / 2), TimeUnit::Periods), 2);
    EXPECT_GT(scale.x(kSPlot, ranFor(2, 2), 2), kSPlot.right);
    // In seconds, with another T1, the same run lands elsewhere.
    const model::Simulation slow = ranFor(3, 0.5, 200);
    EXPECT_DOUBLE_EQ(axisTime(slow, 2.5, TimeUnit::Seconds), 250);
    EXPECT_DOUBLE_EQ(runPeriods(slow, 250, TimeUnit::Seconds), 2.5);
    EXPECT_DOUBLE_EQ(PlotScale(current, 10, TimeUnit::Seconds).span(), 200);

    // A change of T acts on the periods after it, and on the span.
    model::Simulation changed = ranFor(3, 0.2);
    model::Parameters p = changed.parameters();
    p.ratio = 0.5;
    changed.change(p);
    const PlotScale longer(changed, 10, TimeUnit::Periods);
    EXPECT_DOUBLE_EQ(longer.acquisitionTime(3), 0.6);
    EXPECT_DOUBLE_EQ(longer.acquisitionTime(5), 1.6);
    EXPECT_DOUBLE_EQ(longer.span(), 0.6 + 7 * 0.5);
    EXPECT_FALSE(longer == PlotScale(ranFor(3, 0.2), 10, TimeUnit::Periods));

    // Volts: out of range and NaN land on the bounds, never off the plot.
    EXPECT_EQ(PlotScale::y(0), kPlotBaseline);
    EXPECT_EQ(PlotScale::y(10), kPlotBaseline - 10 * kPixelsPerVolt);
    EXPECT_EQ(PlotScale::y(1e300), PlotScale::y(kHighestVolts));
    EXPECT_EQ(PlotScale::y(-5), kPlotBaseline);
    const int nan = PlotScale::y(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(nan == PlotScale::y(kLowestVolts) || nan == PlotScale::y(kHighestVolts));
    for (double t : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -1e300})
        EXPECT_TRUE(std::abs(scale.x(kSPlot, t) - kSPlot.left) <= 2 * width) << t;

    EXPECT_EQ(PlotScale::areaAt(kSPlot.left + 3, 300), kSPlot);
    EXPECT_EQ(PlotScale::areaAt(kUPlot.right + 3, 300), kUPlot);
    EXPECT_FALSE(PlotScale::areaAt(kUPlot.left + 3, kPlotsBottom + 5));
    EXPECT_FALSE(PlotScale::areaAt((kUPlot.right + kSPlot.left) / 2, 300));
}

TEST(MeasuresText, TheoryBesideTheMeasuredAndNoneWhereThereIsNone)
{
    model::Parameters p;
    p.quantised = false;
    model::Simulation run(p);
    const model::Theory theory = model::theory(p);
    EXPECT_EQ(measuresText(run, theory).count(QStringLiteral("—")), 5);  // nothing measured yet
    for (int k = 0; k < 30; ++k)
        run.advance();
    const QString text = measuresText(run, theory);
    EXPECT_TRUE(text.contains(QStringLiteral("33,33"))) << text.toStdString();  // E/(1+G)
    EXPECT_TRUE(text.contains(QStringLiteral("depuis le départ")));
    // After a change the step no longer starts cold: no predicted overshoot or settling.
    p.field(model::Regulator::P, model::kGainField) = 4;
    run.change(p);
    // Until the next acquisition the change has not acted: the run is measured whole.
    EXPECT_TRUE(measuresText(run, theory).contains(QStringLiteral("depuis le départ")));
    EXPECT_TRUE(measuresText(run, theory).contains(QStringLiteral("33,33")));
    run.advance();
    const QString after = measuresText(run, model::theory(p));
    EXPECT_TRUE(after.contains(QStringLiteral("depuis 30T (changement)")));
    EXPECT_TRUE(after.contains(QStringLiteral("20")));
    EXPECT_GE(after.count(QStringLiteral("—")), 2);
}

TEST(MeasuresText, PolesSayStableUnstableAndCancelled)
{
    model::Parameters p;
    EXPECT_EQ(polesLine(model::closedLoopPoles(p)), QStringLiteral("z = 0,456"));
    EXPECT_TRUE(polesText(model::closedLoopPoles(p)).contains(QStringLiteral("Boucle stable")));
    p.field(model::Regulator::P, model::kGainField) = 20;
    EXPECT_TRUE(polesText(model::closedLoopPoles(p)).contains(QStringLiteral("Boucle instable")));
    p.regulator = model::Regulator::PI;
    EXPECT_TRUE(polesText(model::closedLoopPoles(p)).contains(QStringLiteral("compensé par le zéro")));
    p.field(model::Regulator::PI, model::kQ0Field) = 2;
    p.field(model::Regulator::PI, model::kQ1Field) = -0.5;
    EXPECT_TRUE(polesLine(model::closedLoopPoles(p)).contains(QStringLiteral("± ")));
    // A delay of three T1 closes the loop on seventeen poles: the slowest
    // are listed, then how many more.
    p.regulator = model::Regulator::P;
    p.oven.delay = 3;
    const QString many = polesText(model::closedLoopPoles(p));
    EXPECT_TRUE(many.contains(QStringLiteral("et "))) << many.toStdString();
    EXPECT_EQ(many.count(QStringLiteral("z = ")), 4);
    // The manual command leaves the loop open: the oven's own poles.
    p.regulator = model::Regulator::Manual;
    EXPECT_TRUE(polesText(model::closedLoopPoles(p)).contains(QStringLiteral("boucle ouverte")));
}

// An unstable run's measures say it oscillates, not a final value; a run
// still on its way says so.
TEST(MeasuresText, OscillatingAndNotYetSettled)
{
    model::Parameters p;
    p.field(model::Regulator::P, model::kGainField) = 100;
    model::Simulation run(p);
    for (int k = 0; k < 40; ++k)
        run.advance();
    const QString text = measuresText(run, model::theory(p));
    EXPECT_TRUE(text.contains(QStringLiteral("\nOscillation entretenue\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("X final : mesuré —")));
    EXPECT_TRUE(text.contains(QStringLiteral("Amplitude X : mesuré ± ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Période : mesuré ")));
    EXPECT_FALSE(text.contains(QStringLiteral("%")));
    model::Simulation slow(p = {});
    slow.advance();
    slow.advance();
    EXPECT_TRUE(measuresText(slow, model::theory(p)).contains(QStringLiteral("\nPas encore établi\n")));
}

// A run the door disturbed has no overshoot, settled or not; a step of E
// has one. Durations read in periods or in seconds.
TEST(MeasuresText, OvershootOnlyOnASetPointStep)
{
    model::Parameters p;
    p.regulator = model::Regulator::PI;  // the deadbeat coefficients for T1/5
    p.door = {3, 2, model::kLessonDrop, model::kLessonDoorRatio};
    model::Simulation run(p, model::Start::Steady);
    const auto advance = [&run](int n) {
        for (int k = 0; k < n; ++k)
            run.advance();
    };
    advance(4);  // the door open since 2T
    const QString open = measuresText(run, model::theory(p));
    EXPECT_TRUE(open.contains(QStringLiteral("\nPas encore établi\n"))) << open.toStdString();
    EXPECT_TRUE(open.contains(QStringLiteral("Dépassement : mesuré —, théorie —")));
    advance(26);
    const QString recovered = measuresText(run, model::theory(p));
    EXPECT_TRUE(recovered.contains(QStringLiteral("\nÉtabli\n"))) << recovered.toStdString();
    EXPECT_TRUE(recovered.contains(QStringLiteral("Dépassement : mesuré —")));
    EXPECT_FALSE(recovered.contains(QStringLiteral("%,")));

    p.e = 150;
    run.change(p);
    advance(30);
    const QString step = measuresText(run, model::theory(p));
    EXPECT_TRUE(step.contains(QStringLiteral("Mesures depuis 30T (changement)\nÉtabli\n"))) << step.toStdString();
    EXPECT_TRUE(step.contains(QRegularExpression(QStringLiteral("Dépassement : mesuré [0-9,]+ %"))));
    const QString seconds = measuresText(run, model::theory(p), TimeUnit::Seconds);
    EXPECT_TRUE(seconds.contains(QStringLiteral("Mesures depuis 600 s (changement)"))) << seconds.toStdString();
    EXPECT_TRUE(seconds.contains(QRegularExpression(QStringLiteral("Réponse à 5 % : mesuré [0-9,]+ s"))));
}
