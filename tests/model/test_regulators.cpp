// The regulators' table and what derives from its rows, for every kind.
#include "model/analysis.h"
#include "model/poles.h"
#include "model/random.h"
#include "loops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <string_view>

using namespace t1::model;
using namespace t1::testing;

namespace {

Parameters pid(double e, double kp, double ti, double td)
{
    Parameters p;
    p.regulator = Regulator::PID;
    p.e = e;
    p.fields[static_cast<std::size_t>(Regulator::PID)] = {kp, ti, td};
    return p;
}

}  // namespace

TEST(Regulators, EveryRowIsWhole)
{
    std::set<std::string_view> keys;
    for (const RegulatorRow& row : kRegulators) {
        EXPECT_TRUE(keys.insert(row.key).second) << row.key;
        EXPECT_FALSE(row.name.empty());
        EXPECT_FALSE(row.diagramLabel.empty());
        ASSERT_LE(row.fieldCount, kMaxRegulatorFields);
        std::set<std::string_view> fieldKeys;
        for (const Quantity& q : row.fields()) {
            EXPECT_TRUE(fieldKeys.insert(q.key).second) << row.key << " " << q.key;
            EXPECT_LT(q.low, q.high) << q.key;
            EXPECT_TRUE(q.accepts(q.fallback)) << q.key;
        }
        EXPECT_EQ(row.integrates && !row.closed, false) << row.key;
    }
    for (std::size_t i = 0; i < kRegulatorCount; ++i)
        EXPECT_EQ(regulatorByKey(kRegulators[i].key), static_cast<Regulator>(i));
    EXPECT_FALSE(regulatorByKey("PD"));
    EXPECT_EQ(regulatorRow(Regulator::Manual).key, "manuel");
    EXPECT_EQ(&regulatorRow(static_cast<Regulator>(kRegulatorCount)), &kRegulators[0]);
}

// Td = 0 is the PI with q0 = Kp (1 + T/Ti), q1 = -Kp: the same samples, bit
// for bit, quantised or not, through saturation and the door.
TEST(Regulators, PidWithoutDerivativeIsThePI)
{
    for (bool quantised : {true, false}) {
        Parameters d = pid(150, 4, 0.7, 0);
        d.quantised = quantised;
        d.door = {5, 2, kLessonDrop, kLessonDoorRatio};
        Parameters i = pi(150, 4 * (1 + d.ratio / 0.7), -4);
        i.quantised = quantised;
        i.door = d.door;
        const Simulation a = ran(d, 30);
        const Simulation b = ran(i, 30);
        for (int k = 0; k < 30; ++k) {
            const Sample& x = a.samples()[k];
            const Sample& y = b.samples()[k];
            ASSERT_EQ(x.computed, y.computed) << k;
            ASSERT_EQ(x.s, y.s) << k;
            ASSERT_EQ(x.proportional, y.proportional) << k;
            ASSERT_EQ(x.integral, y.integral) << k;
            ASSERT_EQ(x.derivative, 0) << k;
        }
        EXPECT_TRUE(a.samples()[0].saturated);
    }
}

// The law's parts from the coefficients alone: P = Kp Ep with Kp = -(q1 +
// 2 q2), D = q2 (Ep(k) - Ep(k-1)), I the rest; the PID's Kp is its own.
TEST(Regulators, PartsOfTheLaw)
{
    Parameters p = pid(60, 2, 1, 0.1);
    p.quantised = false;
    const Law l = law(p);
    EXPECT_NEAR(l.q0, 2 * (1 + 0.2 + 0.5), 1e-12);
    EXPECT_NEAR(l.q1, -2 * (1 + 1), 1e-12);
    EXPECT_NEAR(l.q2, 2 * 0.5, 1e-12);
    const Simulation sim = ran(p, 12);
    const auto& s = sim.samples();
    for (std::size_t k = 2; k < s.size(); ++k) {
        EXPECT_NEAR(s[k].proportional, 2 * s[k].ep, 1e-9) << k;
        EXPECT_NEAR(s[k].derivative, 1 * (s[k].ep - s[k - 1].ep), 1e-9) << k;
        EXPECT_NEAR(s[k].proportional + s[k].integral + s[k].derivative, s[k].computed, 1e-9) << k;
        const double law = s[k - 1].epu + l.q0 * s[k].ep + l.q1 * s[k - 1].ep + l.q2 * s[k - 2].ep;
        EXPECT_NEAR(s[k].computed, law, 1e-9) << k;
    }
    // Its defaults are a stable loop that reaches E.
    const Theory t = theory(pid(60, 2, 1, 0.1));
    EXPECT_TRUE(t.poles.stable);
    EXPECT_NEAR(*t.finalX, 60, 1e-9);
    EXPECT_EQ(t.poles.poles.size(), 3u);
    EXPECT_EQ(t.poles.zeros.size(), 2u);
}

