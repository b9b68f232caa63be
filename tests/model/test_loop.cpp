#include "model/converters.h"
#include "model/steady_state.h"
#include "loops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace t1::model;
using namespace t1::testing;

namespace {

constexpr double kExact = 1e-12;

}  // namespace

TEST(Converters, ClampBothEndsAndRoundOnlyWhenQuantised)
{
    EXPECT_EQ(toDigits(1.9606, true), 50);
    EXPECT_NEAR(toDigits(1.9606, false), 49.9953, 1e-9);
    EXPECT_EQ(toDigits(-0.7, true), 0);
    EXPECT_EQ(toDigits(10.5, false), 255);
    // No cooling command: a negative law reads 0 V, a huge one 10 V.
    EXPECT_EQ(outputRegister(-40, true), 0);
    EXPECT_EQ(toVolts(outputRegister(1e6, false)), kFullScaleVolts);
    EXPECT_EQ(outputRegister(220.67, true), 221);
    EXPECT_EQ(outputRegister(220.67, false), 220.67);
    EXPECT_DOUBLE_EQ(temperature(1.6), 32.8);
    EXPECT_NEAR(setPointCelsius(100), 51.37, 0.005);
}

// Flat out from cold (Epu far above 255 until X nears 252) the oven draws
// its open-loop step 10 V (1 - e^(-t r)): exact at every instant, with no
// drift however many periods are chained.
TEST(Oven, SaturatedHeatingIsTheExactStepResponse)
{
    Parameters p;
    p.e = 255;
    p.g = kMaxGain;
    Simulation sim(p);
    advance(sim, 20);
    for (double t = 0; t <= 20; t += 0.125)
        EXPECT_NEAR(sim.sAt(t), kFullScaleVolts * (1 - std::exp(-kLessonRatio * t)), kExact) << t;
    EXPECT_TRUE(sim.samples()[19].saturated);
}

TEST(Oven, SBetweenSamplesJoinsTheAcquisitions)
{
    Simulation sim;
    advance(sim, 6);
    const auto& s = sim.samples();
    for (int k = 0; k < 6; ++k) {
        EXPECT_DOUBLE_EQ(sim.sAt(k), s[k].s) << k;
        const double mid = s[k].u + (s[k].s - s[k].u) * std::exp(-kLessonRatio / 2);
        EXPECT_NEAR(sim.sAt(k + 0.5), mid, kExact) << k;
    }
    EXPECT_NEAR(sim.sAt(5.999999), sim.sAt(6), 1e-6);
    // Outside what was simulated: the ends, never NaN.
    EXPECT_EQ(sim.sAt(-3), s[0].s);
    EXPECT_EQ(sim.sAt(100), sim.sAt(6));
    EXPECT_EQ(sim.sAt(std::nan("")), s[0].s);
}

TEST(Door, OpenDuringTheChosenPeriodsOnly)
{
    Parameters p;
    p.door.from = 3;
    p.door.periods = 2;
    Simulation sim(p, Start::Steady);
    advance(sim, 6);
    const bool open[] = {false, false, true, true, false, false};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(sim.samples()[k].doorOpen, open[k]) << k;
    p.door.periods = 0;
    EXPECT_FALSE(doorOpenAfter(p, 2));
}

// "Open during period 2" is [T, 2T): S holds before T and falls after it.
TEST(Door, PeriodTwoStartsAtT)
{
    Parameters p;
    p.g = 4.55;
    p.door.periods = 1;
    Simulation sim(p, Start::Steady);
    advance(sim, 2);
    EXPECT_NEAR(sim.sAt(0.5), sim.sAt(1), kExact);
    EXPECT_LT(sim.sAt(1.5), sim.sAt(1) - 0.5);
}

// The door's final value U - D stays below 0 V: S goes negative, X reads 0.
TEST(Door, FinalValueBelowZeroIsKept)
{
    Parameters p;
    p.e = 10;
    p.door = {1, 20, kMaxDrop, kMinDoorRatio};
    Simulation sim(p);
    advance(sim, 20);
    const Sample& last = sim.samples().back();
    EXPECT_LT(last.s, -5);
    EXPECT_GE(last.s, last.u - kMaxDrop);
    EXPECT_EQ(last.x, 0);
}

