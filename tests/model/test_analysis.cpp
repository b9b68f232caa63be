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
    for (double ratio : {kMinRatio, kLessonRatio, kMaxRatio}) {
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
        const Measures m = measure(sim.samples());
        const Theory t = theory(p);
        EXPECT_NEAR(m.overshootPercent, *t.overshootPercent, 0.01);
        EXPECT_EQ(m.settling, t.settling);
        EXPECT_NEAR(m.finalX, *t.finalX, 0.01);
    }
}

TEST(Measures, ProportionalLessonRun)
{
    const Measures m = measure(ran(proportional(100, 2), 6).samples());
    EXPECT_EQ(m.finalX, 65);
    EXPECT_EQ(m.staticError, 35);
    EXPECT_EQ(m.overshootPercent, 0);
    EXPECT_EQ(m.settling, 4);  // 64 and 65 within 3,25 of 65
    EXPECT_FALSE(measure({}).settling);
}

// From a mark on, a step down: with no cooling U sits at 0 V for four
// periods, then the negative pole takes X a little below its final value,
// which counts as overshoot in that direction.
TEST(Measures, StepDownFromAMark)
{
    Parameters p = proportional(50, 5);
    p.quantised = false;
    Simulation sim = ran(p, 5, Start::Steady);
    p.e = 20;
    sim.change(p);
    for (int k = 0; k < 20; ++k)
        sim.advance();
    const std::span<const Sample> after = std::span(sim.samples()).subspan(sim.marks().at(0).k);
    EXPECT_EQ(after[3].u, 0);
    const Measures m = measure(after);
    EXPECT_NEAR(m.finalX, 100.0 / 6, 1e-6);
    EXPECT_NEAR(m.staticError, 20 - 100.0 / 6, 1e-6);
    EXPECT_NEAR(m.overshootPercent, 0.72, 0.01);
    EXPECT_EQ(m.settling, 5);
}

TEST(Measures, OscillationNeverSettles)
{
    const Measures m = measure(ran(proportional(100, 20), 40).samples());
    EXPECT_FALSE(m.settling);
    // After the door, the time to get back to the value held before it.
    Parameters door = proportional(100, 4.55);
    door.door.periods = 1;
    const Measures back = measure(ran(door, 8, Start::Steady).samples());
    EXPECT_EQ(back.overshootPercent, 0);
    EXPECT_EQ(back.settling, 3);
}
