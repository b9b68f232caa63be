#include "model/converters.h"
#include "model/analysis.h"
#include "model/steady_state.h"
#include "loops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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
    Parameters p = proportional(255, regulatorRow(Regulator::P).fields()[kGainField].high);
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
    Parameters p = proportional(100, 4.55);
    p.door.periods = 1;
    Simulation sim(p, Start::Steady);
    advance(sim, 2);
    EXPECT_NEAR(sim.sAt(0.5), sim.sAt(1), kExact);
    EXPECT_LT(sim.sAt(1.5), sim.sAt(1) - 0.5);
}

// The door's final value U - D is below 0 V, the room: S falls towards it
// as exactly as ever until it reaches the room, and stays there.
TEST(Door, TheRoomIsTheFloor)
{
    Parameters p = proportional(10, 2);
    p.door = {1, 20, kDrop.high, 1};
    p.ratio = 1;
    Simulation sim(p, Start::Steady);
    const double s0 = sim.sAt(0);
    const double u = sim.advance().u;
    advance(sim, 19);
    const double f = u - kDrop.high;
    ASSERT_GT(s0, 0);
    // Zero at tau0 = ln((S0 - F) / -F), after a piece of exponential.
    const double tau0 = std::log((s0 - f) / -f);
    ASSERT_LT(tau0, 1);
    EXPECT_NEAR(sim.sAt(tau0 / 2), f + (s0 - f) * std::exp(-tau0 / 2), kExact);
    EXPECT_EQ(sim.sAt(tau0 + 1e-6), 0);
    for (double t = 0; t <= 20; t += 0.05)
        ASSERT_GE(sim.sAt(t), 0) << t;
    EXPECT_EQ(sim.samples().back().s, 0);
    EXPECT_EQ(sim.samples().back().x, 0);
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
    const FieldValues c = deadbeat({kLessonRatio, 1});
    const double q0 = c[kQ0Field];
    const double q1 = c[kQ1Field];
    EXPECT_NEAR(s[0].computed, q0 * 200, 1e-9);
    EXPECT_EQ(s[0].epu, 255);
    for (std::size_t k = 1; k < s.size(); ++k) {
        EXPECT_NEAR(s[k].computed, s[k - 1].epu + q0 * s[k].ep + q1 * s[k - 1].ep, 1e-9) << k;
        EXPECT_NEAR(s[k].proportional + s[k].integral, s[k].computed, 1e-9) << k;
        EXPECT_DOUBLE_EQ(s[k].proportional, -q1 * s[k].ep) << k;
        EXPECT_EQ(s[k].derivative, 0) << k;
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
    p.field(Regulator::P, kGainField) = 4;
    sim.change(p);
    advance(sim, 2);
    const auto& s = sim.samples();
    EXPECT_EQ(s[2].epu, 2 * s[2].ep);
    EXPECT_EQ(s[3].epu, 4 * s[3].ep);
    ASSERT_EQ(sim.marks().size(), 1u);
    EXPECT_EQ(sim.marks()[0].k, 3);
    EXPECT_EQ(gainOf(sim.marks()[0].before), 2);
    EXPECT_EQ(gainOf(sim.marks()[0].after), 4);
    // The parameters in force at each sample stay known.
    EXPECT_EQ(gainOf(sim.parametersAt(2)), 2);
    EXPECT_EQ(gainOf(sim.parametersAt(3)), 4);
    EXPECT_EQ(gainOf(sim.startedWith()), 2);
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
    EXPECT_EQ(sim.parametersAt(2).ratio, kLessonRatio);
    EXPECT_EQ(sim.parametersAt(3).ratio, 1);
    EXPECT_NEAR(s[3].time, 3 * kLessonRatio, kExact);
    EXPECT_NEAR(s[4].time, 3 * kLessonRatio + 1, kExact);
    EXPECT_NEAR(s[4].seconds, 100 * s[4].time, 1e-9);
    EXPECT_NEAR(sim.timeAt(3.5), 3 * kLessonRatio + 0.5, kExact);
    EXPECT_NEAR(sim.periodsAt(3 * kLessonRatio + 0.5), 3.5, 1e-12);
    EXPECT_NEAR(sim.sAt(2.5), s[2].u + (s[2].s - s[2].u) * std::exp(-kLessonRatio / 2), kExact);
    EXPECT_NEAR(sim.sAt(3.5), s[3].u + (s[3].s - s[3].u) * std::exp(-0.5), kExact);
    EXPECT_EQ(sim.marks().back().after.ratio, 1);
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
    EXPECT_EQ(sim.marks()[0].before, Parameters{});
    EXPECT_EQ(sim.marks()[0].after, p);
    // Back to what is in force: nothing changed after all.
    sim.change(Parameters{});
    EXPECT_TRUE(sim.marks().empty());
    // Nor does a field of a kind not in force, T1 in seconds or the seed:
    // they are kept, with no mark.
    p = Parameters{};
    p.field(Regulator::PI, kQ0Field) = 3;
    p.field(Regulator::PID, kTdField) = 0.5;
    p.oven.t1Seconds = 60;
    p.noise.seed = 99;
    sim.change(p);
    EXPECT_TRUE(sim.marks().empty());
    EXPECT_EQ(sim.parameters(), p);
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
    p.field(Regulator::P, kGainField) = 3;
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
    Parameters p = proportional(100, 4.55);
    Simulation point(p, Start::Steady);
    EXPECT_EQ(point.startOutcome(), (StartOutcome{StartOutcome::Kind::AtRest, 1, 82, 82}));
    EXPECT_EQ(point.advance().x, 82);

    // G = 2 has no quantised fixed point (3 X = 200): X goes round 66, 67.
    Simulation cycle(Parameters{}, Start::Steady);
    ASSERT_TRUE(cycle.steady());
    EXPECT_EQ(cycle.steady()->cycle, 24);
    advance(cycle, 48);
    for (std::size_t k = 24; k < 48; ++k)
        EXPECT_EQ(cycle.samples()[k].x, cycle.samples()[k - 24].x) << k;
    EXPECT_EQ(cycle.startOutcome(), (StartOutcome{StartOutcome::Kind::Cycle, 24, 66, 67}));
    EXPECT_EQ(Simulation().startOutcome().kind, StartOutcome::Kind::Cold);

    // Unquantised and far beyond the stability limit, the loop bangs between
    // 0 and 10 V without ever repeating itself exactly.
    p = proportional(135, 46);
    p.ratio = kSampling.low;
    p.quantised = false;
    Simulation cold(p, Start::Steady);
    EXPECT_FALSE(cold.steady());
    EXPECT_EQ(cold.sAt(0), 0);
    EXPECT_EQ(cold.startOutcome().kind, StartOutcome::Kind::NoneFound);
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

// Any parameters the tables accept, for every kind, and worse, keep every
// signal, the theory and the poles finite and the command within 0..10 V.
TEST(Robustness, NoNaNForAnyAcceptedParameters)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    const auto inside = [&](const Quantity& q) {
        const double v = q.low + (q.high - q.low) * unit(random);
        return q.whole ? std::round(v) : q.bring(v);
    };
    for (int run = 0; run < 200; ++run) {
        Parameters p;
        for (const Setting& setting : kSettings)
            setting.set(p, inside(setting.quantity));
        p.regulator = static_cast<Regulator>(run % kRegulatorCount);
        for (std::size_t r = 0; r < kRegulatorCount; ++r)
            for (std::size_t f = 0; f < kRegulators[r].fieldCount; ++f)
                p.fields[r][f] = inside(kRegulators[r].fieldTable[f]);
        p.quantised = run % 3 != 0;
        p.door.from = 1 + run % 5;
        p.door.periods = run % 7;
        ASSERT_EQ(sanitised(p), p) << run;
        Simulation sim(p, run % 4 ? Start::Steady : Start::Cold);
        advance(sim, 40);
        for (const Sample& m : sim.samples()) {
            ASSERT_TRUE(std::isfinite(m.s) && std::isfinite(m.computed) && std::isfinite(m.integral)
                        && std::isfinite(m.derivative) && std::isfinite(m.seconds))
                << run;
            ASSERT_GE(m.u, 0) << run;
            ASSERT_LE(m.u, kFullScaleVolts) << run;
            ASSERT_GE(m.s, 0) << run;
        }
        for (double t = 0; t <= 40; t += 0.37)
            ASSERT_TRUE(std::isfinite(sim.sAt(t))) << run << " " << t;
        const Theory t = theory(p);
        for (const Pole& pole : t.poles.poles)
            ASSERT_TRUE(std::isfinite(std::abs(pole.z))) << run;
        for (const auto& v : {t.finalX, t.staticError, t.overshootPercent})
            ASSERT_TRUE(!v || std::isfinite(*v)) << run;
        if (run % 20 == 0) {
            const std::optional<double> limit = stabilityLimit(p);
            ASSERT_TRUE(!limit || (std::isfinite(*limit) && *limit > 0)) << run;
        }
    }
    Parameters wild = proportional(std::nan(""), 1e300);
    wild.ratio = -1;
    wild.door = {-5, 3, 1e9, 0};
    wild.oven = {0, std::nan(""), -1};
    wild.noise.millivolts = std::numeric_limits<double>::infinity();
    wild.fields[static_cast<std::size_t>(Regulator::PID)] = {std::nan(""), 0, -1};
    for (Regulator r : {Regulator::P, Regulator::PID, static_cast<Regulator>(17)}) {
        wild.regulator = r;
        Simulation sim(wild, Start::Steady);
        advance(sim, 10);
        EXPECT_TRUE(std::isfinite(sim.sAt(9.5)));
        EXPECT_EQ(sim.parameters().ratio, kSampling.low);
        EXPECT_EQ(sim.parameters().oven.t1Seconds, kTimeConstant.fallback);
        EXPECT_EQ(sim.parameters().oven.gain, kStaticGain.low);
        EXPECT_EQ(sim.parameters().field(Regulator::PID, kKpField), kRegulators[2].fieldTable[0].fallback);
    }
}