// The manual command: open loop, the register U 25,5 (whole when
// quantised), S going to K U whatever X; the oven's own poles.
TEST(Regulators, ManualCommandIsOpenLoop)
{
    Parameters p;
    p.regulator = Regulator::Manual;
    p.field(Regulator::Manual, kCommandField) = 3.3;
    p.oven.gain = 1.5;
    const Simulation sim = ran(p, 60);
    for (const Sample& s : sim.samples()) {
        EXPECT_EQ(s.epu, std::round(3.3 * kDigitsPerVolt)) << s.k;
        EXPECT_EQ(s.proportional, 0);
    }
    EXPECT_NEAR(sim.sAt(60), 1.5 * std::round(3.3 * kDigitsPerVolt) / kDigitsPerVolt, 1e-4);
    const Poles poles = closedLoopPoles(p);
    EXPECT_FALSE(poles.closed);
    ASSERT_EQ(poles.poles.size(), 1u);
    EXPECT_NEAR(poles.poles[0].z.real(), std::exp(-kLessonRatio), 1e-12);
    Parameters linear = p;
    linear.quantised = false;
    EXPECT_NEAR(*theory(linear).finalX, 1.5 * 3.3 * kDigitsPerVolt, 1e-9);
    // The set point does nothing.
    Parameters other = p;
    other.e = 10;
    EXPECT_EQ(ran(other, 10).samples().back().s, sim.samples()[9].s);
    // Its steady start is at rest at K U.
    const Simulation steady(p, Start::Steady);
    EXPECT_EQ(steady.startOutcome().kind, StartOutcome::Kind::AtRest);
    EXPECT_NEAR(steady.sAt(0), 1.5 * steady.nextSample().u, 1e-12);
}

// What a setup file needs: every parameter reached through the tables, so
// that writing them and reading them back gives the same parameters.
TEST(Parameters, TheTablesReachEveryParameter)
{
    Random random(3);
    Parameters p;
    for (const Setting& s : kSettings)
        s.set(p, s.quantity.bring(s.quantity.low + (s.quantity.high - s.quantity.low) * random.uniform()));
    for (std::size_t r = 0; r < kRegulatorCount; ++r)
        for (std::size_t f = 0; f < kRegulators[r].fieldCount; ++f)
            p.fields[r][f] = kRegulators[r].fieldTable[f].bring(random.uniform());
    p.regulator = Regulator::PID;
    p.quantised = false;

    Parameters read;
    for (const Setting& s : kSettings)
        s.set(read, s.get(p));
    for (std::size_t r = 0; r < kRegulatorCount; ++r)
        for (std::size_t f = 0; f < kRegulators[r].fieldCount; ++f)
            read.fields[r][f] = p.fields[r][f];
    read.regulator = p.regulator;
    read.quantised = p.quantised;
    EXPECT_EQ(read, p);
    EXPECT_EQ(sanitised(p), p);

    // Out of their limits: to the limit, or the default for a NaN and for an
    // excluded lower limit.
    EXPECT_EQ(kStaticGain.bring(0), kStaticGain.low);
    EXPECT_EQ(kStaticGain.bring(std::nan("")), kStaticGain.fallback);
    EXPECT_EQ(kTimeConstant.bring(0), kTimeConstant.fallback);
    EXPECT_EQ(kSetPoint.bring(40.6), 41);
    EXPECT_FALSE(kTimeConstant.accepts(0));
    EXPECT_TRUE(kTimeConstant.accepts(1e-3));
    EXPECT_FALSE(kSetPoint.accepts(40.5));
}

// The program's own generator: splitmix64's published first draw, the same
// draws for a seed, a normal deviate of mean 0 and deviation 1, and the
// noise of a run drawn again by Recommencer.
TEST(Random, ReproducibleEverywhere)
{
    Random zero(0);
    EXPECT_EQ(zero.next(), 0xE220A8397B1DCDAFULL);
    Random a(42);
    Random b(42);
    double sum = 0;
    double squares = 0;
    constexpr int kDraws = 20000;
    for (int i = 0; i < kDraws; ++i) {
        const double n = a.normal();
        ASSERT_EQ(n, b.normal());
        sum += n;
        squares += n * n;
    }
    EXPECT_NEAR(sum / kDraws, 0, 0.03);
    EXPECT_NEAR(squares / kDraws, 1, 0.03);
    for (double x : {1e-300, 0.1, 0.5, 0.7071, 1.0, 3.0, 1e300})
        EXPECT_NEAR(Random::logarithm(x), std::log(x), 4e-16 * std::max(1.0, std::abs(std::log(x)))) << x;
    for (int i = 0; i < 100; ++i)
        ASSERT_LT(a.below(7), 7u);

    Parameters p = proportional(100, 4.55);
    p.noise.millivolts = 30;
    Simulation run = ran(p, 20);
    const std::vector<Sample> first = run.samples();
    run.reset();
    advance(run, 20);
    bool noisy = false;
    for (int k = 0; k < 20; ++k) {
        ASSERT_EQ(run.samples()[k].x, first[k].x) << k;
        noisy = noisy || first[k].noise != 0;
    }
    EXPECT_TRUE(noisy);
    p.noise.seed = 2;
    bool differs = false;
    const Simulation other = ran(p, 20);
    for (int k = 0; k < 20; ++k)
        differs = differs || other.samples()[k].noise != first[k].noise;
    EXPECT_TRUE(differs);
}
