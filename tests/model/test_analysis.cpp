#include "model/analysis.h"
#include "loops.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace t1::model;
using namespace t1::testing;

TEST(Theory, ProportionalInClosedForm)
{
    const Theory t = theory(proportional(100, 2));
    EXPECT_NEAR(*t.finalX, 200.0 / 3, 1e-9);
    EXPECT_NEAR(*t.staticError, 100.0 / 3, 1e-9);
    EXPECT_EQ(*t.overshootPercent, 0);
    EXPECT_EQ(*t.settling, 4);  // 0,456^4 = 0,043
    const Theory negative = theory(proportional(50, 5));
    EXPECT_NEAR(*negative.overshootPercent, 8.7615, 1e-3);
    EXPECT_EQ(*negative.settling, 2);
}

TEST(Theory, DeadbeatSettlesInOnePeriod)
{
    for (double ratio : {kSampling.low, kLessonRatio, kSampling.high}) {
        const Theory t = theory(deadbeatPI(40, ratio));
        EXPECT_EQ(*t.finalX, 40);
        EXPECT_EQ(*t.staticError, 0);
        EXPECT_NEAR(*t.overshootPercent, 0, 1e-9);
        EXPECT_EQ(*t.settling, 1) << ratio;
    }
}

TEST(Theory, NothingButPolesWhenUnstable)
{
    const Theory t = theory(proportional(100, 20));
    EXPECT_FALSE(t.poles.stable);
    EXPECT_FALSE(t.finalX || t.finalS || t.staticError || t.overshootPercent || t.settling);
}

// Unquantised and never saturated, a run is the linear model: measured and
// theoretical overshoot and settling agree, under P and under PI.
TEST(Theory, AgreesWithAnUnsaturatedRun)
{
    for (Parameters p : {proportional(50, 5), pi(50, 3, -1)}) {
        p.quantised = false;
        const Simulation sim = ran(p, 100);
        for (const Sample& s : sim.samples())
            ASSERT_FALSE(s.saturated) << s.k;
        const Measures m = measureRun(sim);
        ASSERT_TRUE(m.settled);
        const Theory t = theory(p);
        EXPECT_NEAR(*m.settled->overshootPercent, *t.overshootPercent, 0.01);
        EXPECT_EQ(m.settled->settling, t.settling);
        EXPECT_NEAR(m.settled->finalX, *t.finalX, 0.01);
    }
}

TEST(Measures, ProportionalLessonRun)
{
    const Measures m = measureRun(ran(proportional(100, 2), 6));
    ASSERT_TRUE(m.settled);
    EXPECT_FALSE(m.afterChange);
    EXPECT_EQ(m.settled->finalX, 65);
    EXPECT_EQ(m.settled->staticError, 35);
    EXPECT_EQ(m.settled->overshootPercent, 0);
    EXPECT_EQ(m.settled->settling, 4);  // 64 and 65 within 3,25 of 65
    const Measures none = measure({}, Parameters{}, true);
    EXPECT_FALSE(none.settled || none.oscillation);
    EXPECT_EQ(none.count, 0u);
}

// From a mark where E changed, a step down: with no cooling U sits at 0 V
// for four periods, then the negative pole takes X a little below its final
// value, which counts as overshoot in that direction.
TEST(Measures, StepDownFromAMark)
{
    Parameters p = proportional(50, 5);
    p.quantised = false;
    Simulation sim = ran(p, 5, Start::Steady);
    p.e = 20;
    sim.change(p);
    advance(sim, 20);
    EXPECT_EQ(sim.samples()[8].u, 0);
    const Measures m = measureRun(sim);
    EXPECT_TRUE(m.afterChange && m.setPointStep);
    EXPECT_EQ(m.from, 5);
    ASSERT_TRUE(m.settled);
    EXPECT_NEAR(m.settled->finalX, 100.0 / 6, 1e-6);
    EXPECT_NEAR(m.settled->staticError, 20 - 100.0 / 6, 1e-6);
    EXPECT_NEAR(*m.settled->overshootPercent, 0.72, 0.01);
    EXPECT_EQ(m.settled->settling, 5);
    // A change of G is no set-point step: no overshoot.
    p.field(Regulator::P, kGainField) = 3;
    sim.change(p);
    advance(sim, 20);
    const Measures gain = measureRun(sim);
    EXPECT_FALSE(gain.setPointStep);
    ASSERT_TRUE(gain.settled);
    EXPECT_FALSE(gain.settled->overshootPercent);
}

