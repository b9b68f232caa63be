#include "tests/support/lesson_rig.h"
#include "lessons/scene.h"
#include "lessons/lesson_table.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace t1::testing {

namespace {

// The clocks from..to of a lesson's band, both included.
std::vector<int> clocks(const LessonRow& l, int from, int to)
{
    std::vector<int> v;
    for (int t = from; t <= to; ++t)
        v.push_back(l.band.base + t);
    return v;
}

// The four lessons whose periods the program's documents describe.
constexpr const LessonRow* kClosedLoops[] = {&lesson("closed loop P"), &lesson("closed loop PI"),
                                             &lesson("disturbance P"), &lesson("disturbance PI")};

}  // namespace

// The bands the program's documents give each lesson: base, start code, end.
TEST(SceneClock, EachLessonHasItsDocumentedBand)
{
    struct Documented {
        const char* lesson;
        int base, start, end;
    };
    const Documented bands[] = {
        {"presentation", -1, -1, -1},        {"open loop", 0, 1, 255},           {"closed loop P", 1000, 1001, 1240},
        {"closed loop PI", 2000, 2001, 2240}, {"disturbance model", 3000, 3001, 3220},
        {"disturbance P", 4000, 4001, 4240}, {"disturbance PI", 5000, 5001, 5240},
    };
    for (const Documented& d : bands) {
        const LessonRow* row = lessonNamed(d.lesson);
        ASSERT_NE(row, nullptr) << d.lesson;
        EXPECT_EQ(row->band.base, d.base) << d.lesson;
        EXPECT_EQ(row->band.start, d.start) << d.lesson;
        EXPECT_EQ(row->band.end, d.end) << d.lesson;
    }
}

TEST(PeriodWindow, BoundsOfEveryPeriod)
{
    struct Row {
        int period, low, high;
    };
    const Row rows[] = {{0, 0, 240}, {1, 0, 39}, {2, 39, 79}, {3, 79, 119}, {4, 119, 159}, {5, 159, 199}, {6, 199, 240}};
    for (const LessonRow* l : kClosedLoops)
        for (const Row& r : rows) {
            const PeriodWindow w = periodWindow(*l, r.period);
            EXPECT_EQ(w.low, l->band.base + r.low) << l->runName << " p" << r.period;
            EXPECT_EQ(w.high, l->band.base + r.high) << l->runName << " p" << r.period;
        }
}

TEST(PeriodCycle, OnePressMovesExactlyOneStep)
{
    int p = 0;
    int clock = 0;
    const LessonRow& l = lesson("disturbance P");
    EXPECT_TRUE(advancePeriod(l, p, clock));
    EXPECT_EQ(p, 1);
    EXPECT_EQ(clock, 4001);
    const int starts[] = {4040, 4080, 4120, 4160, 4200};
    for (int k = 2; k <= 6; ++k) {
        EXPECT_FALSE(advancePeriod(l, p, clock));
        EXPECT_EQ(p, k);
        EXPECT_EQ(clock, starts[k - 2]);
    }
    // The seventh press clears the area and starts period 1 again.
    EXPECT_TRUE(advancePeriod(l, p, clock));
    EXPECT_EQ(p, 1);
    EXPECT_EQ(clock, 4001);
}

TEST(SceneClock, ContinuousRunOfEachLessonRow)
{
    for (const LessonRow* row : kClosedLoops) {
        const LessonRow& l = *row;
        LessonRig rig{Backdrop::ClockOnly};
        rig.start(l);
        EXPECT_EQ(rig.runTo(), clocks(l, 2, 240)) << l.runName;
        EXPECT_EQ(rig.scene.st.gSceneTick, l.band.end);
        EXPECT_EQ(rig.scene.st.clockOf(l).localTick, 240);
        // Further ticks change nothing.
        EXPECT_TRUE(rig.runTo().empty());
        EXPECT_EQ(rig.scene.st.gSceneTick, l.band.end);
    }
}

TEST(SceneClock, StepModeDrawsEachPeriodAndHaltsAtItsEnd)
{
    const std::pair<int, int> drawnPerPeriod[] = {{2, 39}, {41, 79}, {81, 119}, {121, 159}, {161, 199}, {201, 240}};
    for (const LessonRow* row : kClosedLoops) {
        const LessonRow& l = *row;
        LessonRig rig{Backdrop::ClockOnly};
        AnimationState& st = rig.scene.st;
        for (int round = 0; round < 2; ++round)  // the cycle restarts after period 6
            for (int k = 1; k <= l.periods; ++k) {
                advancePeriod(l, st.clockOf(l).period, st.gSceneTick);
                const auto [from, to] = drawnPerPeriod[k - 1];
                EXPECT_EQ(rig.runTo(), clocks(l, from, to)) << l.runName << " period " << k;
                EXPECT_EQ(st.gSceneTick, l.band.base + to);
            }
    }
}