// The recurrence reads Epu(k-1) back from the register: after a saturated
// 1103 it goes on from 255, so the command falls at once to about the 200
// that holds X at E and X creeps up with T1, without overshoot. Wound up,
// the sum would hold U at 10 V for periods and overshoot far.
TEST(Regulator, SaturatedPIGoesOnFromTheClampedRegister)
{
    Simulation sim(deadbeatPI(200));
    advance(sim, 40);
    const auto& s = sim.samples();
    const Coefficients c = deadbeat(kLessonRatio);
    EXPECT_NEAR(s[0].computed, c.q0 * 200, 1e-9);
    EXPECT_EQ(s[0].epu, 255);
    for (std::size_t k = 1; k < s.size(); ++k) {
        EXPECT_NEAR(s[k].computed, s[k - 1].epu + c.q0 * s[k].ep + c.q1 * s[k - 1].ep, 1e-9) << k;
        EXPECT_NEAR(s[k].proportional + s[k].integral, s[k].computed, 1e-9) << k;
        EXPECT_DOUBLE_EQ(s[k].proportional, -c.q1 * s[k].ep) << k;
        EXPECT_FALSE(s[k].saturated) << k;
        EXPECT_LE(s[k].x, 201) << k;
    }
    EXPECT_NEAR(s[1].epu, 200, 2);
    EXPECT_GE(s.back().x, 198);
}

TEST(LiveChange, ActsFromTheNextAcquisitionWithAMark)
{
    Simulation sim;
    advance(sim, 3);
    Parameters p = sim.parameters();
    p.g = 4;
    sim.change(p);
    advance(sim, 2);
    const auto& s = sim.samples();
    EXPECT_EQ(s[2].epu, 2 * s[2].ep);
    EXPECT_EQ(s[3].epu, 4 * s[3].ep);
    ASSERT_EQ(sim.marks().size(), 1u);
    EXPECT_EQ(sim.marks()[0].k, 3);
    EXPECT_EQ(sim.marks()[0].label, "G = 4");
}

// A new T/T1 leaves the running period its own; S between samples follows
// each period's ratio.
TEST(LiveChange, RatioChangesTheFollowingPeriodsOnly)
{
    Simulation sim;
    advance(sim, 3);
    Parameters p = sim.parameters();
    p.ratio = 1;
    sim.change(p);
    advance(sim, 2);
    const auto& s = sim.samples();
    EXPECT_EQ(s[2].ratio, kLessonRatio);
    EXPECT_EQ(s[3].ratio, 1);
    EXPECT_NEAR(sim.sAt(2.5), s[2].u + (s[2].s - s[2].u) * std::exp(-kLessonRatio / 2), kExact);
    EXPECT_NEAR(sim.sAt(3.5), s[3].u + (s[3].s - s[3].u) * std::exp(-0.5), kExact);
    EXPECT_EQ(sim.marks().back().label, "T = T1");
}

TEST(LiveChange, ChangesBeforeOneAcquisitionMakeOneMark)
{
    Simulation sim;
    advance(sim, 2);
    Parameters p = sim.parameters();
    p.e = 60;
    sim.change(p);
    p.quantised = false;
    sim.change(p);
    ASSERT_EQ(sim.marks().size(), 1u);
    EXPECT_EQ(sim.marks()[0].label, "E = 60, quantification : non");
    // Back to what is in force: nothing changed after all.
    sim.change(Parameters{});
    EXPECT_TRUE(sim.marks().empty());
}

TEST(LiveChange, BeforeTheFirstAcquisitionRestartsInstead)
{
    Simulation sim({}, Start::Steady);
    Parameters p = deadbeatPI(40);
    sim.change(p);
    EXPECT_TRUE(sim.marks().empty());
    EXPECT_EQ(sim.advance().x, 40);
}

