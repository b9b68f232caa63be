// The oven's gain and pure delay: the exact run, its z-transform and the
// loop's poles, checked against numbers worked out independently.
#include "model/analysis.h"
#include "model/converters.h"
#include "model/poles.h"
#include "model/transfer.h"
#include "loops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace t1::model;
using namespace t1::testing;

namespace {

Parameters delayed(Parameters p, double delay)
{
    p.oven.delay = delay;
    return p;
}

// The oven integrated on its own, by exact steps of a thousandth of a period
// from the commands the run sent, each reaching the oven θ later, and the
// door's periods: S at each step's end, in T1 from the start.
std::vector<double> fineReference(const Simulation& run, int periods)
{
    constexpr int kSteps = 1000;
    const Parameters& p = run.parameters();
    const double h = p.ratio / kSteps;
    std::vector<double> s{run.sAt(0)};
    for (int n = 0; n < periods * kSteps; ++n) {
        const double middle = (n + 0.5) * h;
        const int sent = static_cast<int>(std::floor((middle - p.oven.delay) / p.ratio));
        const double u = sent >= 0 ? run.samples()[static_cast<std::size_t>(sent)].u : 0;
        const bool open = run.samples()[static_cast<std::size_t>(n / kSteps)].doorOpen;
        const double target = p.oven.gain * u - (open ? p.door.drop : 0);
        const double rate = open ? 1 / p.door.ratio : 1;
        s.push_back(std::fmax(0.0, target + (s.back() - target) * std::exp(-rate * h)));
    }
    return s;
}

}  // namespace

// Independently: 8-bit, E = 100, T = T1/5, from 0 V, K = 1, P with G = 2.
// One period of delay holds X at 0 a period longer and overshoots.
TEST(Delay, OnePeriodOvershootsUnderP)
{
    const std::vector<Sample> s = ran(delayed(proportional(100, 2), kLessonRatio), 10).samples();
    const double x[] = {0, 0, 36, 66, 77, 76, 70, 66, 65, 66};
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(s[k].x, x[k]) << k;
    const std::vector<Sample> none = ran(proportional(100, 2), 10).samples();
    for (const Sample& m : none)
        EXPECT_LE(m.x, 67) << m.k;

    const Poles poles = closedLoopPoles(delayed(proportional(100, 2), kLessonRatio));
    ASSERT_EQ(poles.poles.size(), 2u);
    for (const Pole& p : poles.poles) {
        EXPECT_NEAR(p.z.real(), 0.409, 5e-4);
        EXPECT_NEAR(std::abs(p.z.imag()), 0.442, 5e-4);
        EXPECT_NEAR(std::abs(p.z), 0.602, 5e-4);
    }
    EXPECT_TRUE(poles.stable);
    EXPECT_TRUE(poles.zeros.empty());
}

// The limit of G falls from (1 + a)/(1 - a) = 10,03 to 1/(1 - a) = 5,52;
// under it the loop is stable, over it not.
TEST(Delay, StabilityLimitOfTheGain)
{
    const double a = std::exp(-kLessonRatio);
    for (const auto& [delay, limit] : {std::pair{0.0, (1 + a) / (1 - a)}, std::pair{kLessonRatio, 1 / (1 - a)}}) {
        const Parameters p = delayed(proportional(100, 2), delay);
        const std::optional<double> factor = stabilityLimit(p);
        ASSERT_TRUE(factor) << delay;
        EXPECT_NEAR(2 * *factor, limit, 1e-12) << delay;
        EXPECT_TRUE(closedLoopPoles(delayed(proportional(100, 0.99 * limit), delay)).stable);
        EXPECT_FALSE(closedLoopPoles(delayed(proportional(100, 1.01 * limit), delay)).stable);
        // Beyond the limit, the limit is the same factor of the gain in force.
        EXPECT_NEAR(20 * *stabilityLimit(delayed(proportional(100, 20), delay)), limit, 1e-12);
    }
    EXPECT_FALSE(stabilityLimit(proportional(100, 0)));  // no feedback
    Parameters manual;
    manual.regulator = Regulator::Manual;
    EXPECT_FALSE(stabilityLimit(manual));
}

// G(z) = (b1 z + b2)/(z^(d+1) (z - a)): the linear loop it predicts is the
// simulation's, unquantised and unsaturated, with a fraction of a period,
// several whole ones, a gain and every integrating kind.
TEST(Delay, TheZTransformIsTheSimulation)
{
    Parameters pid;
    pid.regulator = Regulator::PID;
    pid.fields[static_cast<std::size_t>(Regulator::PID)] = {0.8, 1.5, 0.05};
    for (Parameters p : {delayed(pi(30, 0.8, -0.7), 0.37), delayed(proportional(30, 0.8), 0.6), delayed(pid, 0.13)}) {
        p.e = 30;
        p.quantised = false;
        p.oven.gain = 1.7;
        const Simulation sim = ran(p, 60);
        const std::vector<double> linear = linearStep(p, 59);
        for (int k = 0; k < 60; ++k) {
            ASSERT_FALSE(sim.samples()[k].saturated) << k;
            EXPECT_NEAR(sim.samples()[k].x, linear[k], 1e-9) << k;
        }
        const Theory t = theory(p);
        ASSERT_TRUE(t.finalX);
        EXPECT_NEAR(sim.samples().back().x, *t.finalX, 0.05);
    }
    // The fraction's zero -b2/b1, and z = 0 three times for 2,5 periods.
    const Transfer g = ovenTransfer(delayed(proportional(100, 2), 2.5 * kLessonRatio));
    const double a = std::exp(-kLessonRatio);
    const double half = std::exp(-kLessonRatio / 2);
    ASSERT_EQ(g.num.size(), 2u);
    EXPECT_NEAR(g.num[1], 1 - half, 1e-15);
    EXPECT_NEAR(g.num[0], half - a, 1e-15);
    EXPECT_EQ(g.den, (Polynomial{0, 0, 0, -a, 1}));
}

