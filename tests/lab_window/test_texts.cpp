#include "lab_window/measures_text.h"
#include "lab_window/plot_scale.h"
#include "model/analysis.h"
#include "model/simulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace t1;

TEST(PlotScale, PeriodsToPixelsAndBack)
{
    const PlotScale six(6);
    EXPECT_EQ(six.x(kUPlot, 0), kUPlot.left);
    EXPECT_EQ(six.x(kSPlot, 6), kSPlot.right);
    EXPECT_EQ(six.x(kSPlot, 3), kSPlot.left + (kSPlot.right - kSPlot.left) / 2);
    EXPECT_EQ(PlotScale::y(0), kPlotBaseline);
    EXPECT_EQ(PlotScale::y(10), kPlotBaseline - 10 * kPixelsPerVolt);
    // Out of range and NaN land on the bounds, never off the plot.
    EXPECT_EQ(PlotScale::y(1e300), PlotScale::y(kHighestVolts));
    EXPECT_EQ(PlotScale::y(-5), PlotScale::y(kLowestVolts));
    const int nan = PlotScale::y(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(nan == PlotScale::y(kLowestVolts) || nan == PlotScale::y(kHighestVolts));

    const PlotScale forty(40);
    EXPECT_EQ(forty.sampleNear(forty.x(kSPlot, 12), 300, 41), 12);
    EXPECT_EQ(forty.sampleNear(forty.x(kUPlot, 12) + 3, 300, 41), 12);
    EXPECT_EQ(forty.sampleNear(forty.x(kUPlot, 30), 300, 5), 4);  // no further than acquired
    EXPECT_FALSE(forty.sampleNear(forty.x(kUPlot, 12), kPlotsBottom + 5, 41));
    EXPECT_FALSE(forty.sampleNear((kUPlot.right + kSPlot.left) / 2, 300, 41));
    EXPECT_FALSE(forty.sampleNear(kSPlot.left, 300, 0));
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
    EXPECT_TRUE(text.contains(QStringLiteral("X final : mesuré oscille"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Amplitude : mesuré ± ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Période : mesuré ")));
    EXPECT_FALSE(text.contains(QStringLiteral("%")));
    model::Simulation slow(p = {});
    slow.advance();
    slow.advance();
    EXPECT_TRUE(measuresText(slow, model::theory(p)).contains(QStringLiteral("X final : mesuré en cours")));
}
