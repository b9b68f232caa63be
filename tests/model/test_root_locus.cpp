// The root locus and the stability test it bisects on, against the
// characteristic polynomial's roots and figures worked out by hand.
#include "model/poles.h"
#include "model/polynomial.h"
#include "model/root_locus.h"
#include "model/transfer.h"
#include "loops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace t1::model;
using namespace t1::testing;

namespace {

using Complex = std::complex<double>;

Polynomial fromRoots(std::initializer_list<Complex> zs)
{
    Polynomial p{1};
    for (const Complex& z : zs) {
        // Real coefficients: a complex root comes with its conjugate.
        const Polynomial factor = z.imag() == 0 ? Polynomial{-z.real(), 1}
                                                : Polynomial{std::norm(z), -2 * z.real(), 1};
        p = p * factor;
    }
    return p;
}

Parameters slow(Parameters p, double ratio, double delay)
{
    p.ratio = ratio;
    p.oven.delay = delay;
    return p;
}

// How far from z Newton's method puts a root of p: for a simple root, about
// the distance to it.
double newtonStep(const Polynomial& p, Complex z)
{
    Polynomial slope;
    for (std::size_t i = 1; i < p.size(); ++i)
        slope.push_back(double(i) * p[i]);
    return std::abs(evaluate(p, z) / evaluate(slope, z));
}

double nearest(const std::vector<Complex>& zs, Complex z)
{
    double best = INFINITY;
    for (const Complex& r : zs)
        best = std::min(best, std::abs(r - z));
    return best;
}

bool insideByRoots(const Parameters& p, double factor)
{
    const std::vector<Complex> zs = closedLoopRoots(p, factor);
    return std::all_of(zs.begin(), zs.end(), [](Complex z) { return std::abs(z) < 1; });
}

}  // namespace

TEST(StabilityTest, RootsInsideTheCircleWithoutComputingThem)
{
    EXPECT_TRUE(rootsInsideUnitCircle(fromRoots({0.5, -0.9, Complex(0.3, 0.9)})));
    EXPECT_FALSE(rootsInsideUnitCircle(fromRoots({0.5, -1.1})));
    EXPECT_FALSE(rootsInsideUnitCircle(fromRoots({0.2, Complex(0.6, 0.85)})));  // |z| = 1,04
    EXPECT_FALSE(rootsInsideUnitCircle(fromRoots({0.2, -1})));                  // on the circle
    EXPECT_FALSE(rootsInsideUnitCircle(fromRoots({1, 0.3})));
    // A long delay's many roots at 0, and one outside among them.
    Polynomial delayed(62, 0);
    delayed.back() = 1;
    EXPECT_TRUE(rootsInsideUnitCircle(delayed));
    EXPECT_FALSE(rootsInsideUnitCircle(delayed * fromRoots({-1.001})));
    EXPECT_TRUE(rootsInsideUnitCircle(delayed * fromRoots({0.999})));
    EXPECT_TRUE(rootsInsideUnitCircle({3}));
    EXPECT_FALSE(rootsInsideUnitCircle({0, 0}));
}

// 8-bit, E = 100, T = T1/5, P: G limite = (1 + a)/(1 - a) at θ = 0, where the
// pole leaves by -1; 1/(1 - a) at θ = T, a complex pair on the circle.
TEST(RootLocus, LimitAndCrossingAgainstTheHandWorkedFigures)
{
    const double a = std::exp(-kLessonRatio);
    struct Case {
        double delay, limit;
        bool real;
    };
    for (const Case c : {Case{0, (1 + a) / (1 - a), true}, Case{kLessonRatio, 1 / (1 - a), false}}) {
        const Parameters p = slow(proportional(100, 2), kLessonRatio, c.delay);
        const std::optional<RootLocus> locus = rootLocus(p, {});
        ASSERT_TRUE(locus && locus->limit && locus->crossing) << c.delay;
        EXPECT_NEAR(locus->gain.value(0, *locus->limit), c.limit, 1e-9) << c.delay;
        EXPECT_NEAR(std::abs(*locus->crossing), 1, 1e-3) << c.delay;
        EXPECT_EQ(std::abs(locus->crossing->imag()) < 1e-3, c.real) << c.delay;
        EXPECT_GT(locus->last, *locus->limit);
        ASSERT_EQ(locus->branches.size(), locus->starts.size());
        // Every branch from an open-loop pole; where G = 2, the loop's poles.
        const std::vector<Complex> now = closedLoopRoots(p, 1);
        for (const std::vector<LocusPoint>& branch : locus->branches) {
            EXPECT_EQ(branch.front().factor, 0);
            EXPECT_LT(nearest(locus->starts, branch.front().z), 1e-9);
            const auto at = std::find_if(branch.begin(), branch.end(), [](const LocusPoint& q) { return q.factor == 1; });
            ASSERT_NE(at, branch.end());
            EXPECT_LT(nearest(now, at->z), 1e-4);
        }
    }
    // θ = T, G = 2: 0,409 ± 0,442 j, on the locus.
    const std::vector<Complex> pair = closedLoopRoots(slow(proportional(100, 2), kLessonRatio, kLessonRatio), 1);
    EXPECT_LT(nearest(pair, Complex(0.409, 0.442)), 1e-3);
    EXPECT_LT(nearest(pair, Complex(0.409, -0.442)), 1e-3);
}