TEST(Reset, ReplaysTheRunWithoutItsMarks)
{
    Simulation sim;
    advance(sim, 4);
    Parameters p = sim.parameters();
    p.g = 3;
    sim.change(p);
    advance(sim, 4);
    sim.reset();
    EXPECT_TRUE(sim.samples().empty());
    EXPECT_TRUE(sim.marks().empty());
    EXPECT_EQ(sim.sAt(2), 0);
    Simulation fresh(p);
    advance(sim, 8);
    advance(fresh, 8);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(sim.samples()[k].s, fresh.samples()[k].s) << k;
}

TEST(SteadyStart, PointOrCycleOrCold)
{
    Parameters p;
    p.g = 4.55;
    Simulation point(p, Start::Steady);
    EXPECT_EQ(point.startNote(), "Départ : régime permanent");
    EXPECT_EQ(point.advance().x, 82);

    // G = 2 has no quantised fixed point (3 X = 200): X goes round 66, 67.
    Simulation cycle(Parameters{}, Start::Steady);
    ASSERT_TRUE(cycle.steady());
    EXPECT_EQ(cycle.steady()->cycle, 24);
    advance(cycle, 48);
    for (std::size_t k = 24; k < 48; ++k)
        EXPECT_EQ(cycle.samples()[k].x, cycle.samples()[k - 24].x) << k;
    EXPECT_EQ(cycle.startNote(), "Départ : régime permanent, X oscille entre 66 et 67 (cycle de 24 périodes)");

    // Unquantised and far beyond the stability limit, the loop bangs between
    // 0 and 10 V without ever repeating itself exactly.
    p = {};
    p.e = 135;
    p.g = 46;
    p.ratio = kMinRatio;
    p.quantised = false;
    Simulation cold(p, Start::Steady);
    EXPECT_FALSE(cold.steady());
    EXPECT_EQ(cold.sAt(0), 0);
    EXPECT_EQ(cold.startNote(), "Pas de régime permanent pour ces réglages : départ four froid");
}

TEST(SteadyStart, UnquantisedLoopsStartAtTheirLimit)
{
    Parameters p;
    p.quantised = false;
    Simulation pLoop(p, Start::Steady);
    EXPECT_NEAR(pLoop.advance().x, 200.0 / 3, 1e-9);
    p = deadbeatPI(40.0);
    p.quantised = false;
    Simulation piLoop(p, Start::Steady);
    EXPECT_NEAR(piLoop.advance().ep, 0, 1e-9);
    EXPECT_NEAR(piLoop.advance().x, 40, 1e-9);
}

// Any parameters the fields accept, and worse, keep every signal finite and
// the command within 0..10 V.
TEST(Robustness, NoNaNForAnyAcceptedParameters)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int run = 0; run < 200; ++run) {
        Parameters p;
        p.e = std::round(kMaxSetPoint * unit(random));
        p.kind = run % 2 ? RegulatorKind::PI : RegulatorKind::P;
        p.g = kMaxGain * unit(random);
        p.q0 = kMaxCoefficient * (2 * unit(random) - 1);
        p.q1 = kMaxCoefficient * (2 * unit(random) - 1);
        p.ratio = kMinRatio + (kMaxRatio - kMinRatio) * unit(random);
        p.quantised = run % 3 != 0;
        p.door = {1 + run % 5, run % 7, kMaxDrop * unit(random), kMinDoorRatio + unit(random)};
        Simulation sim(p, run % 4 ? Start::Steady : Start::Cold);
        advance(sim, 40);
        for (const Sample& m : sim.samples()) {
            ASSERT_TRUE(std::isfinite(m.s) && std::isfinite(m.computed) && std::isfinite(m.integral)) << run;
            ASSERT_GE(m.u, 0) << run;
            ASSERT_LE(m.u, kFullScaleVolts) << run;
        }
        for (double t = 0; t <= 40; t += 0.37)
            ASSERT_TRUE(std::isfinite(sim.sAt(t))) << run << " " << t;
    }
    Parameters wild;
    wild.e = std::nan("");
    wild.g = 1e300;
    wild.ratio = -1;
    wild.door = {-5, 3, 1e9, 0};
    Simulation sim(wild, Start::Steady);
    advance(sim, 10);
    EXPECT_TRUE(std::isfinite(sim.sAt(9.5)));
    EXPECT_EQ(sim.parameters().ratio, kMinRatio);
}