// Any sampled row, whatever its number of periods: pressed through, its
// periods draw what a continuous run draws but the last tick of each period
// before the last, and the next press starts over.
TEST(SceneClock, EverySampledRowsPeriodsTileItsRun)
{
    for (const LessonRow& l : kLessons) {
        if (l.running != Running::Sampled)
            continue;
        SCOPED_TRACE(l.runName);
        LessonRig rig{Backdrop::ClockOnly};
        rig.start(l);
        std::vector<int> want;
        for (int clock : rig.runTo())
            if ((clock - l.band.base) % kPeriodTicks != 0 || clock == l.band.end)
                want.push_back(clock);
        AnimationState& st = rig.scene.st;
        std::vector<int> got;
        for (int k = 1; k <= l.periods; ++k) {
            EXPECT_EQ(advancePeriod(l, st.clockOf(l).period, st.gSceneTick), k == 1);
            const std::vector<int> drawn = rig.runTo();
            got.insert(got.end(), drawn.begin(), drawn.end());
        }
        EXPECT_EQ(got, want);
        EXPECT_EQ(st.gSceneTick, l.band.end);
        EXPECT_TRUE(advancePeriod(l, st.clockOf(l).period, st.gSceneTick));
        EXPECT_EQ(st.gSceneTick, l.band.start);
    }
}

TEST(SceneClock, PressDuringAPeriodJumpsToTheNext)
{
    LessonRig rig{Backdrop::ClockOnly};
    AnimationState& st = rig.scene.st;
    advancePeriod(lesson("closed loop PI"), st.gPeriodLoopPI(), st.gSceneTick);
    rig.runTo(lesson("closed loop PI").band.base + 11);
    EXPECT_EQ(st.gTickLoopPI(), 11);
    advancePeriod(lesson("closed loop PI"), st.gPeriodLoopPI(), st.gSceneTick);
    sceneTick(rig.scene);
    EXPECT_EQ(st.gTickLoopPI(), 41);
}

TEST(SceneClock, PeriodIndexOfAnotherLessonDoesNotRunThisOne)
{
    LessonRig rig{Backdrop::ClockOnly};
    AnimationState& st = rig.scene.st;
    // The P lesson's clock with only the PI period index released.
    st.gSceneTick = lesson("closed loop P").band.base + 45;
    st.gPeriodLoopP() = 1;
    st.gPeriodLoopPI() = 2;
    EXPECT_TRUE(rig.runTo().empty());
    EXPECT_EQ(st.gSceneTick, lesson("closed loop P").band.base + 45);
}

TEST(SceneClock, ContinuousOnlyBands)
{
    LessonRig rig{Backdrop::ClockOnly};
    rig.start(lesson("open loop"));
    EXPECT_EQ(rig.runTo(), clocks(lesson("open loop"), 2, 255));
    EXPECT_EQ(rig.scene.st.gSceneTick, 255);

    const LessonRow& model = lesson("disturbance model");
    rig.start(model);
    EXPECT_EQ(rig.runTo(), clocks(model, 2, 220));
    EXPECT_EQ(rig.scene.st.gSceneTick, 3220);
    EXPECT_EQ(rig.scene.st.gTickDisturbModel(), 220);
}

TEST(SceneClock, IdleAndPresentationNeverMove)
{
    LessonRig rig{Backdrop::ClockOnly};
    for (int clock : {kIdleClock, kPresentationClock}) {
        rig.scene.st.gSceneTick = clock;
        EXPECT_TRUE(rig.runTo().empty());
        EXPECT_EQ(rig.scene.st.gSceneTick, clock);
    }
}

TEST(SceneClock, LocalTicksKeepTheirValueWhenAnotherLessonRuns)
{
    LessonRig rig{Backdrop::ClockOnly};
    AnimationState& st = rig.scene.st;
    rig.start(lesson("closed loop P"));
    rig.runTo(lesson("closed loop P").band.base + 31);
    EXPECT_EQ(st.gTickLoopP(), 31);
    rig.start(lesson("disturbance PI"));
    sceneTick(rig.scene);
    EXPECT_EQ(st.gTickDisturbPI(), 2);
    EXPECT_EQ(st.gTickLoopP(), 31);
}

TEST(LessonArea, ClearingCoversExactlyTheLowerBand)
{
    Canvas window(kSurfaceWidth, kSurfaceHeight, colour::black);
    clearLessonArea(window);
    EXPECT_EQ(window.pixel(0, 170), colour::btnFace);
    EXPECT_EQ(window.pixel(799, 479), colour::btnFace);
    EXPECT_EQ(window.pixel(400, 169), colour::black);
    EXPECT_EQ(window.pixel(400, 480), colour::black);
}

}  // namespace t1::testing