// Every point drawn is a root of the polynomial at its factor, to the
// precision asked of the view, the worst case included: a delay of 3 T1 at
// T = T1/20, 62 poles; the limit where the roots cross the circle.
TEST(RootLocus, EveryPointIsARootAtItsFactor)
{
    const LocusView view{{-1.5, -1.5}, {1.5, 1.5}, 0.02};
    for (const Parameters& p : {slow(proportional(100, 4), kLessonRatio, 0), slow(proportional(100, 2), kLessonRatio, 0.7),
                                deadbeatPI(40), slow(pi(40, 3, -1), kLessonRatio, kLessonRatio),
                                slow(proportional(100, 1), 0.05, 3)}) {
        const std::optional<RootLocus> locus = rootLocus(p, view);
        ASSERT_TRUE(locus && locus->limit);
        const std::optional<double> limit = stabilityLimit(locus->gain.unit);
        ASSERT_TRUE(limit);
        // The roots themselves inside the circle just under the limit, not just over it.
        EXPECT_TRUE(insideByRoots(locus->gain.unit, *limit * (1 - 1e-7)));
        EXPECT_FALSE(insideByRoots(locus->gain.unit, *limit * (1 + 1e-7)));
        const std::size_t count = locus->branches.front().size();
        for (std::size_t i = 1; i < count; i += std::max<std::size_t>(1, count / 8)) {
            const double factor = locus->branches.front()[i].factor;
            const Polynomial c = characteristic(locus->gain.unit).at(factor);
            const std::vector<Complex> zs = roots(c);
            for (const std::vector<LocusPoint>& branch : locus->branches) {
                ASSERT_EQ(branch.size(), count);
                EXPECT_EQ(branch[i].factor, factor);
                // The solver's roots are no reference round a multiple pole
                // barely left (a long delay's, at a tiny factor): there the
                // polynomial says whether the point is a root.
                const double precision = 2e-3 * view.spacing;
                if (std::abs(branch[i].z) < 1.5) {
                    EXPECT_TRUE(nearest(zs, branch[i].z) < precision || newtonStep(c, branch[i].z) < precision)
                        << factor << " " << branch[i].z;
                }
            }
        }
    }
}

// The gain follows the row's gain fields; a gain of 0 runs on the defaults.
TEST(RootLocus, TheGainIsTheRowsAndTheManualCommandHasNone)
{
    Parameters manual;
    manual.regulator = Regulator::Manual;
    EXPECT_FALSE(locusGain(manual));
    EXPECT_FALSE(rootLocus(manual, {}));

    const std::optional<LocusGain> none = locusGain(proportional(100, 0));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->current, 0);
    EXPECT_GT(none->value(0, 1), 0);

    // The PI's two coefficients scale together: the zero stays where it is.
    const std::optional<LocusGain> pair = locusGain(pi(40, 3, -1));
    ASSERT_TRUE(pair);
    EXPECT_DOUBLE_EQ(pair->value(0, 2), 6);
    EXPECT_DOUBLE_EQ(pair->value(1, 2), -2);
    Parameters pid;
    pid.regulator = Regulator::PID;
    const std::optional<LocusGain> kp = locusGain(pid);
    ASSERT_TRUE(kp);
    EXPECT_EQ(pid.row().gainFields.size(), 1u);
    EXPECT_DOUBLE_EQ(kp->value(0, 3), 3 * pid.field(Regulator::PID, kKpField));
}
