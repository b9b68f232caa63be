#include "model/poles.h"
#include "loops.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace t1::model;
using namespace t1::testing;

TEST(Deadbeat, CoefficientsAtThreeRatios)
{
    struct Case {
        double ratio, q0, q1;
    };
    for (const Case c : {Case{kSampling.low, 20.5041665, -19.5041665}, Case{kLessonRatio, 5.5166556, -4.5166556},
                         Case{kSampling.high, 1.1565176, -0.1565176}}) {
        const FieldValues q = deadbeat({c.ratio, 1});
        EXPECT_NEAR(q[kQ0Field], c.q0, 1e-6) << c.ratio;
        EXPECT_NEAR(q[kQ1Field], c.q1, 1e-6) << c.ratio;
        // With a static gain K the coefficients are divided by K.
        EXPECT_NEAR(deadbeat({c.ratio, 2})[kQ0Field], c.q0 / 2, 1e-6) << c.ratio;
    }
}

TEST(Poles, ProportionalPoleAndItsStabilityLimit)
{
    EXPECT_NEAR(closedLoopPoles(proportional(100, 2)).poles[0].z.real(), 0.4561923, 1e-6);
    // G = 4,55 puts the pole near 0, as the disturbance lesson says.
    EXPECT_NEAR(closedLoopPoles(proportional(100, 4.55)).poles[0].z.real(), -0.006, 1e-3);
    // The limit G = (1 + a) / (1 - a) = 10,03 puts it on -1: not stable.
    const double a = std::exp(-kLessonRatio);
    EXPECT_TRUE(closedLoopPoles(proportional(100, 10)).stable);
    EXPECT_FALSE(closedLoopPoles(proportional(100, (1 + a) / (1 - a))).stable);
    EXPECT_FALSE(closedLoopPoles(proportional(100, 10.1)).stable);
}

TEST(Poles, DeadbeatCancelsThePoleAtA)
{
    for (const Parameters& p : {deadbeatPI(40), pi(40, kLessonQ0, kLessonQ1)}) {
        const Poles poles = closedLoopPoles(p);
        ASSERT_EQ(poles.poles.size(), 2u);
        EXPECT_TRUE(poles.stable);
        const Pole& slow = std::abs(poles.poles[0].z) > std::abs(poles.poles[1].z) ? poles.poles[0] : poles.poles[1];
        const Pole& fast = &slow == &poles.poles[0] ? poles.poles[1] : poles.poles[0];
        EXPECT_NEAR(slow.z.real(), std::exp(-kLessonRatio), 1e-3);
        EXPECT_TRUE(slow.cancelled);
        EXPECT_NEAR(std::abs(fast.z), 0, 1e-3);
        EXPECT_FALSE(fast.cancelled);
    }
}

TEST(Poles, ComplexPairAndTheIntegratorOnTheCircle)
{
    const Poles pair = closedLoopPoles(pi(40, 3, -1));
    ASSERT_EQ(pair.poles.size(), 2u);
    EXPECT_EQ(pair.poles[0].z, std::conj(pair.poles[1].z));
    EXPECT_NEAR(std::abs(pair.poles[0].z), 0.7984119, 1e-6);
    EXPECT_TRUE(pair.stable);
    // q0 + q1 = 0: no integral action, a pole stays at z = 1.
    EXPECT_FALSE(closedLoopPoles(pi(40, 2, -2)).stable);
    // Both at the field limits: large but finite poles.
    const double most = regulatorRow(Regulator::PI).fields()[kQ0Field].high;
    for (const Pole& p : closedLoopPoles(pi(40, most, -most + 1)).poles)
        EXPECT_TRUE(std::isfinite(p.z.real()) && std::isfinite(p.z.imag()));
}