// P with K: X final = K G E / (1 + K G), and so the run comes to rest.
TEST(Delay, StaticGain)
{
    Parameters p = delayed(proportional(100, 0.8), 0.3);
    p.oven.gain = 2.5;
    p.quantised = false;
    const Theory t = theory(p);
    ASSERT_TRUE(t.finalX);
    EXPECT_NEAR(*t.finalX, 2.5 * 0.8 * 100 / (1 + 2.5 * 0.8), 1e-9);
    EXPECT_NEAR(*t.staticError, 100 - *t.finalX, 1e-9);
    const Simulation steady(p, Start::Steady);
    EXPECT_NEAR(steady.nextSample().x, *t.finalX, 1e-9);
    EXPECT_NEAR(steady.sAt(0), 2.5 * steady.nextSample().u, 1e-12);
}

// Exact under the zero-order hold: S between the acquisitions is the fine
// reference's, the delay a fraction of a period, the door open on the way,
// the period changed during the run.
TEST(Delay, ExactBetweenTheAcquisitions)
{
    Parameters p = delayed(proportional(120, 3), 0.37);
    p.oven.gain = 1.3;
    p.door = {4, 2, 2.5, 0.6};
    Simulation sim(p);
    advance(sim, 15);
    const std::vector<double> reference = fineReference(sim, 15);
    double worst = 0;
    for (std::size_t n = 0; n < reference.size(); n += 7)
        worst = std::max(worst, std::abs(sim.sAt(double(n) / 1000) - reference[n]));
    EXPECT_LT(worst, 2e-4);
    for (int k = 0; k <= 15; ++k)
        EXPECT_NEAR(sim.sAt(k), reference[static_cast<std::size_t>(1000 * k)], 2e-4) << k;

    // A shorter period from the sixth acquisition on: the commands already
    // on their way keep their instants.
    Simulation changed(delayed(proportional(120, 3), 0.37));
    advance(changed, 6);
    Parameters shorter = changed.parameters();
    shorter.ratio = 0.07;
    changed.change(shorter);
    advance(changed, 10);
    // Sent at 5T = 1 T1, the sixth command reaches the oven at 1,37 T1:
    // in the third of the short periods that start at 1,2 T1.
    const auto& s = changed.samples();
    const double at = changed.periodsAt(1.37);
    EXPECT_NEAR(at, 6 + 0.17 / 0.07, 1e-12);
    const double before = changed.sAt(at - 1e-7);
    const double after = changed.sAt(at + 1e-7);
    EXPECT_NEAR(before, after, 1e-6);
    // S bends there: towards U(5) after, U(4) before.
    const double slopeBefore = (before - changed.sAt(at - 1e-3)) / 1e-3;
    const double slopeAfter = (changed.sAt(at + 1e-3) - after) / 1e-3;
    EXPECT_NEAR(slopeBefore, 0.07 * (s[4].u - before), 1e-4);
    EXPECT_NEAR(slopeAfter, 0.07 * (s[5].u - after), 1e-4);
}

// The commands on their way are part of the steady regime: the run from it
// goes on as it was.
TEST(Delay, SteadyStartWithTheCommandsOnTheirWay)
{
    for (bool quantised : {false, true}) {
        Parameters p = delayed(pi(80, 1.5, -1.2), 0.45);
        p.quantised = quantised;
        Simulation sim(p, Start::Steady);
        ASSERT_TRUE(sim.steady()) << quantised;
        advance(sim, 30);
        for (const Sample& s : sim.samples()) {
            EXPECT_NEAR(s.x, 80, 1e-9) << s.k;
            EXPECT_NEAR(s.s, sim.samples()[0].s, 1e-9) << s.k;
        }
    }
    // Quantised under P, G = 2, there is no rest: a cycle, which the run
    // repeats.
    Simulation cycle(delayed(proportional(100, 2), 0.45), Start::Steady);
    ASSERT_TRUE(cycle.steady());
    const int n = cycle.steady()->cycle;
    ASSERT_GT(n, 1);
    advance(cycle, 2 * n);
    for (int k = n; k < 2 * n; ++k) {
        EXPECT_EQ(cycle.samples()[k].x, cycle.samples()[k - n].x) << k;
        EXPECT_NEAR(cycle.samples()[k].s, cycle.samples()[k - n].s, 1e-9) << k;
    }
}