// Beyond the stability limit the command bangs between the stops: the run
// oscillates, with no final value, static error or overshoot to show.
TEST(Measures, AnUnstableRunOscillates)
{
    // G = 100 goes round 100, 82, 113, 93, 122: five periods.
    const Measures m = measureRun(ran(proportional(100, 100), 40));
    EXPECT_FALSE(m.settled);
    ASSERT_TRUE(m.oscillation);
    EXPECT_EQ(m.oscillation->low, 82);
    EXPECT_EQ(m.oscillation->high, 122);
    EXPECT_EQ(m.oscillation->period, 5);
    // G = 20 wanders round 83 to 116 without repeating exactly.
    const Measures wanders = measureRun(ran(proportional(100, 20), 40));
    ASSERT_TRUE(wanders.oscillation);
    EXPECT_NEAR(wanders.oscillation->low, 84, 2);
    EXPECT_NEAR(wanders.oscillation->high, 115, 2);
    EXPECT_GE(wanders.oscillation->period, 3);
    EXPECT_LE(wanders.oscillation->period, 5);
    // A damped swing dies down: not an oscillation.
    Parameters damped = pi(100, 3, -1);
    damped.quantised = false;
    EXPECT_FALSE(measureRun(ran(damped, 40)).oscillation);
    // The quantisation's cycle of one digit is no oscillation either, and a
    // run going round it has settled, however small its step.
    const Measures cycle = measureRun(ran(proportional(100, 2), 40, Start::Steady));
    EXPECT_FALSE(cycle.oscillation);
    EXPECT_TRUE(cycle.settled);
}

TEST(Measures, NotSettledBeforeTheEndAndNoOvershootWithoutAStep)
{
    // A slow PI, its poles at 0,95 and 0,81: still creeping up after twelve
    // periods.
    Parameters slow = pi(100, 0.3, -0.25);
    slow.quantised = false;
    const Measures m = measureRun(ran(slow, 12));
    EXPECT_FALSE(m.settled || m.oscillation);
    EXPECT_EQ(m.count, 12u);

    // Under way back from the door (the run from the steady regime is no
    // step): neither settled nor an overshoot of hundreds of percent.
    Parameters door = deadbeatPI(40);
    door.door = {2, 1, kLessonDrop, kLessonDoorRatio};
    const Measures back = measureRun(ran(door, 5, Start::Steady));
    EXPECT_FALSE(back.setPointStep);
    EXPECT_FALSE(back.settled);
    // After the door, the time to get back to the value held before it.
    Parameters p = proportional(100, 4.55);
    p.door.periods = 1;
    const Measures settled = measureRun(ran(p, 8, Start::Steady));
    ASSERT_TRUE(settled.settled);
    EXPECT_FALSE(settled.settled->overshootPercent);
    EXPECT_EQ(settled.settled->settling, 3);
}

// The noise widens the band: a settled noisy run is still settled, and its
// jitter is no oscillation.
TEST(Measures, NoiseIsNeitherUnrestNorOscillation)
{
    Parameters p = proportional(100, 4.55);
    p.noise.millivolts = 40;
    const Measures m = measureRun(ran(p, 40));
    EXPECT_FALSE(m.oscillation);
    ASSERT_TRUE(m.settled);
    EXPECT_NEAR(m.settled->finalX, 82, 4);
}
